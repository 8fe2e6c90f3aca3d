// Canon's CMT boxes in CR3 files: each a TIFF structure of its own, found in
// Canon's uuid box inside moov and nowhere else.
#include <gtest/gtest.h>

#include "byte_writer.h"
#include "container/cr3_boxes.h"
#include "container_files.h"
#include "container_test_support.h"
#include "synthetic_files.h"

using container_testing::Bytes;
using container_testing::HeldSource;
using container_testing::placeOf;
using tiffwalker::container::findCr3Structures;
using tiffwalker::container::isCr3File;
using tiffwalker::container::TiffRole;

namespace {

Bytes tiffWith(uint16_t tag, bool bigEndian) {
    bytes::ByteWriter out(bigEndian);
    out.header(8).u16(1).entry(tag, 3, 1, bigEndian ? 0x00070000u : 7u).u32(0);
    return out.bytes();
}

}  // namespace

TEST(Cr3Boxes, TheThreeCmtBoxesInBothByteOrders) {
    for (const bool bigEndian : {false, true}) {
        const Bytes cmt1 = tiffWith(0x0112, bigEndian);
        const Bytes cmt2 = tiffWith(0x8827, bigEndian);
        const Bytes cmt3 = tiffWith(0x0001, bigEndian);
        const Bytes file = containers::cr3(cmt1, cmt2, cmt3);
        HeldSource source(file);
        ASSERT_TRUE(isCr3File(source));
        const auto found = findCr3Structures(source);
        ASSERT_EQ(found.size(), 3u);
        EXPECT_EQ(found[0].offset, placeOf(file, cmt1));
        EXPECT_EQ(found[0].role, TiffRole::Main);
        EXPECT_EQ(found[0].label, "CMT1 box (IFD0)");
        EXPECT_EQ(found[1].offset, placeOf(file, cmt2));
        EXPECT_EQ(found[1].role, TiffRole::ExifDirectory);
        EXPECT_EQ(found[2].offset, placeOf(file, cmt3));
        EXPECT_EQ(found[2].role, TiffRole::MakerNote);
        for (const auto& structure : found) EXPECT_EQ(structure.length, static_cast<int64_t>(cmt1.size()));
    }
}

TEST(Cr3Boxes, MissingOrUnreadableBoxesAreLeftOut) {
    const Bytes tiff = tiffWith(0x0112, false);
    HeldSource withoutExif(containers::cr3(tiff, {}, tiff));
    const auto found = findCr3Structures(withoutExif);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[1].role, TiffRole::MakerNote);
    Bytes notTiff = tiff;
    notTiff[0] = 'X';
    HeldSource unreadable(containers::cr3(notTiff, tiff, {}));
    ASSERT_EQ(findCr3Structures(unreadable).size(), 1u);
    EXPECT_EQ(findCr3Structures(unreadable)[0].role, TiffRole::ExifDirectory);
}

TEST(Cr3Boxes, OnlyCanonsUuidHoldsThem) {
    const Bytes tiff = tiffWith(0x0112, false);
    Bytes file = containers::cr3(tiff, tiff, tiff);
    const int64_t uuid = placeOf(file, {0x85, 0xc0, 0xb6, 0x87});
    ASSERT_GT(uuid, 0);
    file[static_cast<size_t>(uuid + 15)] ^= 0xFF;
    HeldSource source(file);
    EXPECT_TRUE(findCr3Structures(source).empty());
}

TEST(Cr3Boxes, OnlyTheCrxMajorBrandIsCr3) {
    HeldSource heif(containers::box("ftyp", {'h', 'e', 'i', 'c', 0, 0, 0, 0, 'c', 'r', 'x', ' '}));
    EXPECT_FALSE(isCr3File(heif));
    HeldSource tiny(Bytes{0, 0, 0, 8, 'f', 't', 'y', 'p'});
    EXPECT_FALSE(isCr3File(tiny));
}
