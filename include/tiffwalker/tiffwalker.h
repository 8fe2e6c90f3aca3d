#pragma once
// The Tiffwalker engine: from the path of a camera's raw or JPEG file to the
// shutter count the camera recorded in it (Nikon, Sony, Pentax, the Canon
// bodies that record one, Fujifilm's image count), and every directory entry
// of the file as a tag record on the way.
//
//   tiffwalker::ReadingContext context;             // one per thread
//   tiffwalker::ReadingOutcome outcome = context.read(path);
//   if (outcome.status == tiffwalker::ReadingStatus::Count) use(outcome.result, outcome.countKind);
//
// The context-free operations below read in one engine-wide context: one
// reading at a time, as the engine's first callers expect, and Nikon's count
// only.
#include <cstdint>
#include <iosfwd>
#include <string>

#include "byte_source.h"
#include "engine_options.h"
#include "export.h"
#include "field_types.h"
#include "ifd_types.h"
#include "reading_context.h"
#include "reading_outcome.h"
#include "record_list.h"
#include "tag_numbers.h"
#include "tag_record.h"
#include "tiff_structures.h"
#include "tiffwalker_exception.h"

namespace tiffwalker {

inline constexpr const char* kNotReadable = "Not Readable";
inline constexpr const char* kNoExifData = "No EXIF data";
inline constexpr const char* kNoCount = "No Count";
inline constexpr uint16_t kShutterCountTag = tags::kShutterCount;

// The text is the count, or "Not Readable", "No EXIF data" or "No Count"; it
// stays valid until the next reading, so callers copy it. A malformed EXIF
// header in a JPEG file raises CTiffwalkerException* instead; the catcher
// deletes it.
TIFFWALKER_API const std::string& getImageShutterCount(const char* path);

// The same reading, handing the records it made to the caller (moved into
// recordsOut, which is emptied first) instead of only discarding them.
TIFFWALKER_API const std::string& readImageRecords(const char* path, RecordList& recordsOut);

// The file position of the file's own TIFF header: 30, 12, 0, or -1.
TIFFWALKER_API int32_t getTiffBaseOffset();

TIFFWALKER_API bool isOptionOn(int option);
TIFFWALKER_API void setOption(int option, bool on);
TIFFWALKER_API void resetOptions();

// Where the engine writes every text of its own: the diagnostic listing and the
// failure messages. Standard output unless a caller chooses another stream.
TIFFWALKER_API std::ostream& engineOutput();
TIFFWALKER_API void setEngineOutput(std::ostream& stream);

}  // namespace tiffwalker
