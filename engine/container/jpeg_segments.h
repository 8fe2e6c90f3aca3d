#pragma once
// The EXIF segment of JPEG data: the first APP1 segment whose data begins
// "Exif\0\0" and holds a TIFF header, wherever it lies before the start of
// scan (after JFIF, comment, ICC, Adobe or Photoshop segments too).
#include <cstdint>
#include <optional>

#include "byte_source.h"
#include "tiff_location.h"

namespace tiffwalker::container {

// Whether the bytes at start begin a JPEG (the start-of-image marker).
bool isJpegStart(ByteSource& source, int64_t start);

// The TIFF structure of the EXIF segment of the JPEG data in [start, end) of
// source, or nothing. Its length runs to the end of its segment (or of the
// data, when the segment is cut short).
std::optional<TiffLocation> findJpegExif(ByteSource& source, int64_t start, int64_t end);

}  // namespace tiffwalker::container
