#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include <tiffwalker/tag_record.h>
#include "name_tables.h"
#include "test_support.h"
#include "text/text_format.h"
#include "walk/display_text.h"

namespace tiffwalker {
namespace {

std::string display(uint16_t tag, const std::string& valueText, int32_t ifdType = kIfdExif) {
    CTagRecord rec(IFDENTRY{tag, 3, 1, 0}, ifdType);
    return rec.setDisplayStringData(valueText);
}

struct Case {
    uint16_t tag;
    std::string value;
    std::string expected;
};

void expectAll(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "tag 0x" << std::hex << c.tag << " value '" << c.value << "'");
        EXPECT_EQ(display(c.tag, c.value), c.expected);
    }
}

// One row of every code table, so that each tag reaches its own table.
TEST(DisplayText, EveryCodeTableTagReachesItsTable) {
    expectAll({
        {0x0103, "2", "CCITT 1D"},
        {0x0103, "34713", "Nikon NEF Compressed"},
        {0x0106, "32803", "Color Filter Array"},
        {0x0112, "6", "Rotated 90 CW"},
        {0x011c, "1", "Chunky"},
        {0x0128, "2", "inches"},
        {0x0213, "2", "Co-sited"},
        {0x8822, "3", "Aperture-priority AE"},
        {0x9207, "5", "Multi-segment"},
        {0x9208, "255", "Other"},
        {0x9209, "71", "Fired, Fired, Red-eye reduction, Return detected"},
        {0x9217, "2", "One-chip color area"},
        {0xa217, "8", "Color sequential linear"},
        {0xa001, "65535", "Uncalibrated"},
        {0xa300, "3", "Digital Camera"},
        {0xa301, "1", "Directly photographed"},
        {0xa401, "1", "Custom"},
        {0xa402, "2", "Auto bracket"},
        {0xa403, "0", "Auto"},
        {0xa406, "3", "Night"},
        {0xa407, "4", "High gain down"},
        {0xa40c, "3", "Distant"},
        {0x0083, "e", "G-VR"},
        {0x0087, "9", "Fired, TTL Mode"},
        {0x0088, "0x1020004", "Dynamic Area, Bottom"},
        {0x0088, "0x0000400", "Right"},
        {0xfffb, "125", "Nikkor AF-S 17-55/2.8 G IF-ED DX"},
    });
}

TEST(DisplayText, CodesMatchOnlyTheWholeValueText) {
    expectAll({
        {0x0112, "0", "Unknown (0)"},
        {0x0112, "9", "Unknown (9)"},
        {0x0112, "06", "Unknown (06)"},
        {0x0112, " 6", "Unknown ( 6)"},
        {0x0112, "6 ", "Unknown (6 )"},
        {0x0112, "1 2", "Unknown (1 2)"},
        {0x0112, "", "Unknown ()"},
        {0x9209, "88", "Unknown (88)"},
        {0x9207, "1", "Unknown (1)"},
        {0x8822, "0", "Unknown (0)"},
        {0x0083, "1", "Unknown (1)"},
        {0x0083, "E", "Unknown (E)"},
        {0x0087, "1", "Unknown (1)"},
        {0x0088, "0x10200040", "Unknown (0x10200040)"},
        {0x0088, "0X1020004", "Unknown (0X1020004)"},
    });
    // A NUL inside the value text is part of it: "6\0" is not "6".
    const std::string withNul("6\0", 2);
    EXPECT_EQ(display(0x0112, withNul), "Unknown (" + withNul + ")");
}

TEST(DisplayText, OtherTagsShowTheirValueText) {
    expectAll({
        {0x0110, "NIKON D70", "NIKON D70"},
        {0x00a7, "731", "731"},
        {0x0004, "RAW    ", "RAW    "},
        {0x9204, "-0.333333 ", "-0.333333 "},
        {0xfff1, "12", "12"},
        {0x010f, "", ""},
    });
    const std::string withNul("NIKON\0 D70", 10);
    EXPECT_EQ(display(0x0110, withNul), withNul);
}

