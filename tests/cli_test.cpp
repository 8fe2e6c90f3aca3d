#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "synthetic_files.h"
#include "test_support.h"

using testing_support::ByteWriter;
using testing_support::corpusDir;
using testing_support::runTiffwalker;
using testing_support::TempDir;

namespace {

synthetic::Bytes nefWithCount(uint32_t count) {
    synthetic::CameraFile camera;
    camera.shutterCount = count;
    return synthetic::makeNef(camera);
}

}  // namespace

TEST(TiffwalkerCommand, PrintsOnlyTheResultAndExitsByItsKind) {
    TempDir dir;
    const auto counted = runTiffwalker({dir.write("a.NEF", nefWithCount(731))});
    EXPECT_EQ(counted.out, "731\n");
    EXPECT_EQ(counted.exitCode, 0);

    const std::string missing = (dir.path() / "missing.nef").string();
    const auto unreadable = runTiffwalker({missing});
    EXPECT_EQ(unreadable.out, "Not Readable\n");
    EXPECT_EQ(unreadable.exitCode, 1);
    EXPECT_NE(unreadable.err.find("File not readable: " + missing), std::string::npos)
        << "the engine's own messages go to standard error";
}

// A row already says "not_readable" or "no_exif": standard error stays for
// what the rows do not say.
TEST(TiffwalkerCommand, TsvAndJsonRowsAreNotRepeatedOnStandardError) {
    TempDir dir;
    const std::string missing = (dir.path() / "missing.nef").string();
    const std::string plain = dir.write("plain.jpg", {0xFF, 0xD8, 0xFF, 0xDB, 0, 4, 0, 0, 0xFF, 0xD9});
    for (const char* format : {"tsv", "json"}) {
        const auto run = runTiffwalker({"--format", format, missing, plain});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, "") << format;
        EXPECT_NE(run.out.find("not_readable"), std::string::npos) << run.out;
    }
}

TEST(TiffwalkerCommand, RaisedErrorsGoToStandardErrorWithStatus3) {
    TempDir dir;
    const std::string bad = dir.write(
        "bad.jpg",
        ByteWriter(true).raw({0xFF, 0xD8, 0xFF, 0xE1, 0, 0x40}).text("Exif").raw({0, 0, 'I', 'M'}).fill(40).bytes());
    const auto result = runTiffwalker({bad});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("error: The EXIF segment holds no valid TIFF header"), std::string::npos) << result.err;
}

TEST(TiffwalkerCommand, SeveralFilesExitWithTheWorst) {
    TempDir dir;
    const std::string good = dir.write("good.nef", nefWithCount(5));
    const std::string text = dir.write("notes.txt", ByteWriter(false).text("hello").bytes());
    const auto result = runTiffwalker({good, text});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.out.find(good), std::string::npos);
    EXPECT_NE(result.out.find("5"), std::string::npos);
    EXPECT_NE(result.out.find("Not Readable"), std::string::npos);
}

TEST(TiffwalkerCommand, TraceListingGoesToStandardOutput) {
    TempDir dir;
    const auto result = runTiffwalker({"--trace", dir.write("t.nef", nefWithCount(12))});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.out.find("Listing of image file: "), std::string::npos);
    EXPECT_NE(result.out.find("ShutterCount"), std::string::npos);
    EXPECT_EQ(result.out.substr(result.out.size() - 3), "12\n");
}

TEST(TiffwalkerCommand, UsageErrorsExitWith2) {
    EXPECT_EQ(runTiffwalker({}).exitCode, 2);
    EXPECT_EQ(runTiffwalker({"--no-such-option", "x"}).exitCode, 2);
    const auto help = runTiffwalker({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--trace"), std::string::npos);
}

// Every real camera file gives the result its manifest records, except where
// the command, reading every file type, finds the EXIF segment that the
// original detection refuses to look for.
TEST(TiffwalkerCommand, RealCameraFilesGiveTheirRecordedResults) {
    const std::map<std::string, std::string> readThroughTheirSegments = {
        {"exiv2-bug495.jpg", "13518"},  // a comment segment before the EXIF segment
    };
    const auto corpus = corpusDir();
    if (corpus.empty()) GTEST_SKIP() << "the shared corpus (../shared/corpus) is not here";
    std::ifstream manifest(corpus / "real" / "MANIFEST.tsv");
    ASSERT_TRUE(manifest) << "real/MANIFEST.tsv is missing";
    int checked = 0;
    for (std::string line; std::getline(manifest, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string file, expected;
        std::getline(fields, file, '\t');
        std::getline(fields, expected, '\t');
        if (const auto read = readThroughTheirSegments.find(file); read != readThroughTheirSegments.end()) {
            expected = read->second;
        }
        const auto result = runTiffwalker({(corpus / "real" / file).string()});
        if (expected.rfind("ERROR:", 0) == 0) {
            EXPECT_EQ(result.exitCode, 3) << file;
            EXPECT_NE(result.err.find("error: " + expected.substr(6)), std::string::npos) << file << ": " << result.err;
        } else {
            EXPECT_EQ(result.out, expected + "\n") << file;
            const bool isCount = expected.find_first_not_of("0123456789") == std::string::npos;
            EXPECT_EQ(result.exitCode, isCount ? 0 : 1) << file;
        }
        ++checked;
    }
    EXPECT_GE(checked, 9);
}
