// Every input that once crashed or hung the reader, or tripped a sanitizer,
// kept as a small file in tests/regressions/ (made by our own code: the
// crafted-file builders or our fuzzers; see the README there), each with what
// proves the fault fixed. A file in that folder without an entry here fails.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

#include <tiffwalker/tiffwalker.h>
#include "context_free/engine_wide.h"
#include "reading/count_step.h"
#include "reading/image_reading.h"
#include "reading/original_jpeg_detection.h"
#include "test_support.h"
#include "walk/camera_identity.h"
#include "walk/first_directory.h"
#include "walk/ifd_walker.h"
#include "walk/reading_budget.h"
#include "walk/reading_limits.h"
#include "walk/value_extraction.h"

namespace {

namespace fs = std::filesystem;
using namespace tiffwalker;

const fs::path kRegressionDir = fs::path(__FILE__).parent_path() / "regressions";

struct Regression {
    const char* result;  // the result text, or "raised: " and the error's message
    // Checks the records of the reading (trace off) and what it spent.
    std::function<void(const RecordList&)> check;
};

const std::map<std::string, Regression>& regressions() {
    static const std::map<std::string, Regression> table = {
        // 100 SubIFD lists of 4K offsets naming IFD0 and 0 by turns: every
        // name was a call of the walker (at 16 MiB, 18 s). Now the reading's
        // directory requests end the lists.
        {"repeated-sub-ifd-lists.tif",
         {kNoCount,
          [](const RecordList& records) {
              EXPECT_EQ(records.size(), 3u + 100u);
              EXPECT_EQ(readingBudget().directoryRequests(), limits::kMaxDirectoryRequests);
          }}},
        // 100 SHORT lists of count 2^31 (no raw bytes): each read all the
        // values the file holds, 128 KiB, though a text shows at most 64 KiB
        // of them (at 16 MiB, 6400 such entries took 11 s). Now a list reads
        // only what its text can show.
        {"wrapped-short-lists.tif",
         {kNoCount,
          [](const RecordList& records) {
              ASSERT_EQ(records.size(), 3u + 100u);
              for (const CTagRecord& record : records) {
                  EXPECT_TRUE(record.rawData.empty());
                  EXPECT_LE(record.stringData.size(), limits::kMaxValueTextLength);
              }
              EXPECT_LE(readingBudget().valueBytesRead(), 100 * limits::kMaxValueTextLength);
          }}},
        // A UserComment of exactly its 8-byte prefix handed an empty buffer's
        // null data() to memchr (UndefinedBehaviorSanitizer: nonnull).
        {"user-comment-of-eight-bytes.tif",
         {kNoCount,
          [](const RecordList& records) {
              ASSERT_EQ(records.size(), 4u);
              EXPECT_EQ(records[3].ifde.tag, 0x9286);
              EXPECT_EQ(records[3].stringData, "");
          }}},
    };
    return table;
}

std::string readQuietly(const fs::path& path, bool trace, RecordList& records) {
    testing_support::CleanOptions clean;
    setOption(kTraceSwitch, trace);
    setOption(kProblemReportSwitch, trace);
    std::ostringstream discard;
    setEngineOutput(discard);
    std::string result;
    try {
        result = readImageRecords(path.string().c_str(), records);
    } catch (CTiffwalkerException* error) {
        result = "raised: " + error->message();
        error->Delete();
    }
    setEngineOutput(std::cout);
    return result;
}

TEST(Regressions, EveryKeptInputReadsAsFixed) {
    ASSERT_TRUE(fs::is_directory(kRegressionDir)) << kRegressionDir;
    size_t files = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(kRegressionDir)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || name == "README.md") continue;
        SCOPED_TRACE(name);
        ++files;
        const auto regression = regressions().find(name);
        ASSERT_NE(regression, regressions().end()) << "a regression file without its check";

        RecordList records;
        EXPECT_EQ(readQuietly(entry.path(), false, records), regression->second.result);
        EXPECT_EQ(recordCount(), 0u);
        regression->second.check(records);

        // With the trace and the problem report on, the same result.
        RecordList traced;
        EXPECT_EQ(readQuietly(entry.path(), true, traced), regression->second.result);
        EXPECT_EQ(traced.size(), records.size());
    }
    EXPECT_EQ(files, regressions().size()) << "a check without its regression file";
}

}  // namespace
