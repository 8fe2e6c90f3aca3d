#pragma once
// After the walk: the count of the maker that Make names, read by that
// maker's count reader from its maker note.
#include <cstdint>

#include "walk/reading_state.h"

namespace tiffwalker {

// Which makers' counts a reading reads: Nikon's only, from the walk's records
// (the engine's context-free operations), or every maker's. A reading of
// every maker's count reads every file type too: beside the original
// detection (a TIFF file, a JPEG whose EXIF segment lies at byte 6 or 24), it
// finds the TIFF structures of JPEGs with other segments first, HEIF, CR3 and
// RAF files through their containers.
enum class MakersRead { NikonOnly, Every };

// A maker note that a container keeps as a TIFF structure of its own (CR3's
// CMT3 box): where it lies in the reading's file as it stands.
struct StandaloneMakerNote {
    int64_t position = 0;
    int64_t length = 0;
    bool fromCr3 = false;
};

// The count (Nikon's alone for the context-free operations), read from the
// maker note (standalone when given, else the EXIF directory's), in
// state.outcome and the result text; or why there is none.
void readCount(ReadingState& state, MakersRead makers, const StandaloneMakerNote* standalone = nullptr);

}  // namespace tiffwalker
