#pragma once
// Nikon's count: tag 0x00a7 of its maker note, every release, and beside it
// the mechanical releases of 0x0037 where the body records them.
#include "makernote/count_reading.h"

namespace tiffwalker::makernote {

const CountReader& nikonCountReader();

}  // namespace tiffwalker::makernote
