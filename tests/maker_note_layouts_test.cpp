#include <gtest/gtest.h>

#include "byte_writer.h"
#include "io/file_stream.h"
#include "maker_test_support.h"
#include "makernote/maker_note_layouts.h"
#include "makernote/maker_note_reading.h"

namespace {

namespace mn = tiffwalker::makernote;
using tiffwalker::Maker;
using tiffwalker::ReadingCause;

TEST(MakerOf, MakeDecidesAndModelOnlyForRicoh) {
    EXPECT_EQ(mn::makerOf("NIKON CORPORATION", ""), Maker::Nikon);
    EXPECT_EQ(mn::makerOf("NIKON", "E950"), Maker::Unknown) << "Coolpix bodies record no count";
    EXPECT_EQ(mn::makerOf("nikon corporation", ""), Maker::Unknown) << "Nikon's Make is compared as it always was";
    EXPECT_EQ(mn::makerOf("SONY", "NEX-6"), Maker::Sony);
    EXPECT_EQ(mn::makerOf("PENTAX Corporation", "PENTAX K10D"), Maker::Pentax);
    EXPECT_EQ(mn::makerOf("RICOH IMAGING COMPANY, LTD.", "PENTAX K-3"), Maker::Pentax);
    EXPECT_EQ(mn::makerOf("RICOH IMAGING COMPANY, LTD.", "RICOH GR III"), Maker::Unknown);
    EXPECT_EQ(mn::makerOf("Canon", "Canon EOS R5"), Maker::Canon);
    EXPECT_EQ(mn::makerOf("FUJIFILM", "X-T3"), Maker::Fujifilm);
    EXPECT_EQ(mn::makerOf("OLYMPUS IMAGING CORP.", ""), Maker::Olympus);
    EXPECT_EQ(mn::makerOf("OM Digital Solutions", ""), Maker::Olympus);
    EXPECT_EQ(mn::makerOf("Panasonic", ""), Maker::Panasonic);
    EXPECT_EQ(mn::makerOf("LEICA CAMERA AG", ""), Maker::Leica);
    EXPECT_EQ(mn::makerOf("samsung", ""), Maker::Samsung);
    EXPECT_EQ(mn::makerOf("Apple", "iPhone 15"), Maker::Phone);
    EXPECT_EQ(mn::makerOf("", ""), Maker::Unknown);
}

TEST(LayoutFor, HeaderBytesChooseTheLayout) {
    const unsigned char sony[] = "SONY DSC \0\0\0";
    EXPECT_STREQ(mn::layoutFor(Maker::Sony, sony, 12)->name, "Sony");
    const unsigned char bare[] = {0x20, 0x00, 0x10, 0x01};
    EXPECT_STREQ(mn::layoutFor(Maker::Sony, bare, 4)->name, "Sony without header");
    const unsigned char aoc[] = {'A', 'O', 'C', 0, 'M', 'M'};
    EXPECT_EQ(mn::layoutFor(Maker::Pentax, aoc, 6)->directoryAt, 6u);
    EXPECT_EQ(mn::layoutFor(Maker::Pentax, bare, 4), nullptr);
    EXPECT_EQ(mn::layoutFor(Maker::Fujifilm, aoc, 6), nullptr);
    EXPECT_EQ(mn::layoutFor(Maker::Olympus, aoc, 6), nullptr);
    const unsigned char fuji[] = "FUJIFILM";
    EXPECT_EQ(mn::layoutFor(Maker::Fujifilm, fuji, 7), nullptr) << "a header cut short fits no layout";
}

TEST(MakersCount, MakersThatRecordNoneSaySo) {
    synthetic::MakerFile olympus;
    olympus.make = "OLYMPUS IMAGING CORP.";
    olympus.model = "E-M5";
    olympus.entries = {{0x0100, 7, 4, {1, 2, 3, 4}}};
    const auto outcome = testing_support::readMakerFile(olympus);
    EXPECT_EQ(outcome.cause, ReadingCause::MakerRecordsNone);
    EXPECT_EQ(outcome.maker, Maker::Olympus);
    EXPECT_EQ(outcome.result, "No Count");
}

// A maker note handed over as a TIFF structure of its own, as CR3 files keep
// Canon's: its header, its order, its offsets.
TEST(MakerNoteCount, StandaloneTiffStructure) {
    for (auto order : {synthetic::Order::Intel, synthetic::Order::Motorola}) {
        synthetic::Bytes info(0xc00, 0);
        bytes::storeNumber(info, 0xa95, 9876, 4, false);
        synthetic::Ifd ifd;
        ifd.entries = {synthetic::Entry::bytes(0x000d, 7, info)};
        synthetic::Bytes file(100, 0xEE);
        const synthetic::Bytes tiff = synthetic::buildTiff(ifd, order);
        file.insert(file.end(), tiff.begin(), tiff.end());

        tiffwalker::MemorySource source(file.data(), file.size());
        tiffwalker::FileStream stream;
        stream.open(source);
        mn::MakerNotePlace place;
        place.position = 100;
        place.length = static_cast<int64_t>(tiff.size());
        place.standaloneTiff = true;
        mn::Camera camera{"Canon", "Canon PowerShot G5 X Mark II", true};
        const auto reading = mn::readMakerNoteCount(stream, Maker::Canon, camera, place);
        ASSERT_TRUE(reading.hasCount());
        EXPECT_EQ(reading.count, 9876u);
        camera.fromCr3 = false;  // a JPEG's place, 0x293, holds zeros here
        EXPECT_EQ(mn::readMakerNoteCount(stream, Maker::Canon, camera, place).count, 0u);
    }
}

// Every number the directory reading takes from the file is bounded by it.
TEST(MakerNoteRecords, HostileDirectoriesAndValuesStayInsideTheFile) {
    auto hugeCount = synthetic::sonyFile("NEX-6", {synthetic::sonyCountBlock(0x32, 5)});
    synthetic::Bytes bytes = synthetic::makeMakerFile(hugeCount);
    // The directory's entry count (right after the 12-byte header) made 0xFFFF.
    const synthetic::Bytes header = {'S', 'O', 'N', 'Y', ' ', 'D', 'S', 'C', ' '};
    auto at = std::search(bytes.begin(), bytes.end(), header.begin(), header.end());
    ASSERT_NE(at, bytes.end());
    at[12] = 0xFF;
    at[13] = 0xFF;
    EXPECT_EQ(testing_support::readMakerBytes(bytes).cause, ReadingCause::MakerNoteDirectoryUnreadable);

    // The block's offset pointing past the end, and its count absurd.
    synthetic::Bytes far = synthetic::makeMakerFile(hugeCount);
    at = std::search(far.begin(), far.end(), header.begin(), header.end());
    bytes::storeNumber(far, static_cast<size_t>(at - far.begin()) + 12 + 2 + 8, 0xFFFFFFF0u, 4, false);
    EXPECT_EQ(testing_support::readMakerBytes(far).cause, ReadingCause::CountEntryMalformed);
    bytes::storeNumber(far, static_cast<size_t>(at - far.begin()) + 12 + 2 + 4, 0x7FFFFFFFu, 4, false);
    EXPECT_EQ(testing_support::readMakerBytes(far).cause, ReadingCause::CountEntryMalformed);

    // A file cut inside the maker note.
    synthetic::Bytes cut = synthetic::makeMakerFile(hugeCount);
    at = std::search(cut.begin(), cut.end(), header.begin(), header.end());
    cut.resize(static_cast<size_t>(at - cut.begin()) + 20);
    const auto outcome = testing_support::readMakerBytes(cut);
    EXPECT_EQ(outcome.status, tiffwalker::ReadingStatus::NoCount);
}

}  // namespace
