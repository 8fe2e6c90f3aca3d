#include <gtest/gtest.h>

#include <tiffwalker/tiffwalker.h>
#include "context_free/engine_wide.h"
#include "io/byte_order.h"
#include "io/file_stream.h"
#include "name_tables.h"
#include "reading/count_step.h"
#include "reading/image_reading.h"
#include "reading/original_jpeg_detection.h"
#include "test_support.h"
#include "walk/camera_identity.h"
#include "walk/first_directory.h"
#include "walk/ifd_walker.h"
#include "walk/value_extraction.h"

using namespace tiffwalker;
using testing_support::Bytes;
using testing_support::ByteWriter;
using testing_support::TempDir;

namespace {

// The value/offset field holding these four file bytes, as the entry read
// converts it in the given byte order.
uint32_t field(bool big, std::initializer_list<uint8_t> bytes) {
    uint8_t b[4] = {};
    std::copy(bytes.begin(), bytes.end(), b);
    setBigEndian(big);
    return get32(b);
}

struct Extracted {
    std::string text;
    bool inside = false;
    std::string raw;
    int32_t adjusted = 0;
};

struct Where {
    int32_t ifdType = kIfd0;
    int32_t fileKind = kFileKindTiff;
    int32_t base = 0;
    uint32_t makerNoteHeader = 0;
};

// Runs value extraction on one entry against a file holding `contents`.
Extracted extract(bool big, IFDENTRY entry, const Bytes& contents = {}, Where where = {}) {
    TempDir dir;
    FileStream file;
    file.open(dir.write("values", contents).c_str());
    file.seek(3);
    setBigEndian(big);
    CTagRecord record(entry, where.ifdType);
    record.iFileType = where.fileKind;
    record.iImageType = where.base;
    record.ulMakerNoteHeaderOffset = where.makerNoteHeader;
    record.iASCILabelSkipLength = 8;
    setData(record, file);
    EXPECT_EQ(file.tell(), 3) << "the stream position is put back";
    return {record.stringData, record.isLessThanFourBytes, record.rawData, record.lAdjustedOffset};
}

std::string textOf(bool big, IFDENTRY entry, const Bytes& contents = {}, Where where = {}) {
    return extract(big, entry, contents, where).text;
}

// `size` bytes of zeros with `value` written at `at`.
Bytes placed(size_t size, size_t at, const Bytes& value) {
    Bytes bytes(size, 0);
    std::copy(value.begin(), value.end(), bytes.begin() + static_cast<long>(at));
    return bytes;
}

}  // namespace

TEST(ValueExtraction, ShutterCountIsTheDecimalLong) {
    const Extracted count = extract(true, {0x00a7, kLong, 1, field(true, {0x00, 0x00, 0x02, 0xdb})}, {},
                                    {kMakerNotes, kFileKindTiff, 0, 500});
    EXPECT_EQ(count.text, "731");
    EXPECT_TRUE(count.inside);
    EXPECT_TRUE(count.raw.empty());
    EXPECT_EQ(textOf(false, {0x00a7, kLong, 1, 0xFFFFFFFF}), "-1") << "a 32-bit signed decimal";
}

TEST(ValueExtraction, ValuesAreFoundFromTheRightBase) {
    const Bytes quarter = ByteWriter(false).u32(1).u32(4).bytes();
    // NEF: absolute; JPEG: from the TIFF header at 12; maker notes: from their own header.
    const Extracted nef = extract(false, {0x829a, kRational, 1, 100}, placed(700, 100, quarter));
    EXPECT_EQ(nef.text, "0.250000 ");
    EXPECT_EQ(nef.adjusted, 0);
    const Extracted jpeg =
        extract(false, {0x829a, kRational, 1, 100}, placed(700, 112, quarter), {kIfdExif, kFileKindJpeg, 12, 0});
    EXPECT_EQ(jpeg.text, "0.250000 ");
    EXPECT_EQ(jpeg.adjusted, 12);
    for (const int32_t type : {kMakerNotes, kThumbIfd}) {
        const Extracted note =
            extract(false, {0x829a, kRational, 1, 100}, placed(700, 600, quarter), {type, kFileKindJpeg, 12, 500});
        EXPECT_EQ(note.text, "0.250000 ");
        EXPECT_EQ(note.adjusted, 500);
        EXPECT_FALSE(note.inside);
        EXPECT_EQ(note.raw, std::string("\1\0\0\0\4\0\0\0", 8));
    }
}

