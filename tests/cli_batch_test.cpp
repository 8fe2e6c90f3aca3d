// The tiffwalker command as a batch tool: walking folders, the three output
// formats, the reasons given for missing counts, exit statuses and Ctrl-C.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif
#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "container_files.h"
#include "synthetic_files.h"
#include "test_support.h"

using testing_support::ByteWriter;
using testing_support::readBytes;
using testing_support::runTiffwalker;
using testing_support::TempDir;

namespace fs = std::filesystem;

namespace {

synthetic::CameraFile camera(uint32_t count, const std::string& serial = "3001234") {
    synthetic::CameraFile file;
    file.shutterCount = count;
    file.serialNumber = serial;
    return file;
}

std::string writeNef(const fs::path& path, const synthetic::CameraFile& file) {
    fs::create_directories(path.parent_path());
    EXPECT_TRUE(synthetic::writeFile(path.string(), synthetic::makeNef(file)));
    return path.string();
}

std::string writeJpeg(const fs::path& path, const synthetic::CameraFile& file) {
    fs::create_directories(path.parent_path());
    EXPECT_TRUE(synthetic::writeFile(path.string(), synthetic::makeJpeg(file, true)));
    return path.string();
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> result;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) result.push_back(field);
    if (!line.empty() && line.back() == '\t') result.emplace_back();
    return result;
}

// The TSV rows (header left out), each split into its fields.
std::vector<std::vector<std::string>> tsvRows(const std::string& out) {
    std::vector<std::vector<std::string>> rows;
    const auto all = lines(out);
    for (size_t i = 1; i < all.size(); ++i) rows.push_back(fields(all[i]));
    return rows;
}

std::vector<nlohmann::json> jsonLines(const std::string& out) {
    std::vector<nlohmann::json> objects;
    for (const std::string& line : lines(out)) {
        // parse() refuses invalid UTF-8 as well as bad syntax.
        objects.push_back(nlohmann::json::parse(line));
    }
    return objects;
}

// A path as a TSV field holds it (Windows paths have backslashes).
std::string tsvEscaped(const std::string& text) {
    std::string out;
    for (const char c : text) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
}

std::string relative(const std::string& path, const TempDir& dir) {
    return fs::path(path).lexically_relative(dir.path()).generic_string();
}

}  // namespace

TEST(BatchWalk, FolderGivesItsImageFilesInAnyCaseSortedAndRecursesOnlyWithR) {
    TempDir dir;
    const fs::path root = dir.path();
    writeNef(root / "b.NEF", camera(2));
    writeJpeg(root / "a.Jpg", camera(1));
    writeJpeg(root / "c.jpeg", camera(3));
    writeJpeg(root / "d.JPEG", camera(4));
    writeNef(root / "e.nef.bak", camera(5));
    dir.write("notes.txt", {'h', 'i'});
    writeNef(root / "sub" / "deeper" / "f.nef", camera(6));
    writeNef(root / "sub" / "g.nef", camera(7));
    writeNef(root / "a b" / "h.nef", camera(8));

    const auto flat = runTiffwalker({"--format", "tsv", root.string()});
    EXPECT_EQ(flat.exitCode, 0) << flat.err;
    std::vector<std::string> found;
    for (const auto& row : tsvRows(flat.out)) found.push_back(relative(row[0], dir));
    EXPECT_EQ(found, (std::vector<std::string>{"a.Jpg", "b.NEF", "c.jpeg", "d.JPEG"}));

    const auto deep = runTiffwalker({"-r", "--format", "tsv", root.string()});
    EXPECT_EQ(deep.exitCode, 0) << deep.err;
    found.clear();
    for (const auto& row : tsvRows(deep.out)) found.push_back(relative(row[0], dir));
    // Sorted by path, a folder's files before a sibling whose name extends it.
    EXPECT_EQ(found, (std::vector<std::string>{"a b/h.nef", "a.Jpg", "b.NEF", "c.jpeg", "d.JPEG", "sub/deeper/f.nef",
                                               "sub/g.nef"}));
}

