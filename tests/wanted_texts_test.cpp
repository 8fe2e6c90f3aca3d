// A reading that makes only the texts its caller looks at (what tiffwalker's
// batch does) must come to what a reading of every text comes to: the same
// result and outcome, the same messages, the same records in the same places,
// and the same texts for the tags asked for. The limits on kept and read bytes
// make that hard near them: texts left out spend nothing, so such a reading
// must notice when a reading of every text could have been cut short, and
// make every text then.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <tiffwalker/tiffwalker.h>
#include "hostile_files.h"
#include "synthetic_files.h"
#include "test_support.h"

namespace fs = std::filesystem;
using tiffwalker::ReadingContext;
using tiffwalker::RecordList;

namespace {

// The tags tiffwalker's table shows, as the inspection layer asks for them.
const std::vector<uint16_t> kAsked = {0x010f, 0x0110, 0x0131, 0x9003, 0x0084, 0x001d, 0x00a0};

struct Reading {
    tiffwalker::ReadingOutcome outcome;
    std::string output;
    RecordList records;
};

Reading readBytes(const synthetic::Bytes& bytes, bool askedOnly) {
    ReadingContext context;
    std::ostringstream output;
    context.setOutput(output);
    if (askedOnly) context.setWantedTags(kAsked);
    Reading reading;
    tiffwalker::MemorySource source(bytes.data(), bytes.size());
    reading.outcome = context.read(source, "file", &reading.records);
    reading.output = output.str();
    return reading;
}

void expectSameReading(const synthetic::Bytes& bytes, const std::string& name) {
    SCOPED_TRACE(name);
    const Reading every = readBytes(bytes, false);
    const Reading asked = readBytes(bytes, true);
    EXPECT_EQ(asked.outcome.status, every.outcome.status);
    EXPECT_EQ(asked.outcome.cause, every.outcome.cause);
    EXPECT_EQ(asked.outcome.result, every.outcome.result);
    EXPECT_EQ(asked.outcome.message, every.outcome.message);
    EXPECT_EQ(asked.outcome.make, every.outcome.make);
    EXPECT_EQ(asked.outcome.software, every.outcome.software);
    EXPECT_EQ(asked.output, every.output);
    ASSERT_EQ(asked.records.size(), every.records.size());
    for (size_t i = 0; i < every.records.size(); ++i) {
        const auto& a = asked.records[i];
        const auto& e = every.records[i];
        ASSERT_EQ(a.ifde.tag, e.ifde.tag) << "record " << i;
        EXPECT_EQ(a.iIFDType, e.iIFDType) << "record " << i;
        if (std::find(kAsked.begin(), kAsked.end(), e.ifde.tag) == kAsked.end()) continue;
        // (Texts run to 64 KiB: only their starts are shown.)
        EXPECT_TRUE(a.stringData == e.stringData) << "record " << i << ": " << e.stringData.substr(0, 80);
        EXPECT_TRUE(a.displayStringData == e.displayStringData) << "record " << i;
        EXPECT_TRUE(a.rawData == e.rawData) << "record " << i;
        EXPECT_TRUE(a.lensStringData == e.lensStringData) << "record " << i;
    }
}

synthetic::Bytes fileBytes(const fs::path& path) {
    const auto bytes = testing_support::readBytes(path);
    return synthetic::Bytes(bytes.begin(), bytes.end());
}

TEST(WantedTexts, CameraFilesAndCraftedOnesReadAsWithEveryText) {
    for (const bool fullEntrySet : {false, true}) {
        synthetic::CameraFile camera;
        camera.fullEntrySet = fullEntrySet;
        camera.serialNumber = "6435634";
        camera.model = "NIKON D2H";  // maker notes with a thumbnail directory
        expectSameReading(synthetic::makeNef(camera), "NEF");
        expectSameReading(synthetic::makeJpeg(camera, true), "JPEG");
        camera.makerNoteHeaderValid = false;
        expectSameReading(synthetic::makeNef(camera), "refused maker-note header");
    }
    // (The crafted files whose worst cases take long, above all under the
    // sanitizers, are left to the hostile-files tests.)
    expectSameReading(hostile::longLookupTexts(64 * 1024), "long lookup texts");
    expectSameReading(hostile::makerNoteLoops(), "maker-note loops");
    expectSameReading(hostile::subIfdChain(40), "sub-IFD chain");
    expectSameReading(hostile::userCommentOfEightBytes(), "user comment of eight bytes");
}

// A camera's IFD0 behind values the caller does not ask for: a reading of
// every text that spends all the bytes it may keep on them finds Make empty
// and reads no maker notes. A reading that left their texts out would still
// have bytes for Make, and find the count: it must see that and make every
// text instead.
synthetic::Bytes behindValues(std::vector<synthetic::Entry> values, std::vector<std::shared_ptr<synthetic::Ifd>> sub,
                              size_t fileSize) {
    auto note = std::make_shared<synthetic::MakerNote>();
    note->ifd.entries = {synthetic::Entry::longs(0x00a7, {4321})};
    auto exif = std::make_shared<synthetic::Ifd>();
    exif->entries = {synthetic::Entry::nikonMakerNote(note)};
    synthetic::Ifd ifd0;
    ifd0.entries = std::move(values);
    if (!sub.empty()) ifd0.entries.push_back(synthetic::Entry::pointer(0x014a, std::move(sub)));
    ifd0.entries.push_back(synthetic::Entry::ascii(0x010f, "NIKON CORPORATION"));
    ifd0.entries.push_back(synthetic::Entry::pointer(0x8769, {exif}));
    synthetic::Bytes bytes = synthetic::buildTiff(ifd0, synthetic::Order::Intel);
    EXPECT_EQ(readBytes(bytes, true).outcome.result, "4321") << "the file as it is, before its values grow";
    bytes.resize(std::max(bytes.size(), fileSize), 0xFF);
    return bytes;
}

}  // namespace

