#pragma once
// The original detection of a JPEG file's EXIF data: whether a JPEG has an
// EXIF segment, found by the one JPEG segment scanner, and whether it lies
// where the original layouts put it (the fixed places that findFirstIFD then
// reads, with its texts).

#include "io/file_stream.h"
#include "walk/reading_state.h"

namespace tiffwalker {

// A JPEG whose EXIF segment the original detection reads at a fixed place:
// APP1 first (its "Exif" at byte 6), or APP0 first and "Exif" at byte 24.
bool hasOriginalJpegLayout(FileStream& file);

bool isJpegFile(FileStream& file);
// Whether any segment before the image data holds "Exif" data.
bool hasExifSegment(ReadingState& state, FileStream& file);

}  // namespace tiffwalker
