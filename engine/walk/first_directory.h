#pragma once
// Where the first directory lies: IFD0 of a JPEG file at the fixed places of
// the original layouts (an EXIF segment first, or a JFIF segment first and
// the EXIF segment after it), or the first directory of a maker note's own
// TIFF header. Each refuses with the texts the engine's first callers know.
#include <cstdint>

#include "io/file_stream.h"
#include "walk/reading_state.h"

namespace tiffwalker {

enum class FirstIfdMode { Jpeg, Tiff };
// JPEG mode: the absolute position of IFD0. TIFF mode (the maker note's own
// header): the first directory's offset from that header. -1 when refused.
int32_t findFirstIFD(ReadingState& state, FileStream& file, FirstIfdMode mode);
int32_t readExifHeader(ReadingState& state, FileStream& file, int32_t base);

// The file position of the file's own TIFF header for the reading's layout:
// 30, 12, 0, or -1.
int32_t tiffBaseOffset(const ReadingState& state);

}  // namespace tiffwalker