TEST(DisplayText, TagNumberAloneDecides) {
    for (int32_t ifd : {kIfdSpecial, kIfd0, kIfdExif, kMakerNotes, kThumbIfd}) {
        EXPECT_EQ(display(0x00a7, "731", ifd), "731");
        EXPECT_EQ(display(0x0112, "8", ifd), "Rotated 90 CCW");
    }
}

TEST(DisplayText, OffsetFormat) {
    expectAll({
        {0x8769, "212", "212(0x00d4)"},
        {0x0111, "8", "8(0x0008)"},
        {0x0201, "0", "0(0x0000)"},
        {0x927c, "70000", "70000(0x11170)"},
        {0xa005, "  +12x", "12(0x000c)"},
        {0x0011, "1234", "1234(0x04d2)"},
        {0x0111, "0x8 0x20 ", "0(0x0000)"},
        {0x0111, "", "0(0x0000)"},
        {0x0111, "-1", "-1(0xffffffff)"},
        {0x0111, "4294967295", "2147483647(0x7fffffff)"},
        {0x0111, "-99999999999999999999", "-2147483648(0x80000000)"},
    });
}

TEST(DisplayText, ExposureTime) {
    expectAll({
        {0x829a, "0.004000 ", "1/250 seconds"},
        {0x829a, "0.500000 ", "1/2 seconds"},
        {0x829a, "0.400000 ", "1/3 seconds"},
        {0x829a, "0.333333 ", "1/3 seconds"},
        {0x829a, "0.600000 ", "0.6000 seconds"},
        {0x829a, "2.500000 ", "2.5000 seconds"},
        {0x829a, "30.000000 ", "30.0000 seconds"},
        {0x829a, "  4e-3", "1/250 seconds"},
        {0x829a, ".125", "1/8 seconds"},
        // No value, or a value of 0: there is no fraction to show.
        {0x829a, "0.000000 ", "0 seconds"},
        {0x829a, "-0", "0 seconds"},
        {0x829a, "", "0 seconds"},
        {0x829a, "seconds", "0 seconds"},
        {0x829a, "1e-400", "0 seconds"},
        // Too short for a 32-bit denominator: it stops at the end of the range.
        {0x829a, "0.000000000001 ", "1/2147483647 seconds"},
        {0x829a, "1e-300", "1/2147483647 seconds"},
    });
}

// A desktop application runs in the user's locale, which may write "2,5000".
TEST(DisplayText, NumbersKeepTheirPointInADecimalCommaLocale) {
    const testing_support::DecimalCommaLocale commas;
    if (!commas.active()) GTEST_SKIP() << "no locale with a decimal comma could be set";
    expectAll({{0x829a, "2.500000 ", "2.5000 seconds"}, {0x829d, "5.600000 ", "5.60"}});
    EXPECT_EQ(formatText("%0.2f", 3.5), "3.50");
}

TEST(DisplayText, NumberCutsAndUnits) {
    expectAll({
        {0x829d, "5.600000 ", "5.60"},
        {0x829d, "8.000000 ", "8.00"},
        {0x829d, "11.000000 ", "11.00"},
        {0x829d, "2.899999 ", "2.89"},
        {0x829d, "8", "8"},
        {0x829d, "", ""},
        {0x920a, "18.000000 ", "18 mm"},
        {0x920a, "10.500000 ", "10.5 mm"},
        {0x920a, "35.050000 ", "35 mm"},
        {0x920a, "50", "50 mm"},
        {0x920a, "", " mm"},
        {0xa405, "27", "27 mm"},
        {0xa405, "0", "0 mm"},
    });
}

TEST(DisplayText, LevelFormat) {
    for (uint16_t tag : {uint16_t{0xa408}, uint16_t{0xa409}, uint16_t{0xa40a}}) {
        expectAll({
            {tag, "0", "Normal"},
            {tag, "", "Normal"},
            {tag, "1", "1"},
            {tag, "2", "2"},
            {tag, "65535", "-1"},
            {tag, "65521", "-15"},
            {tag, "65520", "65520"},
            {tag, "-3", ""},
            {tag, "99999999999", "2147418111"},
        });
    }
}

}  // namespace
}  // namespace tiffwalker
