#pragma once
// The count of the Canon bodies that record one in their maker notes.
#include "makernote/count_reading.h"

namespace tiffwalker::makernote {

const CountReader& canonCountReader();

}  // namespace tiffwalker::makernote
