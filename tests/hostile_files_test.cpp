// Crafted hostile files: loops, deep and wide directory trees, every entry
// pointing at one large value, counts near 2^32, long texts looked up for
// every entry. Each must be read to its end within the reader's bounds, and,
// in an optimised build without sanitizers, a file of 16 MiB in under a
// second and 256 MiB.
#ifndef _WIN32
#include <fcntl.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <string>
#include <string_view>

#include <tiffwalker/tiffwalker.h>
#include "context_free/engine_wide.h"
#include "hostile_files.h"
#include "name_tables.h"
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

using namespace tiffwalker;
using testing_support::CleanOptions;
using testing_support::TempDir;

using testing_support::kOptimised;
using testing_support::kSanitized;

// Time and memory mean something only in an optimised build without
// sanitizers; the others read smaller files of the same structure.
constexpr bool kMeasurable = kOptimised && !kSanitized;
constexpr size_t kMiB = 1024 * 1024;
constexpr size_t kWorstCaseSize = kMeasurable ? 16 * kMiB : 1 * kMiB;

// Counts what the engine writes, and how often it writes each of a few
// texts (in one piece, as the walker writes its banners), keeping nothing: a
// trace of a hostile file can run to tens of megabytes.
class CountingBuffer : public std::streambuf {
public:
    size_t count = 0;
    std::map<std::string, size_t, std::less<>> pieces;

protected:
    int overflow(int c) override {
        ++count;
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* text, std::streamsize n) override {
        count += static_cast<size_t>(n);
        const auto piece = pieces.find(std::string_view(text, static_cast<size_t>(n)));
        if (piece != pieces.end()) ++piece->second;
        return n;
    }
};

class DiscardedOutput {
public:
    explicit DiscardedOutput(std::initializer_list<const char*> watched = {}) {
        for (const char* text : watched) buffer_.pieces[text] = 0;
        setEngineOutput(stream_);
    }
    ~DiscardedOutput() { setEngineOutput(std::cout); }
    size_t written() const { return buffer_.count; }
    size_t times(const std::string& piece) const { return buffer_.pieces.find(piece)->second; }

private:
    CountingBuffer buffer_;
    std::ostream stream_{&buffer_};
};

constexpr const char* kExitBanner = "\nExiting dumpImageFileDirectory: ";
constexpr const char* kSubIfdBanner = "================Starting SUB_IFD";
constexpr const char* kCutNote = "\n(listing cut short: the listings of this file have reached their size limit)\n";

struct Reading {
    std::string result;
    RecordList records;
    size_t written = 0;
};

Reading readWith(const std::string& path, bool trace) {
    CleanOptions clean;
    setOption(kTraceSwitch, trace);
    setOption(kProblemReportSwitch, trace);
    DiscardedOutput output;
    Reading reading;
    reading.result = readImageRecords(path.c_str(), reading.records);
    reading.written = output.written();
    return reading;
}

struct WorstCase {
    const char* name;
    std::function<hostile::Bytes(size_t)> build;
    const char* result;
};

const WorstCase kWorstCases[] = {
    {"SameLargeValue", hostile::sameLargeValue, kNoCount},
    {"WrappedListCounts", hostile::wrappedListCounts, kNoCount},
    {"CountsNear2To32", hostile::countsNear2To32, kNoCount},
    {"DeepAndWideSubIfds", hostile::deepAndWideSubIfds, kNoCount},
    {"RepeatedSubIfdLists", hostile::repeatedSubIfdLists, kNoCount},
    {"LongLookupTexts", hostile::longLookupTexts, kNoCount},
    {"MakerNoteLoops", [](size_t) { return hostile::makerNoteLoops(); }, "4242"},
};

// Test names and failure messages show the case by its name.
void PrintTo(const WorstCase& worstCase, std::ostream* out) { *out << worstCase.name; }

class WorstCases : public ::testing::TestWithParam<WorstCase> {};

