#include <gtest/gtest.h>

#include <cstring>

#include <tiffwalker/tiff_structures.h>
#include "context_free/engine_wide.h"
#include "io/byte_order.h"
#include "io/file_stream.h"
#include "test_support.h"
#include "text/text_format.h"

using namespace tiffwalker;
using testing_support::Bytes;
using testing_support::CapturedOutput;
using testing_support::TempDir;

namespace {

struct OpenedBytes {
    TempDir dir;
    FileStream file;
    explicit OpenedBytes(const Bytes& bytes) { file.open(dir.write("f", bytes).c_str()); }
};

TIFFHEADER readHeader(const Bytes& bytes, int* result = nullptr) {
    OpenedBytes opened(bytes);
    TIFFHEADER header;
    const int got = header.read(opened.file);
    if (result != nullptr) *result = got;
    return header;
}

}  // namespace

TEST(ByteOrder, DecodesFromBytesInEitherOrder) {
    const unsigned char bytes[4] = {0x12, 0x34, 0x56, 0x78};
    setBigEndian(true);
    EXPECT_EQ(get16(bytes), 0x1234);
    EXPECT_EQ(get32(bytes), 0x12345678u);
    setBigEndian(false);
    EXPECT_EQ(get16(bytes), 0x3412);
    EXPECT_EQ(get32(bytes), 0x78563412u);
    uint32_t stored;
    std::memcpy(&stored, bytes, 4);
    EXPECT_EQ(toHost32(stored), 0x78563412u);
    setBigEndian(true);
    EXPECT_EQ(toHost32(stored), 0x12345678u);
}

TEST(TiffHeader, ReadsBothByteOrders) {
    const TIFFHEADER intel = readHeader({0x49, 0x49, 0x2A, 0x00, 0x08, 0x00, 0x00, 0x00});
    EXPECT_FALSE(isBigEndian());
    EXPECT_EQ(intel.iden, 42);
    EXPECT_EQ(intel.ifdofs, 8u);
    EXPECT_TRUE(intel.isValid());

    const TIFFHEADER motorola = readHeader({0x4D, 0x4D, 0x00, 0x2A, 0x00, 0x00, 0x00, 0x08});
    EXPECT_TRUE(isBigEndian());
    EXPECT_EQ(motorola.iden, 42);
    EXPECT_EQ(motorola.ifdofs, 8u);
    EXPECT_TRUE(motorola.isValid());
}

TEST(TiffHeader, RefusesJpegAndMismatchedMarks) {
    setBigEndian(false);
    const TIFFHEADER jpeg = readHeader({0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x10, 0x45, 0x78});
    EXPECT_FALSE(jpeg.isValid());
    EXPECT_TRUE(isBigEndian()) << "any mark other than II means big-endian";

    // A little-endian 42 behind an "MM" mark reads as 0x2a00.
    const TIFFHEADER mixed = readHeader({0x4D, 0x4D, 0x2A, 0x00, 0x00, 0x00, 0x00, 0x08});
    EXPECT_EQ(mixed.iden, 0x2a00);
    EXPECT_FALSE(mixed.isValid());
}

TEST(TiffHeader, ShortReadKeepsPresetAndByteOrder) {
    setBigEndian(false);
    int result = 0;
    readHeader({0x4D, 0x4D, 0x00, 0x2A, 0x00, 0x00, 0x00}, &result);
    EXPECT_EQ(result, -1);
    EXPECT_FALSE(isBigEndian());

    // "MM" alone keeps the preset 42 and offset 0, and so passes the check.
    const TIFFHEADER two = readHeader({0x4D, 0x4D}, &result);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(two.order, 0x4d4d);
    EXPECT_EQ(two.iden, 42);
    EXPECT_EQ(two.ifdofs, 0u);
    EXPECT_TRUE(two.isValid());

    const TIFFHEADER empty = readHeader({}, &result);
    EXPECT_EQ(result, -1);
    EXPECT_TRUE(empty.isValid());

    readHeader({0x49, 0x49, 0x2A, 0x00, 0x08, 0x00, 0x00, 0x00}, &result);
    EXPECT_EQ(result, 0);
}