// Every file type the reader finds TIFF structures in, by its name in any
// case; each read through its container.
TEST(BatchWalk, FolderGivesEveryFileTypeReadInAnyCase) {
    TempDir dir;
    const fs::path root = dir.path();
    const std::vector<std::string> tiffNames = {"a.arw", "b.SR2", "c.Pef", "d.dng", "e.CR2"};
    for (size_t i = 0; i < tiffNames.size(); ++i) {
        writeNef(root / tiffNames[i], camera(static_cast<uint32_t>(10 + i)));
    }
    const auto tiff = synthetic::makeExifTiff(camera(20));
    dir.write("f.HIF", containers::heif(tiff, {}));
    dir.write("g.heic", containers::heif(tiff, {}));
    dir.write("h.Heif", containers::heif(tiff, {}));
    dir.write("i.RAF", containers::raf(containers::jpeg({containers::exifSegment(tiff)})));
    dir.write("j.CR3", containers::cr3(tiff, {}, {}));
    dir.write("k.tif", synthetic::makeNef(camera(30)));  // not a camera's raw file name

    const auto run = runTiffwalker({"--format", "tsv", root.string()});
    std::map<std::string, std::string> results;
    for (const auto& row : tsvRows(run.out)) results[relative(row[0], dir)] = row[1];
    EXPECT_EQ(results, (std::map<std::string, std::string>{{"a.arw", "10"},
                                                           {"b.SR2", "11"},
                                                           {"c.Pef", "12"},
                                                           {"d.dng", "13"},
                                                           {"e.CR2", "14"},
                                                           {"f.HIF", "20"},
                                                           {"g.heic", "20"},
                                                           {"h.Heif", "20"},
                                                           {"i.RAF", "20"},
                                                           {"j.CR3", "20"}}));
}

TEST(BatchWalk, NamedFilesAreReadWhateverTheirNameAndInTheOrderGiven) {
    TempDir dir;
    const std::string odd = writeNef(dir.path() / "picture.raw", camera(11));
    const std::string second = writeNef(dir.path() / "a.nef", camera(12));
    const auto result = runTiffwalker({"--format", "tsv", odd, second});
    EXPECT_EQ(result.exitCode, 0);
    const auto rows = tsvRows(result.out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0], tsvEscaped(odd));
    EXPECT_EQ(rows[0][1], "11");
    EXPECT_EQ(rows[1][0], tsvEscaped(second));
}

// Links, named pipes, permission bits and signals are POSIX's; the Windows
// build's own cases of the walk are in cli_paths_test.cpp.
#ifndef _WIN32
TEST(BatchWalk, SymbolicLinkLoopsEndAndEveryFileIsReadOnce) {
    TempDir dir;
    const fs::path root = dir.path() / "photos";
    writeNef(root / "one.nef", camera(1));
    writeNef(root / "inner" / "two.nef", camera(2));
    fs::create_directory_symlink("..", root / "inner" / "up");  // a loop back to photos
    fs::create_directory_symlink(root / "inner", root / "again");
    fs::create_symlink(root / "one.nef", root / "link-to-one.nef");

    const auto result = runTiffwalker({"-r", "--format", "tsv", root.string(), (root / "one.nef").string()});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const auto rows = tsvRows(result.out);
    ASSERT_EQ(rows.size(), 2u) << result.out;
    std::vector<std::string> counts{rows[0][1], rows[1][1]};
    std::sort(counts.begin(), counts.end());
    EXPECT_EQ(counts, (std::vector<std::string>{"1", "2"}));
}