std::string caseName(const ::testing::TestParamInfo<WorstCase>& info) { return info.param.name; }

// What every record of a reading keeps stays within the bounds, with the
// trace on or off, and the trace changes nothing of the result.
TEST_P(WorstCases, RecordsStayWithinTheBounds) {
    TempDir dir;
    const std::string path = dir.write("file", GetParam().build(kWorstCaseSize));
    for (bool trace : {false, true}) {
        SCOPED_TRACE(trace ? "trace on" : "trace off");
        const Reading reading = readWith(path, trace);
        EXPECT_EQ(reading.result, GetParam().result);
        EXPECT_EQ(recordCount(), 0u);
        EXPECT_LE(reading.records.size(), limits::kMaxRecords);
        // Texts made from the entry's own value field are never refused; none
        // is longer than 16 characters ("255 255 255 255").
        const size_t kLongestSmallText = 16;
        size_t kept = 0;
        for (const CTagRecord& record : reading.records) {
            EXPECT_LE(record.stringData.size(), limits::kMaxValueTextLength);
            kept += record.rawData.size() + record.stringData.size();
        }
        EXPECT_LE(kept, limits::kMaxKeptValueBytes + reading.records.size() * kLongestSmallText);
    }
}

// Measured in a child process, with Linux's accounts of memory: not on Windows.
#ifndef _WIN32
struct Measurement {
    double seconds = 0;     // wall-clock time
    double cpuSeconds = 0;  // processor time, user and system
    long peakKiB = 0;       // the reading's own peak, above the process before it
    bool peakIsDelta = false;
    char result[32] = {};
};

long statusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const size_t length = std::strlen(field);
    while (std::getline(status, line)) {
        if (line.compare(0, length, field) == 0) return std::atol(line.c_str() + length + 1);
    }
    return -1;
}

double cpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Reads the file in a child process, so that the peak resident size is the
// reading's alone: the child gives the memory its heap holds free back to the
// system (or the reading would reuse it unseen), resets its high-water mark
// (Linux clear_refs 5) and reports how far the reading raised it. Where the
// mark cannot be reset, the child's whole peak counts, which only overstates.
Measurement measureReading(const std::string& path, bool trace) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        Measurement m;
        std::ofstream devNull("/dev/null");
        setEngineOutput(devNull);
        resetOptions();
        setOption(kTraceSwitch, trace);
        setOption(kProblemReportSwitch, trace);
        ::malloc_trim(0);
        const int clear = ::open("/proc/self/clear_refs", O_WRONLY);
        m.peakIsDelta = clear >= 0 && ::write(clear, "5", 1) == 1;
        if (clear >= 0) ::close(clear);
        const long before = m.peakIsDelta ? statusKiB("VmRSS:") : 0;
        const double cpuStart = cpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        try {
            std::snprintf(m.result, sizeof m.result, "%s", getImageShutterCount(path.c_str()).c_str());
        } catch (CTiffwalkerException* error) {
            error->Delete();
            std::snprintf(m.result, sizeof m.result, "(raised)");
        }
        m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        m.cpuSeconds = cpuSeconds() - cpuStart;
        if (m.peakIsDelta) {
            m.peakKiB = statusKiB("VmHWM:") - before;
        } else {
            rusage usage{};
            ::getrusage(RUSAGE_SELF, &usage);
            m.peakKiB = usage.ru_maxrss;
        }
        const ssize_t ignored = ::write(pipeFds[1], &m, sizeof m);
        (void)ignored;
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    Measurement m;
    const bool got = child > 0 && ::read(pipeFds[0], &m, sizeof m) == static_cast<ssize_t>(sizeof m);
    ::close(pipeFds[0]);
    int status = 0;
    if (child > 0) ::waitpid(child, &status, 0);
    if (!got) m.seconds = -1;
    return m;
}

