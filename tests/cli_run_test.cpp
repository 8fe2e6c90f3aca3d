// The command's policy through run(): exit statuses, where the engine's text
// and errors go, the quiet rule beside a table on a terminal.
#include "run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "synthetic_files.h"
#include "test_support.h"

using frametally::cli::EngineText;
using frametally::cli::Format;
using frametally::cli::RunOptions;
using testing_support::TempDir;

namespace {

struct Ran {
    int exitCode;
    std::string out, err;
};

Ran ran(const RunOptions& options) {
    std::ostringstream out, err;
    const int code = frametally::cli::run(options, out, err);
    return {code, out.str(), err.str()};
}

// A JPEG whose EXIF header is malformed: the reading raises an error.
const testing_support::Bytes kBrokenJpeg = {0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x10, 'E', 'x', 'i', 'f', 0, 0, 'I', 'M',
                                            0x2A, 0,    8,    0,    0,    0,    0,   0,   0,   0,   0, 0, 0,   0};

class RunTest : public testing::Test {
protected:
    TempDir dir;
    std::string nef = dir.write("a.NEF", synthetic::makeNef({}));
    std::string text = dir.write("notes.txt", {'h', 'i'});
    std::string broken = dir.write("broken.JPG", kBrokenJpeg);
};

}  // namespace

TEST_F(RunTest, ExitStatusIsTheWorstOfTheRun) {
    RunOptions options;
    options.operands = {nef};
    EXPECT_EQ(ran(options).exitCode, 0);
    EXPECT_EQ(ran(options).out, "1234\n");
    options.operands = {nef, text};
    EXPECT_EQ(ran(options).exitCode, 1);
    options.operands = {nef, broken, text};
    EXPECT_EQ(ran(options).exitCode, 3);
    options.operands = {nef, (dir.path() / "missing").string()};
    EXPECT_EQ(ran(options).exitCode, 1);
}

TEST_F(RunTest, EmptyFileIsNotReadableAndSaysSo) {
    RunOptions options;
    options.operands = {dir.write("empty.NEF", {})};
    options.format = Format::Json;
    const Ran empty = ran(options);
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_NE(empty.out.find("\"status\":\"not_readable\""), std::string::npos) << empty.out;
    EXPECT_NE(empty.out.find("\"reason\":\"the file is empty\""), std::string::npos) << empty.out;
}

TEST_F(RunTest, RaisedErrorsGoToErrUnlessATableIsOnTheTerminal) {
    RunOptions options;
    options.operands = {broken};
    Ran one = ran(options);
    EXPECT_EQ(one.exitCode, 3);
    EXPECT_EQ(one.out, "");  // no result line: the error is the answer
    EXPECT_NE(one.err.find("error: The EXIF segment holds no valid TIFF header"), std::string::npos) << one.err;

    options.operands = {nef, broken};
    options.format = Format::Tsv;
    const Ran batch = ran(options);
    EXPECT_NE(batch.err.find("error: " + broken + ": "), std::string::npos) << batch.err;

    // Beside a table on a terminal the row's reason says it: nothing on err.
    options.format = Format::Text;
    options.outIsTerminal = true;
    const Ran table = ran(options);
    EXPECT_EQ(table.err, "");
    EXPECT_NE(table.out.find("why: the reading raised an error"), std::string::npos) << table.out;
    options.problems = true;
    EXPECT_NE(ran(options).err, "");
}

TEST_F(RunTest, TraceListingGoesToOutInFileOrderOnAnyNumberOfThreads) {
    RunOptions options;
    options.operands = {nef, nef + "-missing", nef};
    options.trace = true;
    options.threads = 1;
    const Ran one = ran(options);
    options.threads = 3;
    const Ran three = ran(options);
    EXPECT_EQ(one.out, three.out);
    EXPECT_GT(one.out.size(), 500u);
}

TEST(RunRouting, EngineTextIsDiscardedHeldOrDirect) {
    RunOptions options;
    options.outIsTerminal = true;
    EXPECT_EQ(frametally::cli::engineTextFor(options, true, 5), EngineText::Discarded);
    EXPECT_EQ(frametally::cli::engineTextFor(options, false, 1), EngineText::Direct);
    options.threads = 2;
    options.outIsTerminal = false;
    EXPECT_EQ(frametally::cli::engineTextFor(options, true, 5), EngineText::Held);
    EXPECT_EQ(frametally::cli::engineTextFor(options, true, 1), EngineText::Direct);
    options.format = Format::Json;
    options.outIsTerminal = true;
    EXPECT_EQ(frametally::cli::engineTextFor(options, true, 5), EngineText::Held);
}