TEST(TiffHeader, PrintNamesTheByteOrder) {
    const struct {
        uint16_t order;
        const char* firstLine;
    } cases[] = {{0x4949, "TIFFHEADER::order           = 4949h (Intel)\n"},
                 {0x4d4d, "TIFFHEADER::order           = 4D4Dh (Motorola)\n"},
                 {0xd8ff, "TIFFHEADER::order           = D8FFh (?]\n"}};
    for (const auto& c : cases) {
        CapturedOutput out;
        TIFFHEADER header;
        header.order = c.order;
        header.ifdofs = 0xFFFFFFFF;
        header.print();
        EXPECT_EQ(out.text(), std::string(c.firstLine) +
                                  "TIFFHEADER::iden            = 42\n"
                                  "TIFFHEADER::ifdofs          = -1\n");
    }
}

TEST(IfdEntry, ConvertsEveryFieldAndTheWholeValueField) {
    {
        setBigEndian(true);
        OpenedBytes opened({0x01, 0x03, 0x00, 0x03, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00});
        IFDENTRY entry;
        EXPECT_EQ(entry.read(opened.file), 0);
        EXPECT_EQ(entry.tag, 259);
        EXPECT_EQ(entry.type, 3);
        EXPECT_EQ(entry.count, 1u);
        EXPECT_EQ(entry.valofs, 0x00010000u) << "a SHORT in a big-endian entry lands in the upper half";
        CapturedOutput out;
        entry.print();
        EXPECT_NE(out.text().find("IFDENTRY::valofs            = 65536(0x10000)  *  (Unknown)"), std::string::npos)
            << out.text();
    }
    {
        setBigEndian(false);
        OpenedBytes opened({0x03, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00});
        IFDENTRY entry;
        entry.read(opened.file);
        EXPECT_EQ(entry.valofs, 1u);
        CapturedOutput out;
        entry.print();
        EXPECT_NE(out.text().find("= 1(0x1)  *  (Uncompressed)"), std::string::npos) << out.text();
    }
}

TEST(IfdEntry, ShortReadKeepsRawBytesOverZeros) {
    setBigEndian(true);
    OpenedBytes opened({0x00, 0xA7, 0x00});
    IFDENTRY entry{};
    EXPECT_EQ(entry.read(opened.file), -1);
    EXPECT_EQ(entry.tag, 0xA700) << "unconverted: the stored bytes as they lie in memory";
    EXPECT_EQ(entry.type, 0);
    EXPECT_EQ(entry.count, 0u);
}

TEST(IfdEntry, PrintMarksValuesHeldInTheEntry) {
    const struct {
        IFDENTRY entry;
        const char* expected;
    } cases[] = {
        {{0x829a, 5, 1, 100}, "IFDENTRY::valofs            = 100(0x64)     "},  // 8 bytes: elsewhere
        {{0x00a7, 4, 1, 731}, "IFDENTRY::valofs            = 731(0x2db)  *  "},
        {{0x1234, 99, 1000, 7}, "IFDENTRY::valofs            = 7(0x7)  *  "},  // unknown type: size 0
        {{0x0128, 3, 1, 2}, "= 2(0x2)  *  (Inches)"},
        {{0x011c, 3, 1, 2}, "(Planar)"},
        {{0x0106, 3, 1, 8}, "(CIELab)"},
    };
    for (const auto& c : cases) {
        CapturedOutput out;
        c.entry.print();
        EXPECT_NE(out.text().find(c.expected), std::string::npos) << out.text();
    }
    CapturedOutput out;
    IFDENTRY{0x00a7, 4, 1, 0xFFFFFFFF}.print();
    EXPECT_EQ(out.text(),
              "IFDENTRY::tag               = 167(0xa7) (ShutterCount               )\n"
              "IFDENTRY::type              = 4 (32-bit unsigned)\n"
              "IFDENTRY::count             = 1\n"
              "IFDENTRY::valofs            = 4294967295(0xffffffff)  *  ");
}

TEST(TextFormat, FastFormsMatchPrintf) {
    for (const uint32_t value : {0u, 7u, 0xabu, 0x1020004u, 0xffffffffu}) {
        std::string hex, padded, decimal;
        appendHex(hex, value);
        appendHex(padded, value, 7);
        appendDecimal(decimal, static_cast<int32_t>(value));
        EXPECT_EQ(hex, formatText("%x", value));
        EXPECT_EQ(padded, formatText("%07x", value));
        EXPECT_EQ(decimal, formatText("%d", static_cast<int32_t>(value)));
    }
}
