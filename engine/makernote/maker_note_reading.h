#pragma once
// From a maker note to its maker's count: the registry's layout, the
// directory's records, the maker's count reader. A maker note may come from
// the EXIF directory's MakerNote entry or be handed over as a TIFF structure
// of its own (MakerNotePlace::standaloneTiff).
#include "makernote/count_reading.h"
#include "makernote/maker_note_records.h"

namespace tiffwalker {
class FileStream;
}

namespace tiffwalker::makernote {

// The count of camera's maker (its Make's), from the maker note at place; the
// cause when there is none. Makers that record no count, and makers not
// known, give MakerRecordsNone and unknownMakerCause's.
CountReading readMakerNoteCount(FileStream& file, Maker maker, const Camera& camera, const MakerNotePlace& place);

// The same check of the body alone, for a file without maker notes: None when
// the body may record a count.
ReadingCause bodyRecordsNone(Maker maker, const Camera& camera);

}  // namespace tiffwalker::makernote