TEST_P(WorstCases, ReadsIn16MiBUnderASecondAnd256MiB) {
    if (!kMeasurable) {
        GTEST_SKIP() << "time and memory are measured only in an optimised build without sanitizers";
    }
    TempDir dir;
    const std::string path = dir.write("file", GetParam().build(kWorstCaseSize));
    for (bool trace : {false, true}) {
        SCOPED_TRACE(trace ? "trace on" : "trace off");
        const Measurement m = measureReading(path, trace);
        ASSERT_GE(m.seconds, 0) << "the measuring child process failed";
        std::cout << "[ measured ] " << GetParam().name << (trace ? ", trace on: " : ": ") << m.cpuSeconds
                  << " s processor time (" << m.seconds << " s elapsed), " << m.peakKiB / 1024 << " MiB"
                  << (m.peakIsDelta ? "" : " (whole process)") << "\n";
        EXPECT_EQ(std::string(m.result), GetParam().result);
        // Processor time, not elapsed time: this machine is shared, and a
        // reading waits for no input (the file is in the page cache).
        EXPECT_LT(m.cpuSeconds, 1.0);
        EXPECT_LT(m.peakKiB, 256 * 1024);
    }
}

#endif

INSTANTIATE_TEST_SUITE_P(HostileFiles, WorstCases, ::testing::ValuesIn(kWorstCases), caseName);

TEST(HostileFiles, NestingStopsAtTheDepthLimit) {
    TempDir dir;
    static_assert(limits::kMaxDirectoryDepth == 8, "the chains below are built for a depth of 8");
    // Each directory of a chain has two entries; the ninth is refused.
    for (const auto& [length, records] : {std::pair{7u, 3u + 14u}, {8u, 3u + 16u}, {9u, 3u + 16u}, {30u, 3u + 16u}}) {
        SCOPED_TRACE(length);
        const Reading reading = readWith(dir.write("chain", hostile::subIfdChain(length)), false);
        EXPECT_EQ(reading.result, kNoCount);
        EXPECT_EQ(reading.records.size(), records);
    }
}

TEST(HostileFiles, LoopsThroughTheMakerNotesWalkEachDirectoryOnce) {
    TempDir dir;
    const std::string path = dir.write("loops.nef", hostile::makerNoteLoops());
    for (bool trace : {false, true}) {
        const Reading reading = readWith(path, trace);
        EXPECT_EQ(reading.result, "4242");
        size_t ifd0 = 0, exif = 0, makerNotes = 0;
        for (const CTagRecord& record : reading.records) {
            ifd0 += record.iIFDType == kIfd0;
            exif += record.iIFDType == kIfdExif;
            makerNotes += record.iIFDType == kMakerNotes;
        }
        EXPECT_EQ(ifd0, 4u);
        EXPECT_EQ(exif, 3u);
        EXPECT_EQ(makerNotes, 5u);
        EXPECT_EQ(reading.records.size(), 3u + 12u);
    }
}

// A SubIFD list naming one directory over and over once made a 16 MiB file
// take 18 s: every name was a call, refused or not. Now the requests of one
// reading are bounded, and so are the trace's listings of them.
TEST(HostileFiles, RepeatedSubIfdListsEndAtTheRequestBudget) {
    TempDir dir;
    const std::string path = dir.write("lists.tif", hostile::repeatedSubIfdLists(64 * 1024));
    CleanOptions clean;
    setOption(kTraceSwitch, true);
    DiscardedOutput output({kExitBanner, kSubIfdBanner});
    EXPECT_EQ(getImageShutterCount(path.c_str()), kNoCount);
    EXPECT_EQ(readingBudget().directoryRequests(), limits::kMaxDirectoryRequests);
    EXPECT_EQ(readingBudget().directoriesWalked(), 1u);
    // IFD0 is the first request; all the others come from the lists, which
    // name IFD0 (refused at once) and 0 (no directory, but its exit banner)
    // by turns.
    EXPECT_EQ(output.times(kSubIfdBanner), static_cast<size_t>(limits::kMaxDirectoryRequests - 1));
    EXPECT_EQ(output.times(kExitBanner), static_cast<size_t>(limits::kMaxDirectoryRequests / 2));
}

