#include <gtest/gtest.h>

#include <string>

#include <tiffwalker/tag_record.h>
#include "name_tables.h"
#include "walk/display_text.h"

namespace tiffwalker {
namespace {

constexpr uint16_t kLensTag = 0x0084;
constexpr uint16_t kLensIdTag = 0xfffb;

TEST(LensText, DescriptionForms) {
    struct Case {
        const char* value;
        const char* expected;
    };
    const Case cases[] = {
        {"18.000000 70.000000 3.500000 4.500000 ", "18-70 mm f/3.5-4.5"},
        {"50.000000 50.000000 1.800000 1.800000 ", "50 mm f/1.8"},
        {"17.000000 55.000000 2.800000 2.800000 ", "17-55 mm f/2.8"},
        {"12.000000 24.000000 4.000000 4.000000 ", "12-24 mm f/4.0"},
        {"200.000000 400.000000 4.000000 4.000000 ", "200-400 mm f/4.0"},
        {"10.500000 10.500000 2.800000 2.800000 ", "10.5 mm f/2.8"},
        // Equal focal lengths with two apertures keep both focal lengths.
        {"105.000000 105.000000 2.800000 3.000000 ", "105-105 mm f/2.8-3.0"},
        // The longest focal length never shows decimals.
        {"24.000000 85.500000 2.800000 4.000000 ", "24-85 mm f/2.8-4.0"},
        // Texts are compared before they are cut.
        {"18.000000 18.000001 3.500000 3.500000 ", "18-18 mm f/3.5"},
        // A fifth number is ignored; doubled blanks are not.
        {"18.000000 70.000000 3.500000 4.500000 9.000000 ", "18-70 mm f/3.5-4.5"},
        {"18 70 3 4", "18-70 mm f/3-4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        CTagRecord rec(IFDENTRY{kLensTag, 5, 4, 0}, kMakerNotes);
        rec.stringData = c.value;
        EXPECT_EQ(rec.setDisplayStringData(c.value), c.expected);
        EXPECT_EQ(rec.lensStringData, c.expected);
        EXPECT_EQ(rec.stringData, c.value);
    }
}

TEST(LensText, FewerThanFourNumbersShowTheValueText) {
    const std::string cases[] = {
        "",
        " ",
        "18.000000 70.000000 3.500000 ",
        "18.000000",
        std::string("18.000000 70.000000\0 3.500000 4.500000 ", 39),
    };
    for (const std::string& value : cases) {
        SCOPED_TRACE(value);
        CTagRecord rec(IFDENTRY{kLensTag, 5, 3, 0}, kMakerNotes);
        EXPECT_EQ(rec.setDisplayStringData(value), value);
        EXPECT_EQ(rec.lensStringData, value);
    }
}

TEST(LensText, OnlyTheLensTagWritesTheDescription) {
    CTagRecord rec(IFDENTRY{0x0083, 1, 1, 0}, kMakerNotes);
    rec.setDisplayStringData("18.000000 70.000000 3.500000 4.500000 ");
    EXPECT_TRUE(rec.lensStringData.empty());
}

TEST(LensText, CutAfterPoint) {
    struct Case {
        const char* text;
        int n;
        const char* expected;
    };
    const Case cases[] = {
        {"18.000000 ", 0, "18"},  {"3.500000", 2, "3.5"},
        {"5.600000 ", 3, "5.60"}, {"2.899999", 2, "2.8"},
        {"5.6", 3, "5.6"},        {"5.", 2, "5."},
        {"1.2.3", 2, "1.2"},      {".5", 0, ""},
        {"abc", 2, "abc"},        {"", 0, ""},
        {"3.5", -4, "3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " n=" << c.n);
        EXPECT_EQ(cutAfterPoint(c.text, c.n), c.expected);
    }
}

TEST(LensText, FocalCutLooksAtTheFirstDecimalOnly) {
    EXPECT_EQ(getFocalCut("18.000000"), 0);
    EXPECT_EQ(getFocalCut("35.050000"), 0);
    EXPECT_EQ(getFocalCut("10.500000"), 2);
    EXPECT_EQ(getFocalCut("18."), 2);
    EXPECT_EQ(getFocalCut("18"), 2);
    EXPECT_EQ(getFocalCut(""), 2);
}

TEST(LensText, LensIdNames) {
    struct Case {
        const char* value;
        const char* expected;
    };
    const Case cases[] = {
        {"2", "Unknown Nikkor or Sigma non D-type"},
        {"47", "Nikkor AF 28-70/3.5-4.5 D"},
        {"38", "Unkown Nikkor or Sigma D-type"},
        {"52", "Unknown Nikkor or Tameron"},
        {"127", "Nikkor AF-S 18-70/3.5-4.5 G IF-ED DX"},
        {"140", "Nikkor 18-55mm F/3.5-5.6G"},
        {"Unknown", "Unknown Nikkor or Non-Nikkor Lens"},
        {"48", "Unknown (48)"},
        {"052", "Unknown (052)"},
        {"unknown", "Unknown (unknown)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        CTagRecord rec(IFDENTRY{kLensIdTag, 3, 1, 0}, kMakerNotes);
        EXPECT_EQ(rec.setDisplayStringData(c.value), c.expected);
    }
}

}  // namespace
}  // namespace tiffwalker
