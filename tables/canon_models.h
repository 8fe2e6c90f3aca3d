#pragma once
// The Canon bodies that record a count in their files, and where: for the
// engine's Canon count reader, and for a connected camera's reading, which
// tells an owner whether the body's files hold the count it cannot give.
#include <cstdint>
#include <string_view>

#include <tiffwalker/export.h>

namespace tiffwalker {

enum class CanonPlace {
    FileInfo,               // tag 0x0093, 32-bit at bytes 2-5
    FileInfoHalvesSwapped,  // the same, its two 16-bit halves swapped
    CameraInfo,             // tag 0x000d, 32-bit little-endian at the row's offset
};

struct CanonModel {
    std::string_view model;  // without "Canon ", compared in any case
    CanonPlace place;
    uint32_t at;  // in CameraInfo; for CR3 files cr3At where it differs
    uint32_t cr3At;
    uint32_t added;     // the count is stored this much less than it is
    bool allExposures;  // electronic-shutter exposures included
};

// The row of a listed body; null for every other Canon body.
TIFFWALKER_API const CanonModel* canonModelOf(std::string_view model);

}  // namespace tiffwalker
