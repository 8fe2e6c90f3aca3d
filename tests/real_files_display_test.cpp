#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <tiffwalker/tiffwalker.h>
#include "test_support.h"

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
    const std::filesystem::path path = std::filesystem::path(FRAMETALLY_CORPUS_DIR) / "real" / "Nikon.nef";
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "corpus file missing: " << path;

    testing_support::CleanOptions clean;
    RecordList records;
    const std::string result = readImageRecords(path.string().c_str(), records);

    EXPECT_EQ(result, "3619");
    EXPECT_EQ(displayOf(records, kShutterCountTag), "3619");
    EXPECT_EQ(displayOf(records, 0x0084), "18-70 mm f/3.5-4.5");
    const CTagRecord* lens = firstWithTag(records, 0x0084);
    ASSERT_NE(lens, nullptr);
    EXPECT_EQ(lens->lensStringData, "18-70 mm f/3.5-4.5");
    EXPECT_EQ(displayOf(records, 0x0083), "G");
    // The file stores 1/20 s as 0.05 and orientation 1.
    EXPECT_EQ(displayOf(records, 0x829a), "1/20 seconds");
    EXPECT_EQ(displayOf(records, 0x0112), "Horizontal (normal)");
}

}  // namespace
}  // namespace tiffwalker
