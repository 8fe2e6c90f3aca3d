#pragma once
// One reading from start to end: the file recognised, IFD0 found, the walk,
// and the count with the cause of a result without one.
#include <string>

#include <tiffwalker/byte_source.h>
#include <tiffwalker/record_list.h>

#include "reading/count_step.h"
#include "walk/reading_state.h"

namespace tiffwalker {

// The result text (also in state.resultText), with state.outcome filled in.
// Reads the path, or source when given. The file is closed and the list
// emptied on every way out; the records go to recordsOut first when given. A
// malformed EXIF header raises CTiffwalkerException*.
const std::string& readImage(ReadingState& state, const char* path, ByteSource* source, RecordList* recordsOut,
                             MakersRead makers = MakersRead::NikonOnly);

}  // namespace tiffwalker