TEST(ValueExtraction, RationalsInBothOrders) {
    for (const bool big : {false, true}) {
        const Bytes two = ByteWriter(big).u32(28).u32(10).u32(56).u32(10).bytes();
        EXPECT_EQ(textOf(big, {0x920a, kRational, 2, 8}, placed(40, 8, two)), "2.800000 5.600000 ");
        const Bytes negative = ByteWriter(big).u32(static_cast<uint32_t>(-3)).u32(2).bytes();
        EXPECT_EQ(textOf(big, {0x9204, kSRational, 1, 8}, placed(40, 8, negative)), "-1.500000 ");
        EXPECT_EQ(textOf(big, {0x9204, kRational, 1, 8}, placed(40, 8, negative)), "2147483646.500000 ");
    }
    const Bytes tiny = ByteWriter(false).u32(1).u32(250).bytes();
    EXPECT_EQ(textOf(false, {0x829a, kRational, 1, 8}, placed(40, 8, tiny)), "0.004000 ");
}

TEST(ValueExtraction, ZeroDenominatorsGiveTheIeeeResult) {
    const Bytes zeros = ByteWriter(false).u32(5).u32(0).u32(0).u32(0).u32(static_cast<uint32_t>(-5)).u32(0).bytes();
    EXPECT_EQ(textOf(false, {0x829a, kSRational, 3, 8}, placed(40, 8, zeros)), "inf nan -inf ");
    // ExposureDifference: no divisor below count 3, or a zero third byte.
    EXPECT_EQ(textOf(false, {0x000e, kUndefined, 2, field(false, {2, 1})}), "inf");
    EXPECT_EQ(textOf(false, {0x000e, kUndefined, 4, field(false, {2, 0xff, 0})}), "-inf");
    EXPECT_EQ(textOf(false, {0x000e, kUndefined, 4, field(false, {0, 0, 0})}), "nan");
    EXPECT_EQ(textOf(true, {0x000e, kUndefined, 4, field(true, {0xfe, 3, 6})}), "-1.000000");
}

TEST(ValueExtraction, ShortsBySizeAndByteOrder) {
    for (const bool big : {false, true}) {
        EXPECT_EQ(textOf(big, {0x0112, kShort, 1,
                               field(big, big ? std::initializer_list<uint8_t>{0, 3}
                                              : std::initializer_list<uint8_t>{3, 0})}),
                  "3");
        const uint32_t twoOne = big ? field(big, {0, 2, 0, 1}) : field(big, {2, 0, 1, 0});
        EXPECT_EQ(textOf(big, {0x0212, kShort, 2, twoOne}), "2 1");
        EXPECT_EQ(textOf(big, {0x0102, kShort, 3, 8}, placed(20, 8, ByteWriter(big).u16(1).u16(2).u16(65535).bytes())),
                  "1 2 65535 ");
        // ISOUsed: whichever half holds the number.
        const uint32_t iso = big ? field(big, {0, 0, 0, 200}) : field(big, {0, 0, 200, 0});
        EXPECT_EQ(textOf(big, {0x0002, kShort, 2, iso}), "200");
        EXPECT_EQ(textOf(big, {0x0112, kShort, 0, 0}), "");
    }
}

TEST(ValueExtraction, SignedShortsKeepTheirOddRules) {
    EXPECT_EQ(textOf(true, {0x1000, kSShort, 1, field(true, {0xff, 0xff})}), "-1");
    EXPECT_EQ(textOf(false, {0x1000, kSShort, 1, field(false, {0xff, 0xff})}), "65535");
    EXPECT_EQ(textOf(true, {0x1000, kSShort, 2, field(true, {0xff, 0xff, 0xff, 0xff})}), "-1 65535");
    EXPECT_EQ(textOf(false, {0x1000, kSShort, 2, field(false, {0xff, 0xff, 0xff, 0xff})}), "65535 -1");
    // WhiteBalanceFine: small negative steps under little-endian order.
    EXPECT_EQ(textOf(false, {0x000b, kSShort, 1, field(false, {0xf1, 0xff})}), "-15");
    EXPECT_EQ(textOf(false, {0x000b, kSShort, 1, field(false, {0x00, 0x80})}), "32768");
    EXPECT_EQ(textOf(true, {0x0092, kSShort, 1, field(true, {0xff, 0xfd})}), "-3");
    EXPECT_EQ(
        textOf(false, {0x1000, kSShort, 3, 8}, placed(20, 8, ByteWriter(false).u16(0xffff).u16(1).u16(2).bytes())),
        "65535 1 2 ");
}

TEST(ValueExtraction, LongListsShowFortyValuesAndKeepEveryByte) {
    ByteWriter values(true);
    for (uint32_t i = 0; i < 50; ++i) values.u32(i + 0x10);
    const Extracted list = extract(true, {0x0111, kLong, 50, 16}, placed(400, 16, values.bytes()));
    EXPECT_EQ(list.raw.size(), 200u);
    EXPECT_EQ(list.text.rfind("0x10 0x11 0x12 ", 0), 0u);
    EXPECT_EQ(list.text.substr(list.text.size() - 5), "0x37 ") << "the 40th value ends the text";
}

