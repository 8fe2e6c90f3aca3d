// Texts from file systems and files made safe for a terminal.
#include "text_escape.h"

#include <gtest/gtest.h>

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
