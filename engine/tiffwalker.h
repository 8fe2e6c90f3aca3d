#pragma once
// The reader's entry: from the path of a NEF or JPEG file to the shutter count
// that a Nikon camera recorded in it.
//
//   const std::string& text = tiffwalker::getImageShutterCount(path);
//
// The text is the count, or "Not Readable", "No EXIF data" or "No Count". A
// malformed EXIF header in a JPEG file raises CTiffwalkerException* instead;
// the catcher deletes it. The engine is not reentrant: one reading at a time.
#include <cstdint>
#include <string>

#include "engine_state.h"
#include "record_list.h"
#include "tag_numbers.h"
#include "tag_record.h"
#include "tiffwalker_exception.h"

namespace tiffwalker {

class FileStream;

inline constexpr const char* kNotReadable = "Not Readable";
inline constexpr const char* kNoExifData = "No EXIF data";
inline constexpr const char* kNoCount = "No Count";
inline constexpr uint16_t kShutterCountTag = tags::kShutterCount;

// The result text stays valid until the next reading; callers copy it.
const std::string& getImageShutterCount(const char* path);

// The same reading, handing the records it made to the caller (moved into
// recordsOut, which is emptied first) instead of only discarding them.
const std::string& readImageRecords(const char* path, RecordList& recordsOut);

// The file position of the file's own TIFF header: 30, 12, 0, or -1.
int32_t getTiffBaseOffset();

bool isJpegFile(FileStream& file);
bool hasExifSegment(FileStream& file);

enum class FirstIfdMode { Jpeg, Tiff };
// JPEG mode: the absolute position of IFD0. TIFF mode (the maker note's own
// header): the first directory's offset from that header. -1 when refused.
int32_t findFirstIFD(FileStream& file, FirstIfdMode mode);
int32_t readExifHeader(FileStream& file, int32_t base);

// Walks the directory at offset and, through pointer entries, the directories
// below it, appending one record per entry to the main record list.
int32_t dumpImageFileDirectory(FileStream& file, int32_t offset, int32_t additional_offset, const std::string& strType,
                               int32_t numType);

// Reads a record's value and makes its value and display texts.
void setData(CTagRecord& record, FileStream& file);

}  // namespace tiffwalker
