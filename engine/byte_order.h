#pragma once
// The byte order in force: one engine-wide flag, set by every TIFF header the
// engine reads. Numbers in a file are always decoded from their bytes, so the
// machine's own byte order never matters.
#include <cstdint>

namespace tiffwalker {

bool isBigEndian();
void setBigEndian(bool bigEndian);
// Sets the order from a byte-order mark: "II" is little-endian, anything else big-endian.
void setByteOrderFromMark(const unsigned char mark[2]);

uint16_t get16(const unsigned char* bytes);
uint32_t get32(const unsigned char* bytes);

// A field that holds file bytes in their stored order, converted to a number.
uint16_t toHost16(uint16_t storedField);
uint32_t toHost32(uint32_t storedField);

}  // namespace tiffwalker
