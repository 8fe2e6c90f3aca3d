#pragma once
// Canon's CR3 raw files: an ISO base media file whose moov box holds a uuid
// box (85c0b687-820f-11e0-8111-f4ce462b6a48) with Canon's metadata: CMT1 is
// IFD0, CMT2 the EXIF directory, CMT3 Canon's maker note, each a complete
// TIFF structure with its own header, its offsets counted from it.
#include <vector>

#include <tiffwalker/byte_source.h>
#include "container/tiff_location.h"

namespace tiffwalker::container {

// Whether the file's first box is ftyp with the major brand "crx ".
bool isCr3File(ByteSource& source);

// The TIFF structures of the CMT1, CMT2 and CMT3 boxes that are there and
// begin with a TIFF header, in that order.
std::vector<TiffLocation> findCr3Structures(ByteSource& source);

}  // namespace tiffwalker::container
