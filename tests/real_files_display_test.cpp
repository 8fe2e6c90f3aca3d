#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "test_support.h"
#include "tiffwalker.h"

namespace tiffwalker {
namespace {

const CTagRecord* firstWithTag(const RecordList& records, uint16_t tag) {
    for (const CTagRecord& record : records) {
        if (record.ifde.tag == tag) return &record;
    }
    return nullptr;
}

std::string displayOf(const RecordList& records, uint16_t tag) {
    const CTagRecord* record = firstWithTag(records, tag);
    return record != nullptr ? record->displayStringData : "<no record>";
}

TEST(RealFilesDisplay, NikonD70Nef) {
    const std::filesystem::path path =
        std::filesystem::path(FRAMETALLY_CORPUS_DIR) / "real" / "Nikon.nef";
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "corpus file missing: " << path;

    testing_support::CleanOptions clean;
    RecordList records;
    const std::string result = readImageRecords(path.c_str(), records);

    EXPECT_EQ(result, "3619");
    EXPECT_EQ(displayOf(records, kShutterCountTag), "3619");
    EXPECT_EQ(displayOf(records, 0x0084), "18-70 mm f/3.5-4.5");
    const CTagRecord* lens = firstWithTag(records, 0x0084);
    ASSERT_NE(lens, nullptr);
    EXPECT_EQ(lens->lensStringData, "18-70 mm f/3.5-4.5");
    EXPECT_EQ(displayOf(records, 0x0083), "G");
    EXPECT_TRUE(std::regex_match(displayOf(records, 0x829a), std::regex("1/[1-9][0-9]* seconds")))
        << displayOf(records, 0x829a);
    EXPECT_TRUE(std::regex_match(displayOf(records, 0x0112),
                                 std::regex("Horizontal \\(normal\\)|Rotated .*|Mirrored .*")))
        << displayOf(records, 0x0112);
}

}  // namespace
}  // namespace tiffwalker
