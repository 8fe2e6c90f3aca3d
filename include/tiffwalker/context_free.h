#pragma once
// The engine's first operations, without a context: each reads in one
// engine-wide context, one reading at a time, as the engine's first callers
// expect, and Nikon's count only. A reading context (reading_context.h) reads
// every maker's count and keeps each reading to itself.
#include <cstdint>
#include <iosfwd>
#include <string>

#include <tiffwalker/export.h>
#include <tiffwalker/reading_context.h>
#include <tiffwalker/reading_outcome.h>
#include <tiffwalker/record_list.h>
#include <tiffwalker/tag_numbers.h>

namespace tiffwalker {

inline constexpr uint16_t kShutterCountTag = tags::kShutterCount;

// The context behind these operations.
TIFFWALKER_API ReadingContext& defaultContext();

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

// The engine-wide context's record list, which is empty between readings.
TIFFWALKER_API void appendRecord(const CTagRecord& record);
TIFFWALKER_API void appendRecord(CTagRecord&& record);
TIFFWALKER_API void clearRecords();
TIFFWALKER_API size_t recordCount();

// displayStringData (or stringData) of the first record with this tag, from
// any directory; empty when there is none. Each lookup keeps its answer in a
// text of its own until its next call.
TIFFWALKER_API const std::string& getDisplayStringData(uint16_t tag);
TIFFWALKER_API const std::string& getStringData(uint16_t tag);

}  // namespace tiffwalker
