#pragma once
// The EXIF item of a HEIF (or AVIF) file: the top-level meta box names it in
// iinf (an infe entry of type "Exif") and places it in iloc (one or more
// extents, in the file or in meta's idat box). Its data begins with a 32-bit
// big-endian count of bytes to skip after those 4 (usually over "Exif\0\0");
// the TIFF header follows.
#include <cstdint>
#include <optional>

#include <tiffwalker/byte_source.h>
#include "container/tiff_location.h"

namespace tiffwalker::container {

// Whether the file's first box is ftyp with a HEIF or AVIF brand among its
// major and compatible brands.
bool isHeifFile(ByteSource& source);

// The TIFF structure of the EXIF item, or nothing: no meta box, no EXIF item,
// an item in another file or made of other items, extents that are not one
// stretch of the file, or anything that does not fit where it is said to lie.
std::optional<TiffLocation> findHeifExif(ByteSource& source);

}  // namespace tiffwalker::container
