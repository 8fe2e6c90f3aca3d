#pragma once
// Fujifilm's image count, from its maker note.
#include "makernote/count_reading.h"

namespace tiffwalker::makernote {

const CountReader& fujifilmCountReader();

}  // namespace tiffwalker::makernote
