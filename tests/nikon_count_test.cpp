// Nikon's two counts, and a count only from the maker note of the maker Make
// names: through ReadingContext::read and through getImageShutterCount, in
// both byte orders.
#include <gtest/gtest.h>

#include <optional>

#include "maker_test_support.h"
#include "test_support.h"

namespace {

using synthetic::Entry;
using synthetic::Order;
using testing_support::readMakerBytes;
using tiffwalker::CountKind;
using tiffwalker::Maker;
using tiffwalker::ReadingCause;
using tiffwalker::ReadingStatus;

constexpr uint16_t kShutterCount = 0x00a7;
constexpr uint16_t kMechanicalCount = 0x0037;

// What the context-free operation answers for these bytes.
std::string contextFreeResult(const synthetic::Bytes& bytes) {
    testing_support::TempDir dir;
    const testing_support::CapturedOutput quiet;
    return tiffwalker::getImageShutterCount(dir.write("file.nef", bytes).c_str());
}

// A TIFF file of this Make and Model whose EXIF directory holds exif and, when
// note is given, a Nikon maker note; ifd0Extra goes into IFD0.
synthetic::Bytes tiffFile(Order order, const std::string& make, const std::string& model, std::vector<Entry> ifd0Extra,
                          std::vector<Entry> exifEntries, std::shared_ptr<synthetic::MakerNote> note) {
    auto exif = std::make_shared<synthetic::Ifd>();
    exif->entries = std::move(exifEntries);
    if (note) exif->entries.push_back(Entry::nikonMakerNote(std::move(note)));
    synthetic::Ifd ifd0;
    ifd0.entries = {Entry::ascii(0x010f, make), Entry::ascii(0x0110, model)};
    for (Entry& entry : ifd0Extra) ifd0.entries.push_back(std::move(entry));
    ifd0.entries.push_back(Entry::pointer(0x8769, {exif}));
    return synthetic::buildTiff(ifd0, order);
}

std::shared_ptr<synthetic::MakerNote> nikonNote(Order order, std::vector<Entry> entries) {
    auto note = std::make_shared<synthetic::MakerNote>();
    note->order = order;
    note->ifd.entries = std::move(entries);
    return note;
}

struct Expected {
    const char* model;
    std::vector<std::pair<uint16_t, uint64_t>> counts;  // maker-note entries, LONG
    ReadingStatus status;
    const char* result;
    CountKind kind;
    std::optional<uint32_t> mechanical;
};

TEST(NikonCount, TwoCountsAndWhatTheCountCountsPerBody) {
    const Expected cases[] = {
        {"NIKON D850",
         {{kMechanicalCount, 3487}, {kShutterCount, 8541}},
         ReadingStatus::Count,
         "8541",
         CountKind::AllReleases,
         3487u},
        {"NIKON Z 6",
         {{kMechanicalCount, 700}, {kShutterCount, 700}},
         ReadingStatus::Count,
         "700",
         CountKind::AllReleases,
         700u},
        {"NIKON Z 9", {{kShutterCount, 52000}}, ReadingStatus::Count, "52000", CountKind::AllExposures, {}},
        {"NIKON 1 V3", {{kShutterCount, 910}}, ReadingStatus::Count, "910", CountKind::AllExposures, {}},
        {"NIKON D750", {{kShutterCount, 31000}}, ReadingStatus::Count, "31000", CountKind::MechanicalReleases, {}},
        // 0xFFFFF7FF: the body had no count to give.
        {"NIKON D850", {{kShutterCount, 0xFFFFF7FF}}, ReadingStatus::NoCount, "No Count", CountKind::None, {}},
        {"NIKON Z 6",
         {{kMechanicalCount, 0xFFFFF7FF}, {kShutterCount, 1200}},
         ReadingStatus::Count,
         "1200",
         CountKind::AllReleases,
         {}},
    };
    for (const Order fileOrder : {Order::Intel, Order::Motorola}) {
        for (const Order noteOrder : {Order::Intel, Order::Motorola}) {
            for (const Expected& expected : cases) {
                std::vector<Entry> entries;
                for (const auto& [tag, value] : expected.counts) entries.push_back(Entry::longs(tag, {value}));
                const auto bytes = tiffFile(fileOrder, "NIKON CORPORATION", expected.model, {}, {},
                                            nikonNote(noteOrder, std::move(entries)));
                const auto outcome = readMakerBytes(bytes);
                SCOPED_TRACE(std::string(expected.model) + " " + expected.result +
                             (fileOrder == Order::Intel ? " II" : " MM") + (noteOrder == Order::Intel ? "/II" : "/MM"));
                EXPECT_EQ(outcome.status, expected.status);
                EXPECT_EQ(outcome.result, expected.result);
                EXPECT_EQ(outcome.maker, Maker::Nikon);
                EXPECT_EQ(outcome.countKind, expected.kind);
                EXPECT_EQ(outcome.mechanicalCount, expected.mechanical);
                if (expected.status == ReadingStatus::NoCount) {
                    EXPECT_EQ(outcome.cause, ReadingCause::EmptyShutterCount);
                }
                EXPECT_EQ(contextFreeResult(bytes), expected.result) << "the same count for the first callers";
            }
        }
    }
}

TEST(NikonCount, ShortEntryKeepsTheCountItAlwaysGave) {
    const auto bytes = tiffFile(Order::Motorola, "NIKON CORPORATION", "NIKON D70", {}, {},
                                nikonNote(Order::Intel, {Entry::shorts(kShutterCount, {77})}));
    EXPECT_EQ(readMakerBytes(bytes).result, "77");
    EXPECT_EQ(contextFreeResult(bytes), "77");
}

// 0x00a7 is a tag of Nikon's maker note only: found anywhere else, it is no count.
TEST(NikonCount, CountOnlyFromTheMakerNoteOfTheMakerMakeNames) {
    for (const Order order : {Order::Intel, Order::Motorola}) {
        SCOPED_TRACE(order == Order::Intel ? "II" : "MM");
        const auto hasselblad =
            tiffFile(order, "Hasselblad", "X2D 100C", {Entry::longs(kShutterCount, {4321})}, {}, nullptr);
        auto outcome = readMakerBytes(hasselblad);
        EXPECT_EQ(outcome.status, ReadingStatus::NoCount);
        EXPECT_EQ(outcome.cause, ReadingCause::UnknownMaker);
        EXPECT_EQ(contextFreeResult(hasselblad), "No Count");

        const auto nikonWithoutNotes =
            tiffFile(order, "NIKON CORPORATION", "NIKON D70", {Entry::longs(kShutterCount, {4321})},
                     {Entry::longs(kShutterCount, {4322})}, nullptr);
        outcome = readMakerBytes(nikonWithoutNotes);
        EXPECT_EQ(outcome.status, ReadingStatus::NoCount);
        EXPECT_EQ(outcome.cause, ReadingCause::NoMakerNotes);
        EXPECT_EQ(contextFreeResult(nikonWithoutNotes), "No Count");

        // A Nikon maker note inside another maker's file is not read for a count.
        const auto foreignNote =
            tiffFile(order, "SONY", "ILCE-7M3", {}, {}, nikonNote(order, {Entry::longs(kShutterCount, {4323})}));
        outcome = readMakerBytes(foreignNote);
        EXPECT_EQ(outcome.status, ReadingStatus::NoCount);
        EXPECT_EQ(outcome.maker, Maker::Sony);
        EXPECT_EQ(contextFreeResult(foreignNote), "No Count");
    }
    // Another maker's own maker note holding an entry 0x00a7.
    auto fujifilm = synthetic::fujifilmFile(5);
    fujifilm.entries = {{kShutterCount, 4, 1, {0x21, 0x43, 0, 0}}};
    const auto outcome = testing_support::readMakerFile(fujifilm);
    EXPECT_EQ(outcome.status, ReadingStatus::NoCount);
    EXPECT_EQ(outcome.cause, ReadingCause::NoShutterCountEntry);
}

TEST(NikonCount, OlderFujifilmMakeIsFujifilm) {
    auto file = synthetic::fujifilmFile(321, "FinePix S5Pro");
    file.make = "FUJI PHOTO FILM CO., LTD.";
    const auto outcome = testing_support::readMakerFile(file);
    EXPECT_EQ(outcome.maker, Maker::Fujifilm);
    EXPECT_EQ(outcome.result, "321");
    EXPECT_EQ(outcome.countKind, CountKind::ImageCount);
}

}  // namespace
