// tiffwalker -j N reads files on N threads. Which thread reads which file, and
// when, must not show: every format, the trace listing, the engine's messages
// and the exit status are byte for byte those of -j1.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "hostile_files.h"
#include "synthetic_files.h"
#include "test_support.h"

using testing_support::ByteWriter;
using testing_support::runTiffwalker;
using testing_support::TempDir;

namespace fs = std::filesystem;

namespace {

// Where two outputs part, as the line of each there. (The listings run to
// megabytes: an element-wise comparison would print, and diff, all of them.)
std::string firstDifference(const std::string& a, const std::string& b) {
    const auto parted = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    const size_t at = static_cast<size_t>(parted.first - a.begin());
    const size_t lineStart = a.rfind('\n', at == 0 ? 0 : at - 1);
    const size_t from = lineStart == std::string::npos ? 0 : lineStart + 1;
    const auto lineAt = [from](const std::string& text) { return text.substr(from, text.find('\n', from) - from); };
    return "byte " + std::to_string(at) + ", line\n  -j1: " + lineAt(a) + "\n  -j2: " + lineAt(b);
}

// Runs the same command with -j1 and -j2 and compares all it printed.
void expectSameOnOneAndTwoThreads(const std::vector<std::string>& arguments) {
    std::vector<std::string> one = {"-j1"};
    std::vector<std::string> two = {"-j2"};
    one.insert(one.end(), arguments.begin(), arguments.end());
    two.insert(two.end(), arguments.begin(), arguments.end());
    const auto serial = runTiffwalker(one);
    const auto parallel = runTiffwalker(two);
    std::string shown;
    for (const std::string& argument : arguments) shown += " " + argument;
    ASSERT_FALSE(serial.out.empty()) << shown;
    EXPECT_EQ(parallel.exitCode, serial.exitCode) << shown;
    EXPECT_TRUE(parallel.out == serial.out)
        << shown << ": standard output differs at " << firstDifference(serial.out, parallel.out);
    EXPECT_TRUE(parallel.err == serial.err)
        << shown << ": standard error differs at " << firstDifference(serial.err, parallel.err);
}

void expectSameInEveryFormat(const std::vector<std::string>& operands) {
    for (const std::vector<std::string>& options : std::vector<std::vector<std::string>>{
             {"-r"}, {"-r", "--format", "tsv"}, {"-r", "--format", "json"}, {"-r", "--trace", "--problems"}}) {
        std::vector<std::string> arguments = options;
        arguments.insert(arguments.end(), operands.begin(), operands.end());
        expectSameOnOneAndTwoThreads(arguments);
    }
}

// Every kind of outcome, in files of very different reading times, so that
// the threads finish out of order: counts, each reason for no count, no EXIF
// data, files that are no image, raised errors and hostile structures.
void writeEveryKindOfFile(const fs::path& root) {
    for (int i = 0; i < 24; ++i) {
        synthetic::CameraFile camera;
        camera.shutterCount = static_cast<uint32_t>(1000 + i);
        camera.serialNumber = i % 2 == 0 ? "3001234" : "4005678";
        camera.model = i % 2 == 0 ? "NIKON D750" : "NIKON D200";
        camera.fullEntrySet = i % 8 == 2;  // a few: their trace listings run to megabytes
        camera.order = i % 4 == 0 ? synthetic::Order::Motorola : synthetic::Order::Intel;
        switch (i % 6) {
            case 1: camera.withMakerNote = false, camera.software = "Adobe Photoshop CS6 (Windows)"; break;
            case 3: camera.withShutterCount = false; break;
            case 5: camera.makerNoteHeaderValid = false; break;
            default: break;
        }
        const std::string name = "f" + std::to_string(10 + i);
        const bool jpeg = i % 2 == 1;
        synthetic::writeFile((root / "sub" / (name + (jpeg ? ".jpg" : ".nef"))).string(),
                             jpeg ? synthetic::makeJpeg(camera, i % 4 == 1) : synthetic::makeNef(camera));
    }
    const auto write = [&root](const std::string& name, const synthetic::Bytes& bytes) {
        synthetic::writeFile((root / name).string(), bytes);
    };
    write("plain.jpg", {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x04, 0x00, 0x01, 0xFF, 0xDA, 0x00, 0x02, 0xFF, 0xD9});
    write("bad-exif.jpg",
          ByteWriter(true).raw({0xFF, 0xD8, 0xFF, 0xE1, 0, 0x40}).text("Exif").raw({0, 0, 'I', 'M'}).fill(40).bytes());
    write("text.jpg", {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'});
    write("empty.nef", {});
    write("loops.nef", hostile::makerNoteLoops());
    write("sub-ifd-chain.nef", hostile::subIfdChain(12));
}

}  // namespace

TEST(ParallelBatch, OutputOfTwoThreadsIsThatOfOneOnSyntheticFiles) {
    TempDir dir;
    fs::create_directories(dir.path() / "sub");
    writeEveryKindOfFile(dir.path());
    // A file named twice and a missing one, among the operands as given.
    const std::string again = (dir.path() / "sub" / "f10.nef").string();
    expectSameInEveryFormat({dir.path().string(), again, (dir.path() / "missing.nef").string()});
}

TEST(ParallelBatch, OutputOfTwoThreadsIsThatOfOneOnTheSharedCorpus) {
    const fs::path corpus = testing_support::corpusDir();
    if (corpus.empty()) GTEST_SKIP() << "../shared/corpus is not here: no real camera files to read";
    // Only files named on the command line are read whatever their names: the
    // malformed files have names of every kind.
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(corpus)) {
        if (entry.is_regular_file()) files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    expectSameInEveryFormat(files);
}
