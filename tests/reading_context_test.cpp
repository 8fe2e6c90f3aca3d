// Readings in contexts: each starts afresh whatever was read before it, reads
// from memory as from disk, and runs beside others on separate threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <thread>

#include <tiffwalker/tiffwalker.h>
#include "readout.h"
#include "synthetic_files.h"
#include "test_support.h"

using namespace tiffwalker;
using testing_support::Bytes;
using testing_support::ByteWriter;
using testing_support::TempDir;
namespace fs = std::filesystem;

namespace {

// IFD0 names a D100 and points with entry 0x0011 at a thumbnail directory
// whose ShutterCount entry holds 999. That directory's offset counts from the
// maker-note header, which this file does not have: it must count from 0.
Bytes thumbnailCountFile() {
    ByteWriter w(false);
    w.header(8);
    w.u16(2).entry(tags::kModel, kAscii, 11, 38).entry(tags::kThumbnailImageIfdOffset, kLong, 1, 50).u32(0);
    w.text("NIKON D100").u8(0).fill(1);  // 38..49
    w.u16(1).entry(tags::kShutterCount, kLong, 1, 999).u32(0);
    return w.bytes();
}

Bytes cameraNef(synthetic::Order order) {
    synthetic::CameraFile camera;
    camera.order = order;
    camera.shutterCount = 4242;
    return synthetic::makeNef(camera);
}

// Everything a reading shows that could carry over from another: its outcome
// and its full listing.
struct Seen {
    ReadingOutcome outcome;
    std::string listing;
};

Seen readTraced(ReadingContext& context, const std::string& path) {
    std::ostringstream listing;
    context.setOutput(listing);
    context.setOption(kTraceSwitch, true);
    Seen seen{context.read(path.c_str()), {}};
    seen.listing = listing.str();
    // The listing's stream ends here; later readings write nowhere.
    static std::ostream discarded(nullptr);
    context.setOutput(discarded);
    return seen;
}

void expectSame(const Seen& alone, const Seen& after, const std::string& what) {
    EXPECT_EQ(after.outcome.status, alone.outcome.status) << what;
    EXPECT_EQ(after.outcome.cause, alone.outcome.cause) << what;
    EXPECT_EQ(after.outcome.result, alone.outcome.result) << what;
    EXPECT_EQ(after.outcome.message, alone.outcome.message) << what;
    EXPECT_TRUE(after.listing == alone.listing) << what << ": the listing differs from the file's listing alone";
}

std::vector<std::string> realCorpusFiles() {
    std::vector<std::string> files;
    const fs::path corpus = testing_support::corpusDir();
    if (corpus.empty() || !fs::is_directory(corpus / "real")) return files;
    for (const auto& entry : fs::directory_iterator(corpus / "real")) {
        if (entry.path().extension() != ".tsv") files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

TEST(ReadingContext, ThumbnailCountDoesNotDependOnTheFileReadBefore) {
    TempDir dir;
    const std::string crafted = dir.write("d100.tif", thumbnailCountFile());
    const std::string intel = dir.write("intel.nef", cameraNef(synthetic::Order::Intel));
    const std::string motorola = dir.write("motorola.nef", cameraNef(synthetic::Order::Motorola));
    // The entry found in the thumbnail directory: read at the same place
    // whatever came before, and no count (it is not in Nikon's maker notes).
    RecordList records;
    const auto thumbnailEntry = [&records]() -> std::string {
        for (const CTagRecord& record : records) {
            if (record.ifde.tag == tags::kShutterCount && record.iIFDType == kThumbIfd) return record.stringData;
        }
        return "none";
    };

    EXPECT_EQ(readImageRecords(crafted.c_str(), records), "No Count");
    EXPECT_EQ(thumbnailEntry(), "999") << "alone";
    for (const std::string& before : {intel, motorola, crafted}) {
        EXPECT_EQ(getImageShutterCount(before.c_str()).empty(), false);
        EXPECT_EQ(readImageRecords(crafted.c_str(), records), "No Count");
        EXPECT_EQ(thumbnailEntry(), "999") << "after " << before;
    }
    EXPECT_EQ(getImageShutterCount(intel.c_str()), "4242") << "and the camera file after it";

    ReadingContext context;
    for (const std::string& path : {crafted, motorola, crafted, intel, crafted}) {
        const ReadingOutcome outcome = context.read(path.c_str(), &records);
        EXPECT_EQ(outcome.result, path == crafted ? "No Count" : "4242") << path;
        if (path == crafted) {
            EXPECT_EQ(thumbnailEntry(), "999") << path;
        }
    }
}

TEST(ReadingContext, ShortFileDoesNotLeaveItsByteOrderToTheNext) {
    TempDir dir;
    // "MM" and nothing else: the header read sets no order, but the JPEG test
    // reads on; then a little-endian file must read as little-endian.
    const std::string shortFile = dir.write("short.tif", {'M', 'M', 0, 42, 0, 0});
    const std::string crafted = dir.write("d100.tif", thumbnailCountFile());
    ReadingContext context;
    const Seen alone = readTraced(context, crafted);
    context.read(shortFile.c_str());
    expectSame(alone, readTraced(context, crafted), "after a short big-endian file");
}

TEST(ReadingContext, CorpusFilesReadInABatchGiveWhatTheyGiveAlone) {
    const std::vector<std::string> files = realCorpusFiles();
    if (files.empty()) GTEST_SKIP() << "no shared corpus at " << FRAMETALLY_CORPUS_DIR << ": batch orders not checked";
    std::vector<Seen> alone;
    for (const std::string& path : files) {
        ReadingContext fresh;
        alone.push_back(readTraced(fresh, path));
    }
    ReadingContext batch;
    for (size_t i = 0; i < files.size(); ++i) expectSame(alone[i], readTraced(batch, files[i]), "forwards " + files[i]);
    for (size_t i = files.size(); i-- > 0;) expectSame(alone[i], readTraced(batch, files[i]), "backwards " + files[i]);
}

TEST(ReadingContext, FileInMemoryReadsAsOnDisk) {
    TempDir dir;
    for (const auto order : {synthetic::Order::Intel, synthetic::Order::Motorola}) {
        synthetic::CameraFile camera;
        camera.order = order;
        camera.fullEntrySet = true;
        const Bytes bytes = synthetic::makeJpeg(camera, order == synthetic::Order::Intel);
        const std::string path = dir.write("camera.jpg", bytes);

        ReadingContext context;
        RecordList fromDisk, fromMemory;
        const ReadingOutcome disk = context.read(path.c_str(), &fromDisk);
        MemorySource source(bytes.data(), bytes.size());
        const ReadingOutcome memory = context.read(source, path.c_str(), &fromMemory);
        EXPECT_EQ(memory.result, disk.result);
        EXPECT_EQ(memory.result, "1234");
        ASSERT_EQ(fromMemory.size(), fromDisk.size());
        for (size_t i = 0; i < fromDisk.size(); ++i) {
            EXPECT_EQ(fromMemory[i].displayStringData, fromDisk[i].displayStringData) << i;
            EXPECT_EQ(fromMemory[i].rawData, fromDisk[i].rawData) << i;
        }
    }
}

TEST(ReadingContext, RaisedErrorBecomesTheOutcome) {
    TempDir dir;
    // APP1 first with its "Exif" text, but no byte-order mark after it.
    Bytes jpeg = synthetic::makeJpeg(synthetic::CameraFile{}, false);
    ASSERT_GT(jpeg.size(), 12u);
    jpeg[12] = 'X';
    ReadingContext context;
    const ReadingOutcome outcome = context.read(dir.write("bad.jpg", jpeg).c_str());
    EXPECT_EQ(outcome.status, ReadingStatus::Error);
    EXPECT_EQ(outcome.cause, ReadingCause::RaisedError);
    EXPECT_EQ(outcome.message, "The EXIF segment holds no valid TIFF header") << "whoever made the file";
    EXPECT_TRUE(outcome.result.empty());
    EXPECT_EQ(context.read(dir.write("next.nef", cameraNef(synthetic::Order::Intel)).c_str()).result, "4242")
        << "the context reads on after the error";
}

// Each thread reads every file with an inspector of its own, starting at a
// different file, and must see what one thread alone sees.
TEST(ReadingContext, ThreadsReadingAtOnceSeeWhatOneThreadSees) {
    TempDir dir;
    std::vector<std::string> files = realCorpusFiles();
    for (int i = 0; i < 8; ++i) {
        synthetic::CameraFile camera;
        camera.order = i % 2 ? synthetic::Order::Intel : synthetic::Order::Motorola;
        camera.makerNoteOrder = i % 3 ? synthetic::Order::Intel : synthetic::Order::Motorola;
        camera.shutterCount = 1000u + static_cast<uint32_t>(i);
        camera.fullEntrySet = true;
        camera.withShutterCount = i != 5;
        camera.serialNumber = "S" + std::to_string(i);
        const std::string name = "f" + std::to_string(i);
        files.push_back(i % 2 ? dir.write(name + ".nef", synthetic::makeNef(camera))
                              : dir.write(name + ".jpg", synthetic::makeJpeg(camera, i % 4 == 0)));
    }
    files.push_back(dir.write("d100.tif", thumbnailCountFile()));

    const auto key = [](const frametally::Inspection& seen) {
        return seen.result + "|" + seen.reason + "|" + seen.message + "|" + seen.details.serialNumber + "|" +
               seen.details.lens;
    };
    std::vector<std::string> expected;
    frametally::Inspector single;
    std::ostringstream messages;
    single.context().setOutput(messages);
    for (const std::string& path : files) expected.push_back(key(single.inspect(path)));

    constexpr size_t kThreads = 4;
    constexpr int kRounds = 5;
    std::vector<std::vector<std::string>> seen(kThreads, std::vector<std::string>(files.size()));
    std::vector<std::thread> threads;
    for (size_t t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            frametally::Inspector inspector;
            std::ostringstream discarded;
            inspector.context().setOutput(discarded);
            for (int round = 0; round < kRounds; ++round) {
                for (size_t n = 0; n < files.size(); ++n) {
                    const size_t i = (n + t * 3) % files.size();
                    seen[t][i] = key(inspector.inspect(files[i]));
                }
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (size_t t = 0; t < kThreads; ++t) {
        for (size_t i = 0; i < files.size(); ++i)
            EXPECT_EQ(seen[t][i], expected[i]) << "thread " << t << ": " << files[i];
    }
}