TEST(WantedTexts, ValuesThatUseUpTheKeptBytesMakeEveryText) {
    // Two raw values of 16 MiB.
    constexpr uint32_t kValueBytes = 16u << 20;
    const auto raw = behindValues(
        {synthetic::Entry::field(0x0101, 1, kValueBytes, 0), synthetic::Entry::field(0x0102, 1, kValueBytes, 0)}, {},
        kValueBytes);
    expectSameReading(raw, "raw bytes use up the kept bytes");
    EXPECT_EQ(readBytes(raw, true).outcome.cause, tiffwalker::ReadingCause::MakeNotNikon);

    // 480 ASCII values of 64 KiB: their raw bytes alone stay within what a
    // reading may keep, with their texts (read from the 0xFF bytes past the
    // directories) they do not.
    constexpr uint32_t kTextBytes = 64 * 1024 + 1;
    std::vector<std::shared_ptr<synthetic::Ifd>> lists;
    for (int d = 0; d < 6; ++d) {
        auto ifd = std::make_shared<synthetic::Ifd>();
        for (uint16_t e = 0; e < 80; ++e)
            ifd->entries.push_back(synthetic::Entry::field(0x0200 + e, 2, kTextBytes, 8192));
        lists.push_back(ifd);
    }
    const auto texts = behindValues({}, lists, 8192 + kTextBytes);
    expectSameReading(texts, "value texts use up the kept bytes");
    EXPECT_EQ(readBytes(texts, true).outcome.cause, tiffwalker::ReadingCause::MakeNotNikon);
}

TEST(WantedTexts, SharedCorpusReadsAsWithEveryText) {
    const fs::path corpus = testing_support::corpusDir();
    if (corpus.empty()) GTEST_SKIP() << "../shared/corpus is not here: no real camera files to read";
    for (const auto& entry : fs::recursive_directory_iterator(corpus)) {
        if (entry.is_regular_file()) expectSameReading(fileBytes(entry.path()), entry.path().string());
    }
}