TEST(ValueExtraction, BytesAndText) {
    for (const bool big : {false, true}) {
        EXPECT_EQ(textOf(big, {0x1000, kByte, 3, field(big, {1, 2, 0xff})}), "1 2 ff");
        EXPECT_EQ(textOf(big, {0x1000, kSByte, 2, field(big, {0xff, 1})}), "255 1");
        EXPECT_EQ(textOf(big, {0x1000, kAscii, 3, field(big, {'O', 'K', 0})}), "OK");
        EXPECT_EQ(textOf(big, {0x1000, kAscii, 2, field(big, {'A', 0})}), "A");
    }
    const std::string make = "NIKON CORPORATION";
    Bytes makeBytes(make.begin(), make.end());
    makeBytes.push_back(0);
    EXPECT_EQ(textOf(false, {0x010f, kAscii, 18, 30}, placed(64, 30, makeBytes)), make);
    // Bytes from the file come with a NUL after them.
    EXPECT_EQ(textOf(false, {0x1000, kByte, 6, 8}, placed(20, 8, {1, 2, 3, 4, 5, 6})),
              std::string("\1\2\3\4\5\6\0", 7));
}

TEST(ValueExtraction, UndefinedValuesByTag) {
    const struct {
        uint16_t tag;
        uint32_t count;
        std::initializer_list<uint8_t> bytes;
        std::string expected;
    } cases[] = {
        {0x008b, 4, {6, 1, 12, 0}, "0.50"},
        {0x008b, 4, {6, 1, 0, 0}, "0.00"},
        {0xa300, 1, {3, 0, 0, 0}, "3"},
        {0xa301, 1, {1, 0, 0, 0}, "1"},
        {0x9101, 4, {1, 2, 3, 0}, "01 02 03 00 "},
        {0x9101, 9, {1, 2, 3, 4}, "01 02 03 04 "},  // only the field's four bytes
        {0x0012, 1, {0xfa, 0, 0, 0}, "fa "},
        {0x9000, 4, {'0', '2', '2', '0'}, "0220"},
        {0x0001, 4, {'1', 0, 0, 0}, std::string("1\0\0\0", 4)},
        {0x927c, 1000, {0x10, 0, 0, 0}, "16"},
        {0x1234, 4, {1, 2, 3, 4}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(textOf(false, {c.tag, kUndefined, c.count, field(false, c.bytes)}, Bytes(2000, 0)), c.expected)
            << std::hex << c.tag;
    }
    EXPECT_EQ(textOf(true, {0x0088, kUndefined, 4, field(true, {1, 2, 0, 4})}), "0x1020004");
}

TEST(ValueExtraction, ByteListsAndUserComments) {
    Bytes curve;
    for (int i = 0; i < 60; ++i) curve.push_back(static_cast<uint8_t>(i));
    const Extracted listed = extract(false, {0x0096, kUndefined, 60, 8}, placed(80, 8, curve));
    EXPECT_EQ(listed.text.size(), 40u * 3) << "forty bytes at most";
    EXPECT_EQ(listed.text.rfind("00 01 02 ", 0), 0u);
    EXPECT_FALSE(listed.inside);

    const Bytes comment = ByteWriter(false).text("ASCII").fill(3).text("hello").fill(2).bytes();
    EXPECT_EQ(textOf(false, {0x9286, kUndefined, 15, 8}, placed(40, 8, comment)), "hello");
    EXPECT_EQ(textOf(false, {0x9286, kUndefined, 5, 8}, placed(40, 8, comment)), "") << "no room after the prefix";
}

TEST(ValueExtraction, TypesWithoutTextStillKeepTheirBytes) {
    for (const uint16_t type : {uint16_t{kSLong}, uint16_t{kFloat}, uint16_t{kDouble}, uint16_t{0}, uint16_t{13}}) {
        EXPECT_EQ(textOf(false, {0x1000, type, 1, 5}, Bytes(20, 7)), "") << type;
    }
    const Extracted dbl = extract(false, {0x1000, kDouble, 2, 4}, Bytes(30, 7));
    EXPECT_EQ(dbl.raw, std::string(16, '\7'));
}

TEST(ValueExtraction, ReadsAreBoundedByTheFile) {
    // Past the end, values read as zeros, and no more are read than the file could hold.
    const Extracted past = extract(false, {0x0102, kShort, 4, 14}, placed(16, 14, {5, 0}));
    EXPECT_EQ(past.text, "5 0 0 0 ");
    EXPECT_EQ(past.raw, std::string("\5\0\0\0\0\0\0\0", 8));

    const Extracted huge = extract(false, {0x0111, kLong, 0x3FFFFFFF, 8}, Bytes(64, 1));
    EXPECT_EQ(huge.raw.size(), 64u) << "raw bytes bounded by the file's length";
    const Extracted shorts = extract(false, {0x0102, kShort, 0xFFFFFFF0, 0}, Bytes(64, 0));
    EXPECT_EQ(shorts.text.size(), 32u * 2);

    // An offset that wraps past 2^31 lies outside the file: zeros.
    EXPECT_EQ(textOf(false, {0x829a, kRational, 1, 0x80000000}, Bytes(64, 1)), "nan ");
}
