// The EXIF segment of JPEG data, found wherever it lies before the start of
// scan, and nothing found where it is not one.
#include <gtest/gtest.h>

#include "container/jpeg_segments.h"
#include "container_files.h"
#include "container_test_support.h"
#include "synthetic_files.h"

using container_testing::Bytes;
using container_testing::cameraTiff;
using container_testing::HeldSource;
using container_testing::placeOf;
using tiffwalker::container::findJpegExif;

namespace {

std::optional<tiffwalker::container::TiffLocation> find(const Bytes& bytes) {
    HeldSource source(bytes);
    return findJpegExif(source, 0, source.size());
}

}  // namespace

TEST(JpegSegments, ExifSegmentAfterOtherSegmentsInBothByteOrders) {
    using namespace containers;
    const std::vector<std::pair<std::string, std::vector<Bytes>>> prefaces = {
        {"APP1 first", {}},
        {"JFIF and a comment", {jfifSegment(), commentSegment("re-saved by an editor")}},
        {"ICC profile", {iccSegment()}},
        {"Adobe", {adobeSegment()}},
        {"Photoshop (APP13)", {photoshopSegment()}},
        {"XMP in an APP1 segment of its own", {jfifSegment(), xmpSegment()}},
    };
    for (const auto order : {synthetic::Order::Intel, synthetic::Order::Motorola}) {
        const Bytes tiff = cameraTiff(order);
        for (const auto& [name, preface] : prefaces) {
            std::vector<Bytes> segments = preface;
            segments.push_back(exifSegment(tiff));
            const Bytes file = jpeg(segments);
            const auto found = find(file);
            ASSERT_TRUE(found) << name;
            EXPECT_EQ(found->offset, placeOf(file, tiff)) << name;
            EXPECT_EQ(found->length, static_cast<int64_t>(tiff.size())) << name;
            EXPECT_EQ(found->label, "EXIF segment (APP1)");
        }
    }
}

TEST(JpegSegments, FillBytesAndStandaloneMarkersAreStepped) {
    const Bytes tiff = cameraTiff(synthetic::Order::Intel);
    Bytes file = {0xFF, 0xD8, 0xFF, 0xFF, 0xFF, 0xD0, 0xFF, 0x01};
    const Bytes exif = containers::exifSegment(tiff);
    file.insert(file.end(), exif.begin(), exif.end());
    const auto found = find(file);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->offset, placeOf(file, tiff));
}

TEST(JpegSegments, NothingFoundWhereThereIsNoReadableExifSegment) {
    using namespace containers;
    const Bytes tiff = cameraTiff(synthetic::Order::Intel);
    // After the start of scan: image data, not a segment.
    Bytes afterScan = {0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x02};
    const Bytes exif = exifSegment(tiff);
    afterScan.insert(afterScan.end(), exif.begin(), exif.end());
    EXPECT_FALSE(find(afterScan));
    EXPECT_FALSE(find(jpeg({jfifSegment(), commentSegment("no EXIF")})));
    // "Exif" in another segment than APP1.
    EXPECT_FALSE(find(jpeg({segment(0xE2, {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0})})));
    // A length below 2 cannot step to the next segment.
    EXPECT_FALSE(find({0xFF, 0xD8, 0xFF, 0xFE, 0x00, 0x01, 0xFF, 0xE1}));
    // A byte where a marker must be.
    EXPECT_FALSE(find({0xFF, 0xD8, 0x00, 0xE1, 0x00, 0x10}));
    EXPECT_FALSE(find(tiff));
    EXPECT_FALSE(find({}));
}

TEST(JpegSegments, ExifSegmentWithoutTiffHeaderIsPassedForALaterOne) {
    using namespace containers;
    const Bytes tiff = cameraTiff(synthetic::Order::Motorola);
    const Bytes broken = segment(0xE1, {'E', 'x', 'i', 'f', 0, 0, 'X', 'X', 0, 42, 0, 0, 0, 8, 0, 0});
    const Bytes file = jpeg({broken, exifSegment(tiff)});
    const auto found = find(file);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->offset, placeOf(file, tiff));
}

TEST(JpegSegments, SegmentCutShortEndsWithTheData) {
    const Bytes tiff = cameraTiff(synthetic::Order::Intel);
    Bytes file = containers::jpeg({containers::exifSegment(tiff)});
    file.resize(file.size() - 12 - 40);  // the token image and the last 40 bytes of the TIFF structure
    const auto found = find(file);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->offset + found->length, static_cast<int64_t>(file.size()));
    // The same data read as the first part of a larger source ends where told.
    HeldSource source(containers::jpeg({containers::exifSegment(tiff)}));
    const auto inside = findJpegExif(source, 0, 40);
    ASSERT_TRUE(inside);
    EXPECT_EQ(inside->offset + inside->length, 40);
}
