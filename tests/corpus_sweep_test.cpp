// Every file of the shared corpus (camera files and malformed files that once
// broke other metadata readers) read with the trace on and off: each reading
// ends, within a second in an optimised build, with one of the result texts or
// the raised error, leaves no record behind, and, for the camera files, gives
// the result their manifest records. Run under the sanitizers by the test
// command, this is also the leak and memory-error sweep of the corpus.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
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

using testing_support::kOptimised;
using testing_support::kSanitized;

// A second in an optimised build; with sanitizers or without optimisation a
// reading is several times slower, and only a hang should fail.
constexpr double kSecondsPerReading = kOptimised && !kSanitized ? 1.0 : 20.0;

struct Outcome {
    std::string result;  // the result text, or "ERROR:" and the error's message
    double seconds = 0;
    size_t recordsLeft = 0;
};

Outcome readFile(const fs::path& path, bool trace) {
    testing_support::CleanOptions clean;
    setOption(kTraceSwitch, trace);
    setOption(kProblemReportSwitch, trace);
    std::ostringstream output;
    setEngineOutput(output);
    Outcome outcome;
    const auto start = std::chrono::steady_clock::now();
    try {
        outcome.result = getImageShutterCount(path.string().c_str());
    } catch (CTiffwalkerException* error) {
        outcome.result = "ERROR:" + error->message();
        error->Delete();
    }
    outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    outcome.recordsLeft = recordCount();
    setEngineOutput(std::cout);
    return outcome;
}

bool isResultText(const std::string& result) {
    if (result == kNotReadable || result == kNoExifData || result == kNoCount) return true;
    if (result.rfind("ERROR:", 0) == 0) return true;
    // Otherwise it is the count: the text of a ShutterCount value.
    return !result.empty();
}

// file -> expected result text, from real/MANIFEST.tsv.
std::map<std::string, std::string> manifest(const fs::path& dir) {
    std::map<std::string, std::string> expected;
    std::ifstream in(dir / "MANIFEST.tsv");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        const size_t tab = line.find('\t');
        const size_t next = line.find('\t', tab + 1);
        if (tab == std::string::npos) continue;
        expected[line.substr(0, tab)] = line.substr(tab + 1, next - tab - 1);
    }
    return expected;
}

void sweep(const std::string& folder) {
    const fs::path corpus = testing_support::corpusDir();
    if (corpus.empty()) GTEST_SKIP() << "no shared corpus at " << FRAMETALLY_CORPUS_DIR << ": sweep skipped";
    const fs::path dir = corpus / folder;
    if (!fs::is_directory(dir)) GTEST_SKIP() << "no " << dir << " in the shared corpus: sweep skipped";
    const std::map<std::string, std::string> expected = manifest(dir);
    size_t files = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || name == "MANIFEST.tsv" || name == "README.md") continue;
        ++files;
        std::string results[2];
        for (bool trace : {false, true}) {
            SCOPED_TRACE(name + (trace ? ", trace on" : ", trace off"));
            const Outcome outcome = readFile(entry.path(), trace);
            results[trace] = outcome.result;
            EXPECT_TRUE(isResultText(outcome.result)) << outcome.result;
            EXPECT_LT(outcome.seconds, kSecondsPerReading);
            EXPECT_EQ(outcome.recordsLeft, 0u);
            const auto manifested = expected.find(name);
            if (manifested != expected.end()) {
                if (manifested->second.rfind("ERROR:", 0) == 0) {
                    EXPECT_EQ(outcome.result.rfind(manifested->second, 0), 0u) << outcome.result;
                } else {
                    EXPECT_EQ(outcome.result, manifested->second);
                }
            }
            // A camera file stays far inside the reading's bounds: none of
            // them comes near what a crafted file can reach.
            const ReadingBudget& budget = readingBudget();
            EXPECT_LT(budget.directoryRequests(), limits::kMaxDirectoryRequests / 8);
            EXPECT_LT(budget.valueBytesKept(), limits::kMaxKeptValueBytes / 64);
            EXPECT_LT(budget.valueBytesRead(), limits::kMaxReadValueBytes / 64);
            EXPECT_LT(budget.listingBytes(), limits::kMaxListingBytes / 16);
        }
        EXPECT_EQ(results[0], results[1]) << name << ": the trace changed the result";
    }
    EXPECT_GT(files, 0u) << dir << " holds no file";
}

TEST(CorpusSweep, CameraFilesReadAsTheirManifestSays) { sweep("real"); }

TEST(CorpusSweep, MalformedFilesEndCleanly) { sweep("malformed"); }

}  // namespace
