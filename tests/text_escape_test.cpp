// Texts from file systems and files made safe for a terminal.
#include "text_escape.h"

#include <gtest/gtest.h>

#include <sstream>

#include "report_writer.h"

using namespace frametally::cli;

TEST(TextEscape, TerminalSeesEscapesForControlsAndBytesThatAreNotUtf8) {
    EXPECT_EQ(escapedForDisplay("DSC\n\t\x1b[31m\xFF\xC3\xA4.NEF"), "DSC\\n\\t\\x1b[31m\\xff\xC3\xA4.NEF");
    EXPECT_EQ(displayWidth("\xC3\xA4"
                           "bc"),
              3u);
    EXPECT_TRUE(isValidUtf8("\xF0\x9F\x98\x80"));
    for (const char* bad : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82"})
        EXPECT_FALSE(isValidUtf8(bad)) << bad;
}

TEST(TextEscape, WidthIsTheColumnsATerminalDraws) {
    EXPECT_EQ(displayWidth("\xE5\x86\x99\xE7\x9C\x9F.NEF"), 8u);  // 写真: two columns each
    EXPECT_EQ(displayWidth("\xF0\x9F\x93\xB7x"), 3u);             // a camera emoji, then x
    EXPECT_EQ(displayWidth("e\xCC\x81"), 1u);                     // e and a combining acute accent
    EXPECT_EQ(displayWidth("\xEF\xBD\xB6"), 1u);                  // halfwidth katakana
}

// Japanese and emoji names must not push the columns after them out of line.
TEST(TextEscape, TableColumnsLineUpAfterWideNames) {
    const std::vector<std::string> paths = {"\xE5\x86\x99\xE7\x9C\x9F/DSC_0001.NEF", "\xF0\x9F\x93\xB7.NEF",
                                            "plain.NEF"};
    std::ostringstream out;
    const auto writer = makeTextTableWriter(out, paths);
    for (const std::string& path : paths) {
        FileOutcome outcome;
        outcome.path = path;
        outcome.status = Status::Count;
        outcome.result = "3619";
        writer->row(outcome);
    }
    std::istringstream lines(out.str());
    std::string header;
    std::getline(lines, header);
    const size_t resultColumn = displayWidth(header.substr(0, header.find("RESULT")));
    for (std::string line; std::getline(lines, line) && !line.empty();) {
        EXPECT_EQ(displayWidth(line.substr(0, line.find("3619"))), resultColumn) << line;
    }
}
