#pragma once
// The engine's context-free operations that are not in its public headers:
// the reader's steps without a state, which work in the engine-wide context's
// state. Nothing inside the engine calls them; they are for the engine's
// first callers, its tests, fuzzers and benchmarks.
#include <cstdint>
#include <string>

#include "reading_budget.h"
#include "reading_steps.h"

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

}  // namespace tiffwalker
