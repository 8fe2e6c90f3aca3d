#pragma once
// The reader's steps, each working in one reading's state.
#include <cstdint>
#include <string>

#include "file_stream.h"
#include "reading_state.h"
#include "tag_record.h"

namespace tiffwalker {

// Which makers' counts a reading reads: Nikon's only, from the walk's records
// (the engine's context-free operations), or every maker's. A reading of
// every maker's count reads every file type too: beside the original
// detection (a TIFF file, a JPEG whose EXIF segment lies at byte 6 or 24), it
// finds the TIFF structures of JPEGs with other segments first, HEIF, CR3 and
// RAF files through their containers.
enum class MakersRead { NikonOnly, Every };

// One reading from start to end: the result text (also in state.resultText),
// with state.outcome filled in. Reads the path, or source when given. The
// file is closed and the list emptied on every way out; the records go to
// recordsOut first when given. A malformed EXIF header raises
// CTiffwalkerException*.
const std::string& readImage(ReadingState& state, const char* path, ByteSource* source, RecordList* recordsOut,
                             MakersRead makers = MakersRead::NikonOnly);

bool isJpegFile(FileStream& file);
bool hasExifSegment(ReadingState& state, FileStream& file);

enum class FirstIfdMode { Jpeg, Tiff };
// JPEG mode: the absolute position of IFD0. TIFF mode (the maker note's own
// header): the first directory's offset from that header. -1 when refused.
int32_t findFirstIFD(ReadingState& state, FileStream& file, FirstIfdMode mode);
int32_t readExifHeader(ReadingState& state, FileStream& file, int32_t base);

// Walks the directory at offset and, through pointer entries, the directories
// below it, appending one record per entry to the reading's record list.
int32_t dumpImageFileDirectory(ReadingState& state, FileStream& file, int32_t offset, int32_t additional_offset,
                               const std::string& strType, int32_t numType);

// Reads a record's value and makes its value and display texts.
void setData(ReadingState& state, CTagRecord& record, FileStream& file);

// A maker note that a container keeps as a TIFF structure of its own (CR3's
// CMT3 box): where it lies in the reading's file as it stands.
struct StandaloneMakerNote {
    int64_t position = 0;
    int64_t length = 0;
    bool fromCr3 = false;
};

// Called by the walk for each Make and Model record: the camera and its maker
// (the maker-note registry's decision) in the reading's state.
void identifyCamera(ReadingState& state, const CTagRecord& record);

// After the walk: the count of the maker that Make names (Nikon's alone for
// the context-free operations), read by its count reader from its maker note
// (standalone when given, else the EXIF directory's), in state.outcome and
// the result text; or why there is none.
void readCount(ReadingState& state, MakersRead makers, const StandaloneMakerNote* standalone = nullptr);

}  // namespace tiffwalker
