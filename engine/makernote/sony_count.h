#pragma once
// Sony's count, from the ciphered camera-settings records of its maker note,
// found by model.
#include "makernote/count_reading.h"

namespace tiffwalker::makernote {

const CountReader& sonyCountReader();

}  // namespace tiffwalker::makernote
