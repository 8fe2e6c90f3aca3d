#pragma once
// printf-style formatting into a std::string. The design's formats were written
// for 32-bit integers; callers pass int32_t/uint32_t values so that, for
// example, 0xFFFFFFFF still prints as -1 under "%d".
#include <string>

namespace tiffwalker {

std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace tiffwalker