TEST(BatchWalk, FilesThatCannotBeReadSayWhyWithoutStoppingTheRun) {
    TempDir dir;
    const fs::path root = dir.path();
    writeNef(root / "good.nef", camera(9));
    fs::create_symlink(root / "gone.nef", root / "dangling.nef");
    ASSERT_EQ(::mkfifo((root / "pipe.jpg").c_str(), 0600), 0);
    dir.write("text.jpg", {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'});

    const auto result = runTiffwalker({"--format", "tsv", root.string()});
    EXPECT_EQ(result.exitCode, 1);
    std::map<std::string, std::vector<std::string>> byName;
    for (const auto& row : tsvRows(result.out)) byName[relative(row[0], dir)] = row;
    ASSERT_EQ(byName.size(), 4u) << result.out;
    EXPECT_EQ(byName["good.nef"][1], "9");
    EXPECT_EQ(byName["dangling.nef"][2], "not_readable");
    EXPECT_NE(byName["dangling.nef"][8].find("No such file or directory"), std::string::npos);
    EXPECT_EQ(byName["pipe.jpg"][2], "not_readable");
    EXPECT_NE(byName["pipe.jpg"][8].find("not a regular file"), std::string::npos);
    EXPECT_EQ(
        byName["text.jpg"][8],
        "not a camera file of a kind Frametally reads (JPEG, TIFF and the raw files built on it, HEIF, CR3, RAF)");
}

TEST(BatchWalk, PermissionDeniedFilesAndFoldersAreReported) {
    if (::geteuid() == 0) GTEST_SKIP() << "running as root, which reads files whatever their permissions";
    TempDir dir;
    const fs::path root = dir.path();
    const std::string locked = writeNef(root / "locked.nef", camera(1));
    writeNef(root / "closed" / "inside.nef", camera(2));
    ::chmod(locked.c_str(), 0);
    ::chmod((root / "closed").c_str(), 0);
    const auto result = runTiffwalker({"-r", "--format", "tsv", root.string()});
    ::chmod((root / "closed").c_str(), 0700);
    EXPECT_EQ(result.exitCode, 1);
    const auto rows = tsvRows(result.out);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_NE(rows[0][8].find("Permission denied"), std::string::npos);
    EXPECT_NE(result.err.find("cannot read folder " + (root / "closed").string()), std::string::npos) << result.err;
}
#endif

TEST(BatchOutput, TextTableHasColumnsReasonsAndASummaryPerBody) {
    TempDir dir;
    synthetic::CameraFile older = camera(1500, "3001234");
    older.dateTimeOriginal = "2024:05:01 09:30:00";
    writeNef(dir.path() / "a.nef", older);
    writeNef(dir.path() / "b.nef", camera(2500, "3001234"));
    writeNef(dir.path() / "c.nef", camera(700, "3009999"));
    synthetic::CameraFile edited = camera(1);
    edited.withMakerNote = false;
    edited.software = "Adobe Photoshop CS2 Windows";
    writeJpeg(dir.path() / "edited.jpg", edited);

    const auto result = runTiffwalker({dir.path().string()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "") << "no progress line when standard error is not a terminal";
    const auto all = lines(result.out);
    ASSERT_GE(all.size(), 9u) << result.out;
    EXPECT_EQ(all[0].rfind("FILE", 0), 0u);
    EXPECT_NE(all[0].find("RESULT"), std::string::npos);
    // Columns line up: every row's result starts where the header's does.
    const size_t resultColumn = all[0].find("RESULT");
    EXPECT_EQ(all[1].substr(resultColumn, 4), "1500");
    EXPECT_NE(all[1].find("NIKON D70"), std::string::npos);
    EXPECT_NE(all[1].find("3001234"), std::string::npos);
    EXPECT_NE(all[1].find("2024-05-01 09:30:00"), std::string::npos);
    EXPECT_EQ(all[2].substr(resultColumn), "counts: mechanical releases") << "under every count, Nikon's too";
    EXPECT_EQ(all[7].substr(resultColumn, 8), "No Count");
    EXPECT_EQ(all[8].substr(resultColumn),
              "why: maker notes missing; the file was written by \"Adobe Photoshop CS2 "
              "Windows\", and editing programs often drop maker notes");
    EXPECT_NE(result.out.find("4 files: 3 counts, 1 No Count."), std::string::npos) << result.out;
    // Each body's count says what it counts: makers count different things.
    EXPECT_NE(
        result.out.find("NIKON D70, serial 3001234  2500  mechanical releases  in " + (dir.path() / "b.nef").string()),
        std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("NIKON D70, serial 3009999   700"), std::string::npos) << result.out;
}

TEST(BatchOutput, SingleFileKeepsItsOneLineUnlessAFormatIsAsked) {
    TempDir dir;
    const std::string nef = writeNef(dir.path() / "x.nef", camera(4242));
    EXPECT_EQ(runTiffwalker({nef}).out, "4242\n");
    EXPECT_EQ(runTiffwalker({"-r", nef}).out, "4242\n");

    const auto json = runTiffwalker({"--format", "json", nef});
    const auto objects = jsonLines(json.out);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0]["result"], "4242");
    EXPECT_EQ(objects[0]["status"], "count");
    EXPECT_EQ(objects[0]["make"], "NIKON CORPORATION");
    EXPECT_EQ(objects[0]["model"], "NIKON D70");
    EXPECT_EQ(objects[0]["serial"], "3001234");
    EXPECT_EQ(objects[0]["date_time_original"], "2026:12:07 10:00:00");
    EXPECT_TRUE(objects[0]["lens"].is_string());
    EXPECT_FALSE(objects[0].contains("reason")) << "a count needs no reason";
}

// Each way a file can fail to give a count, with the words the user sees.
TEST(BatchOutput, EveryResultWithoutACountSaysWhy) {
    TempDir dir;
    const fs::path root = dir.path();
    synthetic::CameraFile coolpix = camera(1, "");
    coolpix.make = "NIKON";
    coolpix.model = "E775";
    writeJpeg(root / "coolpix.jpg", coolpix);
    synthetic::CameraFile firmwareOnly = camera(1);
    firmwareOnly.withMakerNote = false;
    writeNef(root / "no-notes.nef", firmwareOnly);
    synthetic::CameraFile noCount = camera(1);
    noCount.withShutterCount = false;
    writeNef(root / "no-count.nef", noCount);
    synthetic::CameraFile refused = camera(1);
    refused.makerNoteHeaderValid = false;
    writeNef(root / "refused.nef", refused);
    dir.write("plain.jpg", {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x04, 0x00, 0x01, 0xFF, 0xDA, 0x00, 0x02, 0xFF, 0xD9});
    dir.write(
        "bad-exif.jpg",
        ByteWriter(true).raw({0xFF, 0xD8, 0xFF, 0xE1, 0, 0x40}).text("Exif").raw({0, 0, 'I', 'M'}).fill(40).bytes());

    const auto result = runTiffwalker({"--format", "json", root.string()});
    EXPECT_EQ(result.exitCode, 3) << "a raised error outranks the failure texts";
    std::map<std::string, nlohmann::json> byName;
    for (const auto& object : jsonLines(result.out)) byName[relative(object["path"], dir)] = object;
    ASSERT_EQ(byName.size(), 6u) << result.out;

    EXPECT_EQ(byName["coolpix.jpg"]["status"], "no_count");
    EXPECT_EQ(byName["coolpix.jpg"]["reason"],
              "Make is \"NIKON\", not \"NIKON CORPORATION\" (a Coolpix or another maker's camera): no shutter count "
              "is recorded");
    EXPECT_EQ(byName["no-notes.nef"]["reason"], "maker notes missing")
        << "the camera's own firmware in Software is no editing program";
    EXPECT_EQ(byName["no-count.nef"]["reason"],
              "maker notes present but without a ShutterCount entry (not every model records one)");
    EXPECT_EQ(byName["refused.nef"]["reason"],
              "maker-note header refused: the maker notes do not hold a valid TIFF header of their own");
    EXPECT_EQ(byName["plain.jpg"]["status"], "no_exif");
    EXPECT_EQ(byName["plain.jpg"]["result"], "No EXIF data");
    EXPECT_EQ(byName["bad-exif.jpg"]["status"], "error");
    EXPECT_TRUE(byName["bad-exif.jpg"]["result"].is_null());
    EXPECT_EQ(byName["bad-exif.jpg"]["message"], "The EXIF segment holds no valid TIFF header");
    EXPECT_NE(
        result.err.find("error: " + (root / "bad-exif.jpg").string() + ": The EXIF segment holds no valid TIFF header"),
        std::string::npos)
        << result.err;
}

TEST(BatchOutput, AwkwardPathsStayOneValidLineInJsonAndTsv) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows names hold no quotes, backslashes, control characters or bytes that are not UTF-8 "
                    "(names in other scripts: cli_paths_test.cpp)";
#endif
    TempDir dir;
    const fs::path root = dir.path();
    const std::vector<std::string> names = {"quote\"and\\back.nef", "new\nline.nef", "tab\there.nef",
                                            std::string("latin1-\xe9\xff.nef"), "ünïcode.nef"};
    for (const std::string& name : names) writeNef(root / name, camera(77));

    const auto json = runTiffwalker({"--format", "json", root.string()});
    EXPECT_EQ(json.exitCode, 0) << json.err;
    std::vector<nlohmann::json> objects;
    ASSERT_NO_THROW(objects = jsonLines(json.out)) << json.out;
    ASSERT_EQ(objects.size(), names.size());
    std::set<std::string> recovered;
    for (const auto& object : objects) {
        EXPECT_EQ(object["result"], "77");
        if (object.contains("path_hex")) {
            const std::string hex = object["path_hex"];
            std::string bytes;
            for (size_t i = 0; i + 1 < hex.size(); i += 2)
                bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
            recovered.insert(relative(bytes, dir));
        } else {
            recovered.insert(relative(object["path"], dir));
        }
    }
    EXPECT_EQ(recovered, std::set<std::string>(names.begin(), names.end()));

    const auto tsv = runTiffwalker({"--format", "tsv", root.string()});
    const auto rows = tsvRows(tsv.out);
    ASSERT_EQ(rows.size(), names.size()) << "one line per file whatever the path holds";
    std::set<std::string> escaped;
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 15u) << "the nine first columns, then maker, count_kind and the later ones";
        escaped.insert(fs::path(row[0]).filename().string());
    }
    EXPECT_TRUE(escaped.count("new\\nline.nef"));
    EXPECT_TRUE(escaped.count("tab\\there.nef"));
    EXPECT_TRUE(escaped.count("quote\"and\\\\back.nef"));

    const auto text = runTiffwalker({root.string()});
    EXPECT_NE(text.out.find("new\\nline.nef"), std::string::npos);
    EXPECT_NE(text.out.find("latin1-\\xe9\\xff.nef"), std::string::npos) << "bytes that are not UTF-8 are escaped";
    EXPECT_NE(text.out.find("ünïcode.nef"), std::string::npos);
}

