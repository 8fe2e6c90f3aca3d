#include <gtest/gtest.h>

#include "maker_test_support.h"
#include "makernote/sony_models.h"
#include "test_support.h"

namespace {

using synthetic::Order;
using testing_support::readMakerFile;
using tiffwalker::CountKind;
using tiffwalker::Maker;
using tiffwalker::ReadingCause;
using tiffwalker::ReadingStatus;
namespace mn = tiffwalker::makernote;

tiffwalker::ReadingOutcome readSony(const std::string& model, size_t at, uint32_t word, bool fiveZeros = false,
                                    bool header = true, Order order = Order::Intel) {
    return readMakerFile(
        synthetic::sonyFile(model, {synthetic::sonyCountBlock(at, word, 0x200, fiveZeros)}, header, order));
}

TEST(SonyCipher, DecipheringUndoesTheCubeAndKeepsTheFixedBytes) {
    for (unsigned b = 0; b < 256; ++b) {
        const auto enciphered = synthetic::sonyEnciphered({static_cast<uint8_t>(b)});
        EXPECT_EQ(mn::sonyDeciphered(enciphered[0]), b) << b;
    }
    for (unsigned fixed : {0u, 1u, 82u, 83u, 84u, 165u, 166u, 167u, 248u, 249u, 255u}) {
        EXPECT_EQ(mn::sonyDeciphered(static_cast<uint8_t>(fixed)), fixed);
    }
}

TEST(SonyModels, WholeNamesDecideTheTableNeverPrefixes) {
    EXPECT_EQ(mn::sonyTableOf("NEX-6"), mn::SonyTable::A);
    EXPECT_EQ(mn::sonyTableOf("ILCE-6000"), mn::SonyTable::A);
    EXPECT_EQ(mn::sonyTableOf("SLT-A77V"), mn::SonyTable::A);
    EXPECT_EQ(mn::sonyTableOf("ILCA-68"), mn::SonyTable::A);
    EXPECT_EQ(mn::sonyTableOf("ILCE-7C"), mn::SonyTable::B);
    EXPECT_EQ(mn::sonyTableOf("ILCE-7CM2"), mn::SonyTable::D) << "starts like ILCE-7C";
    EXPECT_EQ(mn::sonyTableOf("ILCE-7CR"), mn::SonyTable::D);
    EXPECT_EQ(mn::sonyTableOf("ILCE-7M3A"), mn::SonyTable::B) << "an A variant";
    EXPECT_EQ(mn::sonyTableOf("ILCE-7M4"), mn::SonyTable::C);
    EXPECT_EQ(mn::sonyTableOf("ILCE-1"), mn::SonyTable::C);
    EXPECT_EQ(mn::sonyTableOf("ILCE-1M2"), mn::SonyTable::DWhenFiveZeros);
    EXPECT_EQ(mn::sonyTableOf("ILCE-9M3"), mn::SonyTable::None);
    EXPECT_EQ(mn::sonyTableOf("ZV-E10"), mn::SonyTable::B);
    EXPECT_EQ(mn::sonyTableOf("ZV-E10M2"), mn::SonyTable::None);
    EXPECT_EQ(mn::sonyTableOf("DSC-RX100M7"), mn::SonyTable::None);
    EXPECT_EQ(mn::sonyTableOf("ILME-FX6"), mn::SonyTable::Unknown);
    EXPECT_EQ(mn::sonyTableOf("ILCE-7M9"), mn::SonyTable::Unknown) << "a later body of a family is no guess";
    EXPECT_EQ(mn::sonyTableOf("NEX-6 "), mn::SonyTable::Unknown) << "whole names only";
    EXPECT_EQ(mn::sonyTableOf(""), mn::SonyTable::Unknown);
    EXPECT_EQ(mn::sonyTableOf("DSLR-A500"), mn::SonyTable::OlderDslrA450);
}

TEST(SonyCount, EachTableReadsItsPlaceInBothByteOrders) {
    struct Case {
        const char* model;
        size_t at;
        CountKind kind;
    };
    for (const Case& c :
         {Case{"NEX-6", 0x32, CountKind::AllExposures}, Case{"ILCE-7M3", 0x3a, CountKind::AllExposures},
          Case{"ILCE-7RM5", 0x3a, CountKind::AllExposures}, Case{"ILCE-7CM2", 0x0a, CountKind::MechanicalReleases}}) {
        for (Order order : {Order::Intel, Order::Motorola}) {
            const auto outcome = readSony(c.model, c.at, 0x00012345, false, true, order);
            EXPECT_EQ(outcome.result, std::to_string(0x12345)) << c.model;
            EXPECT_EQ(outcome.maker, Maker::Sony);
            EXPECT_EQ(outcome.model, c.model);
            EXPECT_EQ(outcome.countKind, c.kind) << c.model;
        }
    }
}

TEST(SonyCount, ModelSharingAPrefixReadsItsOwnTable) {
    // The count word of table D at 0x0a; table B's place (0x3a) holds another.
    auto block = synthetic::sonyCountBlock(0x0a, 249044);
    const auto outcome = readMakerFile(synthetic::sonyFile("ILCE-7CM2", {block}));
    EXPECT_EQ(outcome.result, "249044");
    EXPECT_NE(readMakerFile(synthetic::sonyFile("ILCE-7C", {block})).result, "249044");
}

TEST(SonyCount, UnknownModelIsRefusedAndNamed) {
    const auto outcome = readSony("ILCE-7M9", 0x32, 100);
    EXPECT_EQ(outcome.status, ReadingStatus::NoCount);
    EXPECT_EQ(outcome.cause, ReadingCause::UnknownModel);
    EXPECT_EQ(outcome.model, "ILCE-7M9");
}

TEST(SonyCount, FiveZeroBytesRuleDecidesTableDForTheNewestBodies) {
    EXPECT_EQ(readSony("ILCE-7M5", 0x0a, 777, true).result, "777");
    EXPECT_EQ(readSony("ILCE-7M5", 0x0a, 777, false).cause, ReadingCause::UnknownModel);
    EXPECT_EQ(readSony("ILCE-1M2", 0x0a, 778, true).result, "778");
}

TEST(SonyCount, TopByteOfTheCountWordRefusesADisplacedMakerNote) {
    const auto outcome = readSony("ILCE-6000", 0x32, 0x13001234);
    EXPECT_EQ(outcome.status, ReadingStatus::NoCount);
    EXPECT_EQ(outcome.cause, ReadingCause::DisplacedMakerNote);
    EXPECT_EQ(readSony("ILCE-6000", 0x32, 0x00FFFFFF).result, "16777215") << "the largest plausible count";
}

TEST(SonyCount, BodiesThatRecordNoneSayTheModelRecordsNone) {
    EXPECT_EQ(readSony("DSC-RX100M7", 0x32, 5).cause, ReadingCause::ModelRecordsNone);
    EXPECT_EQ(readSony("ILCE-9M3", 0x3a, 5).cause, ReadingCause::ModelRecordsNone);
}

TEST(SonyCount, MakerNoteWithoutHeaderOfRawDerivedFiles) {
    EXPECT_EQ(readSony("ILCE-7M3", 0x3a, 4321, false, false).result, "4321");
    EXPECT_EQ(readSony("ILCE-7M3", 0x3a, 4321, false, false, Order::Motorola).result, "4321");
}

TEST(SonyCount, BlockTooShortOrMissing) {
    auto shortBlock = synthetic::sonyCountBlock(0, 0, 0x30);
    EXPECT_EQ(readMakerFile(synthetic::sonyFile("NEX-6", {shortBlock})).cause, ReadingCause::CountEntryMalformed);
    EXPECT_EQ(readMakerFile(synthetic::sonyFile("NEX-6", {{0x0102, 4, 1, {1, 0, 0, 0}}})).cause,
              ReadingCause::NoShutterCountEntry);
}

TEST(SonyCount, OlderDslrsKeepTheCountPlainInTag0x0020) {
    // The 19,154-byte form: at 0x846.
    synthetic::Bytes block(19154, 0);
    bytes::storeNumber(block, 0x846, 3210, 4, false);
    EXPECT_EQ(readMakerFile(synthetic::sonyFile("DSLR-A900", {{0x0020, 7, 0, block}})).result, "3210");
    // The indexed form: sub-block 0x0201 at 0x40, the count at 0x125 (0x14a
    // for the A450, A500 and A550).
    for (const char* model : {"DSLR-A700", "DSLR-A500"}) {
        const size_t at = std::string(model) == "DSLR-A500" ? 0x14a : 0x125;
        synthetic::Bytes indexed(0x400, 0);
        bytes::storeNumber(indexed, 0, 2, 2, false);
        bytes::storeNumber(indexed, 2, 0x0101, 2, false);
        bytes::storeNumber(indexed, 4, 0x10, 2, false);
        bytes::storeNumber(indexed, 6, 0x0201, 2, false);
        bytes::storeNumber(indexed, 8, 0x40, 2, false);
        bytes::storeNumber(indexed, 0x40 + at, 4567, 4, false);
        EXPECT_EQ(readMakerFile(synthetic::sonyFile(model, {{0x0020, 7, 0, indexed}})).result, "4567") << model;
    }
}

TEST(SonyCount, ContextFreeReadingStaysNikonOnly) {
    testing_support::TempDir dir;
    const std::string path = dir.write(
        "sony.jpg", synthetic::makeMakerFile(synthetic::sonyFile("NEX-6", {synthetic::sonyCountBlock(0x32, 54)})));
    EXPECT_EQ(tiffwalker::getImageShutterCount(path.c_str()), "No Count");
    tiffwalker::ReadingContext context;
    EXPECT_EQ(context.read(path.c_str()).result, "54");
}

}  // namespace
