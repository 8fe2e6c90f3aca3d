#pragma once
// An entry's value, read from the file in the reading's byte order, and the
// value and display texts made of it.
#include <tiffwalker/tag_record.h>

#include "io/file_stream.h"
#include "walk/reading_state.h"

namespace tiffwalker {

// Reads a record's value and makes its value and display texts.
void setData(ReadingState& state, CTagRecord& record, FileStream& file);

}  // namespace tiffwalker
