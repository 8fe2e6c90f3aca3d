#pragma once
// Fixed names for what the reader meets: tag labels (padded to 27 characters
// for the listing), field types with their byte sizes, directory kinds and the
// value names of four TIFF tags. Every lookup compares the whole 32-bit
// argument with the 16-bit keys and answers "Unknown" (or size 0) without a row.
#include <cstdint>

#include <tiffwalker/ifd_types.h>

namespace tiffwalker {

// The shared "Unknown" (7 characters) that every name lookup answers without a
// row; the padded "Unknown" tag labels are different texts.
extern const char kUnknownName[];

const char* getTagName(uint32_t tag);
const char* getTypeName(uint32_t type);
int32_t getTypeSize(uint32_t type);
const char* getCompressionName(uint32_t value);
const char* getPhotometricName(uint32_t value);
const char* getResolutionUnitName(uint32_t value);
const char* getPlanarConfigName(uint32_t value);
// Name of an IFD type, padded to 12 characters; "Unknown" for other numbers.
const char* getIfdTypeName(uint32_t ifdType);

}  // namespace tiffwalker
