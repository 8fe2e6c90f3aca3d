#pragma once
// The EXIF segment of JPEG data: the first APP1 segment whose data begins
// "Exif\0\0" and holds a TIFF header, wherever it lies before the start of
// scan (after JFIF, comment, ICC, Adobe or Photoshop segments too).
#include <cstdint>
#include <functional>
#include <optional>

#include <tiffwalker/byte_source.h>
#include "container/tiff_location.h"

namespace tiffwalker::container {

// Whether the bytes at start begin a JPEG (the start-of-image marker).
bool isJpegStart(ByteSource& source, int64_t start);

// One segment of JPEG data: its marker, and where its data (after the marker
// and the length) begins and ends.
struct JpegSegment {
    unsigned char marker = 0;
    int64_t dataStart = 0;
    int64_t end = 0;  // cut at the end of the data scanned
};

// The one scanner of JPEG segments: visits the segments of the JPEG data in
// [start, end) of source that come before the image data, in order, and
// answers the first one that wanted accepts. Fill bytes and markers without a
// length are stepped over; the scan ends at the start of scan or the end of
// the image, at a byte that begins no marker, or after the most segments a
// JPEG is taken to hold.
std::optional<JpegSegment> findJpegSegment(ByteSource& source, int64_t start, int64_t end,
                                           const std::function<bool(const JpegSegment&)>& wanted);

// The TIFF structure of the EXIF segment of the JPEG data in [start, end) of
// source, or nothing. Its length runs to the end of its segment (or of the
// data, when the segment is cut short).
std::optional<TiffLocation> findJpegExif(ByteSource& source, int64_t start, int64_t end);

}  // namespace tiffwalker::container
