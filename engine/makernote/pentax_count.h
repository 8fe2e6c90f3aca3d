#pragma once
// Pentax's count, from the shutter-count record of its maker note.
#include "makernote/count_reading.h"

namespace tiffwalker::makernote {

const CountReader& pentaxCountReader();

}  // namespace tiffwalker::makernote
