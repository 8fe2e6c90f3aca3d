#pragma once
// printf-style formatting into a std::string. The listing's formats were
// written for 32-bit integers; callers pass int32_t/uint32_t values so that, for
// example, 0xFFFFFFFF still prints as -1 under "%d".
#include <cstdint>
#include <string>

namespace tiffwalker {

std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The fast forms of the formats that value texts repeat many times per file:
// "%d" and "%x" (lower case, at least minDigits digits, zero-filled).
void appendDecimal(std::string& text, int64_t value);
void appendHex(std::string& text, uint32_t value, int minDigits = 1);

}  // namespace tiffwalker
