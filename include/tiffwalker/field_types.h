#pragma once
// TIFF field types: how a directory entry's value is stored.
#include <cstdint>

namespace tiffwalker {

enum FieldType : uint16_t {
    kByte = 1,
    kAscii = 2,
    kShort = 3,
    kLong = 4,
    kRational = 5,
    kSByte = 6,
    kUndefined = 7,
    kSShort = 8,
    kSLong = 9,
    kSRational = 10,
    kFloat = 11,
    kDouble = 12,
};

}  // namespace tiffwalker
