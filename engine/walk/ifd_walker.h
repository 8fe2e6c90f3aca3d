#pragma once
// The directory walk: one record per entry, through every pointer entry to
// the directories below, Nikon's maker notes included.
#include <cstdint>
#include <string>

#include "io/file_stream.h"
#include "walk/reading_state.h"

namespace tiffwalker {

// Walks the directory at offset and, through pointer entries, the directories
// below it, appending one record per entry to the reading's record list.
int32_t dumpImageFileDirectory(ReadingState& state, FileStream& file, int32_t offset, int32_t additional_offset,
                               const std::string& strType, int32_t numType);

}  // namespace tiffwalker
