#pragma once
// The original detection of a JPEG file's EXIF data, with its texts: an EXIF
// segment first (its "Exif" at byte 6) or a JFIF segment first and "Exif" at
// byte 24. The segments themselves are found by the one JPEG segment scanner;
// these rules say which of its answers the context-free operations accept.
#include <cstdint>

#include "io/file_stream.h"
#include "walk/reading_state.h"

namespace tiffwalker {

// A JPEG whose EXIF segment the original detection reads at a fixed place:
// APP1 first (its "Exif" at byte 6), or APP0 first and "Exif" at byte 24.
bool hasOriginalJpegLayout(FileStream& file);

bool isJpegFile(FileStream& file);
// Whether any segment before the image data holds "Exif" data.
bool hasExifSegment(ReadingState& state, FileStream& file);

enum class FirstIfdMode { Jpeg, Tiff };
// JPEG mode: the absolute position of IFD0. TIFF mode (the maker note's own
// header): the first directory's offset from that header. -1 when refused.
int32_t findFirstIFD(ReadingState& state, FileStream& file, FirstIfdMode mode);
int32_t readExifHeader(ReadingState& state, FileStream& file, int32_t base);

// The file position of the file's own TIFF header for the reading's layout:
// 30, 12, 0, or -1.
int32_t tiffBaseOffset(const ReadingState& state);

}  // namespace tiffwalker
