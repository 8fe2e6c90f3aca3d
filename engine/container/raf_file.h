#pragma once
// Fujifilm's RAF raw files: "FUJIFILMCCD-RAW " at the start; the big-endian
// 32-bit numbers at 84 and 88 are the offset and length of an embedded JPEG,
// whose EXIF segment holds the metadata and the maker note.
#include <optional>

#include <tiffwalker/byte_source.h>
#include "container/tiff_location.h"

namespace tiffwalker::container {

bool isRafFile(ByteSource& source);

// The TIFF structure of the embedded JPEG's EXIF segment, or nothing: an
// embedded JPEG that does not lie inside the file, or one without it.
std::optional<TiffLocation> findRafExif(ByteSource& source);

}  // namespace tiffwalker::container
