// Paths as every system has them: names in any script (UTF-16 on Windows, where
// the ANSI code page made them "????"), one file reached under several names
// (told apart by device and inode, or volume serial and file index), a folder
// named with a trailing separator, a folder named as a file, and files larger
// than 2 GiB.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "readout.h"
#include "synthetic_files.h"
#include "test_support.h"

using testing_support::runTiffwalker;
using testing_support::TempDir;

namespace fs = std::filesystem;

namespace {

synthetic::CameraFile camera(uint32_t count) {
    synthetic::CameraFile file;
    file.shutterCount = count;
    file.serialNumber = "3001234";
    return file;
}

// Paths made from UTF-8 text, as the command line takes and prints them.
fs::path utf8Path(const std::string& text) { return fs::path(std::u8string(text.begin(), text.end())); }
std::string utf8Text(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// Written under a plain name in dir, then moved to path: synthetic::writeFile
// takes a narrow path, which is not UTF-8 on every system.
std::string writeNef(const TempDir& dir, const fs::path& path, uint32_t count) {
    fs::create_directories(path.parent_path());
    const fs::path plain = dir.path() / "written.tmp";
    EXPECT_TRUE(synthetic::writeFile(plain.string(), synthetic::makeNef(camera(count))));
    fs::rename(plain, path);
    return utf8Text(path);
}

// A path as a TSV field holds it: Windows paths have their backslashes doubled.
std::string tsvEscaped(const std::string& text) {
    std::string out;
    for (const char c : text) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
}

std::vector<std::vector<std::string>> tsvRows(const std::string& out) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(out);
    std::string line;
    std::getline(in, line);  // the header
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::istringstream row(line);
        for (std::string field; std::getline(row, field, '\t');) fields.push_back(field);
        rows.push_back(fields);
    }
    return rows;
}

}  // namespace

TEST(CommandPaths, NamesInOtherScriptsAreReadAndPrintedAsUtf8) {
    TempDir dir;
    const fs::path folder = dir.path() / utf8Path("Фото_写真");
    const std::string file = writeNef(dir, folder / utf8Path("Café_ü.NEF"), 1234);

    const auto one = runTiffwalker({file});
    EXPECT_EQ(one.exitCode, 0) << one.err;
    EXPECT_EQ(one.out, "1234\n");

    const auto walked = runTiffwalker({"--format", "tsv", utf8Text(folder)});
    EXPECT_EQ(walked.exitCode, 0) << walked.err;
    const auto rows = tsvRows(walked.out);
    ASSERT_EQ(rows.size(), 1u) << walked.out;
    EXPECT_EQ(rows[0][0], tsvEscaped(file)) << "the path as UTF-8, byte for byte";
    EXPECT_EQ(rows[0][1], "1234");
}

TEST(CommandPaths, AFileReachedUnderSeveralNamesIsReadOnceAndDifferentFilesAllAre) {
    TempDir dir;
    std::vector<std::string> named;
    for (uint32_t i = 0; i < 61; ++i)
        named.push_back(writeNef(dir, dir.path() / ("f" + std::to_string(i) + ".nef"), i));
    const fs::path linked = dir.path() / "hard-link.nef";
    std::error_code error;
    fs::create_hard_link(dir.path() / "f0.nef", linked, error);

    std::vector<std::string> arguments{"--format", "tsv"};
    arguments.insert(arguments.end(), named.begin(), named.end());
    arguments.push_back(named[5]);  // the same name again
    if (!error) arguments.push_back(linked.string());
    const auto result = runTiffwalker(arguments);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const auto rows = tsvRows(result.out);
    ASSERT_EQ(rows.size(), 61u) << "every file once, a file named twice or linked only once";
    for (uint32_t i = 0; i < 61; ++i) EXPECT_EQ(rows[i][1], std::to_string(i));

    // A folder's walk meets the link and its target too: one row for both.
    const auto walked = runTiffwalker({"--format", "tsv", dir.path().string()});
    EXPECT_EQ(tsvRows(walked.out).size(), 61u) << walked.out;
}

TEST(CommandPaths, AFolderNamedWithATrailingSeparatorIsWalked) {
    TempDir dir;
    writeNef(dir, dir.path() / "photos" / "a.nef", 7);
    const std::string folder = (dir.path() / "photos").string();
    for (const std::string& named : {folder + "/", folder + std::string(1, fs::path::preferred_separator)}) {
        const auto result = runTiffwalker({"--format", "tsv", named});
        EXPECT_EQ(result.exitCode, 0) << named << ": " << result.err;
        const auto rows = tsvRows(result.out);
        ASSERT_EQ(rows.size(), 1u) << named << ": " << result.out;
        EXPECT_EQ(rows[0][1], "7");
    }
}

// Windows will not open some folders at all ("Permission denied"): what the
// path is must come from its attributes, not from the failed opening.
TEST(CommandPaths, AFolderReadAsAFileSaysItIsAFolder) {
    TempDir dir;
    fs::create_directory(dir.path() / "looks.nef");
    for (const std::string& path : {(dir.path() / "looks.nef").string(), dir.path().string()}) {
        const frametally::Inspection inspection = frametally::Inspector().inspect(path);
        EXPECT_EQ(inspection.result, "Not Readable") << path;
        EXPECT_EQ(inspection.reason, "a folder, not a file") << path;
    }
}

TEST(CommandPaths, FilesLargerThan2GiBAreRead) {
    TempDir dir;
    const std::string file = writeNef(dir, dir.path() / "large.nef", 4321);
    // Sparse where the file system allows: only the first page holds data.
    std::error_code error;
    fs::resize_file(file, (uint64_t{5} << 29) + 17, error);  // 2.5 GiB and a bit
    if (error) GTEST_SKIP() << "no room for a 2.5 GiB file here: " << error.message();
    const auto result = runTiffwalker({"--format", "tsv", file});
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    const auto rows = tsvRows(result.out);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][1], "4321");
}
