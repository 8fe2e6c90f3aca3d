// RAF files: the EXIF segment of the embedded JPEG, found only when the JPEG
// lies inside the file.
#include <gtest/gtest.h>

#include "byte_writer.h"
#include "container/raf_file.h"
#include "container_files.h"
#include "container_test_support.h"
#include "synthetic_files.h"

using container_testing::Bytes;
using container_testing::HeldSource;
using container_testing::placeOf;
using tiffwalker::container::findRafExif;
using tiffwalker::container::isRafFile;

TEST(RafFile, EmbeddedJpegsExifSegmentInBothByteOrders) {
    for (const auto order : {synthetic::Order::Intel, synthetic::Order::Motorola}) {
        synthetic::CameraFile camera;
        camera.order = order;
        const Bytes tiff = synthetic::makeExifTiff(camera);
        const Bytes file =
            containers::raf(containers::jpeg({containers::jfifSegment(), containers::exifSegment(tiff)}));
        HeldSource source(file);
        ASSERT_TRUE(isRafFile(source));
        const auto found = findRafExif(source);
        ASSERT_TRUE(found);
        EXPECT_EQ(found->offset, placeOf(file, tiff));
        EXPECT_EQ(found->length, static_cast<int64_t>(tiff.size()));
        EXPECT_EQ(found->label, "EXIF segment (APP1) of the embedded JPEG");
    }
}

TEST(RafFile, JpegOutsideItsPlaceIsNotRead) {
    bytes::ByteWriter tiny(false);
    tiny.header(8).u16(0).u32(0);
    const Bytes jpeg = containers::jpeg({containers::exifSegment(tiny.bytes())});
    // The JPEG's length ends before its EXIF segment does.
    Bytes cut = containers::raf(jpeg);
    bytes::storeNumber(cut, 88, 10, 4, true);
    HeldSource cutSource(cut);
    EXPECT_FALSE(findRafExif(cutSource));
    // The offset names the RAF header, not a JPEG.
    Bytes header = containers::raf(jpeg);
    bytes::storeNumber(header, 84, 0, 4, true);
    HeldSource headerSource(header);
    EXPECT_FALSE(findRafExif(headerSource));
    // Too short to hold the JPEG's place.
    const Bytes whole = containers::raf(jpeg);
    HeldSource stub(Bytes(whole.begin(), whole.begin() + 86));
    EXPECT_TRUE(isRafFile(stub));
    EXPECT_FALSE(findRafExif(stub));
    HeldSource other(Bytes(100, 'F'));
    EXPECT_FALSE(isRafFile(other));
}