TEST(BatchExit, StatusIsTheWorstOfTheRun) {
    TempDir dir;
    const std::string good = writeNef(dir.path() / "good.nef", camera(1));
    EXPECT_EQ(runTiffwalker({dir.path().string()}).exitCode, 0);
    EXPECT_EQ(runTiffwalker({good, good}).exitCode, 0);
    EXPECT_EQ(runTiffwalker({good, (dir.path() / "missing.nef").string()}).exitCode, 1);
    EXPECT_EQ(runTiffwalker({"--format", "yaml", good}).exitCode, 2);
    EXPECT_EQ(runTiffwalker({"-r"}).exitCode, 2);

    TempDir empty;
    const auto none = runTiffwalker({empty.path().string()});
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_NE(none.out.find("No camera files found."), std::string::npos);
}

#ifndef _WIN32
// Ctrl-C stops the run after the current file and still prints what was read.
TEST(BatchExit, InterruptPrintsWhatWasReadAndExits130) {
    TempDir dir;
    const synthetic::Bytes nef = synthetic::makeNef(camera(5));
    for (int i = 0; i < 4000; ++i)
        synthetic::writeFile((dir.path() / ("f" + std::to_string(i) + ".nef")).string(), nef);
    const std::string outPath = (dir.path() / "out.txt").string();

    const pid_t child = ::fork();
    if (child == 0) {
        if (!std::freopen(outPath.c_str(), "w", stdout) || !std::freopen("/dev/null", "w", stderr)) _exit(127);
        std::string program = FRAMETALLY_TIFFWALKER_BIN;
        std::string folder = dir.path().string();
        char* argv[] = {program.data(), folder.data(), nullptr};
        ::execv(program.c_str(), argv);
        _exit(127);
    }
    // Interrupt once the child catches SIGINT (bit 2 of SigCgt) and has
    // printed its first rows, so that it is reading.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    bool ready = false;
    int status = 0;
    bool ended = false;
    while (!ready && std::chrono::steady_clock::now() < deadline) {
        if (::waitpid(child, &status, WNOHANG) == child) {
            ended = true;
            break;
        }
        bool catching = false;
        std::ifstream procStatus("/proc/" + std::to_string(child) + "/status");
        for (std::string line; std::getline(procStatus, line);) {
            if (line.rfind("SigCgt:", 0) == 0) catching = (std::stoull(line.substr(7), nullptr, 16) & 2) != 0;
        }
        std::error_code error;
        ready = catching && fs::file_size(outPath, error) > 0;
    }
    if (!ended) {
        ::kill(child, SIGINT);
        ::waitpid(child, &status, 0);
    }
    const auto out = readBytes(outPath);
    const std::string text(out.begin(), out.end());
    ASSERT_TRUE(WIFEXITED(status)) << "the first Ctrl-C does not kill the program";
    if (WEXITSTATUS(status) == 0) GTEST_SKIP() << "the run ended before the interrupt arrived";
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_NE(text.find("Interrupted: "), std::string::npos) << text;
    EXPECT_NE(text.find(" of 4000 files read."), std::string::npos) << text;
    EXPECT_NE(text.find("Highest count per camera body:"), std::string::npos) << "the summary of what was read";
}
#endif
