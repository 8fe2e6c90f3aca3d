#pragma once
// The engine-wide context that the context-free operations read in, and the
// reader's steps and byte order without a state, working in its state.
// Nothing inside the engine calls them; they are for the engine's first
// callers, its tests, fuzzers and benchmarks.
#include <cstdint>
#include <string>

#include <tiffwalker/reading_context.h>
#include <tiffwalker/tag_record.h>

#include "io/file_stream.h"
#include "reading/original_jpeg_detection.h"
#include "walk/first_directory.h"
#include "walk/reading_budget.h"
#include "walk/reading_state.h"

namespace tiffwalker {

// The engine-wide context's state and budget.
ReadingState& engineState();
using EngineState = ReadingState;
ReadingBudget& readingBudget();

bool hasExifSegment(FileStream& file);
int32_t findFirstIFD(FileStream& file, FirstIfdMode mode);
int32_t readExifHeader(FileStream& file, int32_t base);
int32_t dumpImageFileDirectory(FileStream& file, int32_t offset, int32_t additional_offset, const std::string& strType,
                               int32_t numType);
void setData(CTagRecord& record, FileStream& file);

// The byte order in force in the engine-wide context.
bool isBigEndian();
void setBigEndian(bool bigEndian);
uint16_t get16(const unsigned char* bytes);
uint32_t get32(const unsigned char* bytes);
uint16_t toHost16(uint16_t storedField);
uint32_t toHost32(uint32_t storedField);

// Raises a stream error as reportFileError does, writing to the engine's output.
void reportFileError(const FileStream& file);

}  // namespace tiffwalker
