#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "name_tables.h"

namespace tiffwalker {
namespace {

std::string padded(const std::string& label, size_t width) { return label + std::string(width - label.size(), ' '); }

TEST(TagNames, LabelsArePaddedToTheColumnWidth) {
    EXPECT_EQ(getTagName(0x00a7), padded("ShutterCount", 27));
    EXPECT_EQ(getTagName(0xfffe), padded("TiffwalkerWProgramVersion", 27));
    EXPECT_EQ(getTagName(0xffff), padded("Ignored Tag", 27));
    EXPECT_EQ(getTagName(0x0001), padded("FileSystemVersion", 27));
    EXPECT_EQ(getTagName(0x0e09), padded("SoftwareNC", 27));
    EXPECT_EQ(getTagName(0x9208), padded("LightSourceEXIF", 27));
    EXPECT_EQ(getTagName(0xa500), padded("Gamma", 27));
    // A known number without a name keeps the padding; an unknown one does not.
    EXPECT_EQ(getTagName(0x000a), padded("Unknown", 27));
    EXPECT_STREQ(getTagName(0x000f), "Unknown");
    EXPECT_EQ(getTagName(0x000f), kUnknownName);
}

TEST(TagNames, WholeTableHas185PaddedRowsOf24Unnamed) {
    int rows = 0;
    int unnamed = 0;
    for (uint32_t tag = 0; tag <= 0xffff; ++tag) {
        const std::string name = getTagName(tag);
        if (name == "Unknown") continue;
        ++rows;
        EXPECT_EQ(name.size(), 27u) << std::hex << tag;
        if (name == padded("Unknown", 27)) ++unnamed;
        // The argument is compared whole: higher bits never find a row.
        EXPECT_EQ(getTagName(tag | 0x10000), kUnknownName) << std::hex << tag;
        EXPECT_EQ(getTagName(tag | 0x80000000u), kUnknownName) << std::hex << tag;
    }
    EXPECT_EQ(rows, 185);
    EXPECT_EQ(unnamed, 24);
}

TEST(TypeNames, NamesAndSizes) {
    struct Case {
        uint32_t type;
        int32_t size;
        const char* name;
    };
    // The sizes that decide where a value lies, and the edges of the table.
    const Case cases[] = {
        {0, 0, "Unspecified"},
        {2, 1, "ASCIIZ string"},
        {5, 8, "32-bit unsigned rational"},
        {10, 8, "32-bit signed rational"},
        {12, 8, "8-byte IEEE floating point"},
        {13, 0, "Unknown"},
        {0x10003, 0, "Unknown"},
        {0xffffffffu, 0, "Unknown"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(getTypeSize(c.type), c.size);
        EXPECT_STREQ(getTypeName(c.type), c.name);
    }
}

TEST(ValueNames, FourTiffTagsAndIfdTypes) {
    struct Case {
        const char* (*lookup)(uint32_t);
        uint32_t value;
        const char* name;
    };
    const Case cases[] = {
        {getCompressionName, 1, "Uncompressed"},
        {getCompressionName, 2, "CCITT1D"},
        {getCompressionName, 32773, "PackBits"},
        {getCompressionName, 7, "Unknown"},
        {getCompressionName, 0x18005, "Unknown"},
        {getPhotometricName, 0, "WhiteIsZero"},
        {getPhotometricName, 7, "Unknown"},
        {getPhotometricName, 8, "CIELab"},
        {getResolutionUnitName, 0, "Unknown"},
        {getResolutionUnitName, 2, "Inches"},
        {getResolutionUnitName, 3, "Centimeters"},
        {getPlanarConfigName, 2, "Planar"},
        {getPlanarConfigName, 0x10001, "Unknown"},
        {getIfdTypeName, kIfdSpecial, "SPECIAL     "},
        {getIfdTypeName, kMakerNotes, "MAKER_NOTES "},
        {getIfdTypeName, kThumbIfd, "THUMB_IFD   "},
        {getIfdTypeName, 10, "Unknown"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_STREQ(c.lookup(c.value), c.name);
    }
}

}  // namespace
}  // namespace tiffwalker