// The trace lists the whole record list on entering and leaving each
// directory; for 6400 records of 64 directories that would be gigabytes.
TEST(HostileFiles, TraceListingsAreCutShortAtTheirLimit) {
    TempDir dir;
    const std::string path = dir.write("wide.tif", hostile::sameLargeValue(kWorstCaseSize));
    CleanOptions clean;
    setOption(kTraceSwitch, true);
    size_t written = 0;
    {
        DiscardedOutput output({kExitBanner, kCutNote});
        EXPECT_EQ(getImageShutterCount(path.c_str()), kNoCount);
        written = output.written();
        EXPECT_GT(output.times(kCutNote), 0u);
        // The walk goes on, and so do its banners: only the listings are cut.
        EXPECT_EQ(output.times(kExitBanner), 1u + hostile::kWideDirectories);
    }
    EXPECT_LE(readingBudget().listingBytes(), limits::kMaxListingBytes);
    // Besides the listings, the trace shows each entry once: its labels, its
    // texts and raw bytes (within the kept bytes) and its display text (about
    // as long as its value text).
    const size_t perEntry = 4096;
    EXPECT_LE(written, limits::kMaxListingBytes + 2 * limits::kMaxKeptValueBytes + limits::kMaxRecords * perEntry);

    const Reading reading = readWith(path, true);
    EXPECT_EQ(reading.records.size(), 3u + 1u + hostile::kWideDirectories * hostile::kWideEntries);
}

// A count near 2^32 whose size product wraps below 5 keeps no raw bytes, but
// its text is still read from the value's position, as far as the text may
// reach, and no further than the file.
TEST(HostileFiles, WrappedCountsReadTheirListsUpToTheTextLimit) {
    hostile::CraftedFile file(64 * 1024);
    file.tiffHeader();
    file.directory(8, {{0x1000, hostile::kShort, 0x80000000u, 4096},
                       {0x1001, hostile::kRational, 0x20000000u, 16384},
                       {0x1002, hostile::kShort, 0xffffffffu, 65536 - 4}});
    for (uint32_t i = 0; i < 4096; ++i) file.put16(4096 + 2 * i, static_cast<uint16_t>(i + 1));
    for (uint32_t i = 0; i < 1024; ++i) {
        file.put32(16384 + 8 * i, i + 1);
        file.put32(16384 + 8 * i + 4, i + 2);
    }
    file.put16(65536 - 4, 7);
    file.put16(65536 - 2, 9);
    TempDir dir;
    const Reading reading = readWith(dir.write("wrapped.tif", file.bytes()), false);
    ASSERT_EQ(reading.records.size(), 6u);
    const CTagRecord& shorts = reading.records[3];
    EXPECT_TRUE(shorts.rawData.empty());
    EXPECT_EQ(shorts.stringData.compare(0, 12, "1 2 3 4 5 6 "), 0);
    EXPECT_LE(shorts.stringData.size(), limits::kMaxValueTextLength);
    EXPECT_GT(shorts.stringData.size(), limits::kMaxValueTextLength - 8);
    const CTagRecord& rationals = reading.records[4];
    EXPECT_TRUE(rationals.rawData.empty());
    EXPECT_EQ(rationals.stringData.compare(0, 18, "0.500000 0.666667 "), 0);  // 1/2, 2/3
    EXPECT_LE(rationals.stringData.size(), limits::kMaxValueTextLength);
    // Past the end of the file the values read as 0, and only as many as the
    // file could hold are read at all.
    const CTagRecord& atTheEnd = reading.records[5];
    EXPECT_EQ(atTheEnd.stringData.compare(0, 8, "7 9 0 0 "), 0);
    EXPECT_LE(atTheEnd.stringData.size(), limits::kMaxValueTextLength);
}

}  // namespace
