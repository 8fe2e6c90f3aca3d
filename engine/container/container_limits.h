#pragma once
// The bounds of the container layer. Camera files stay far inside them: a
// HEIF file has three or four top-level boxes and a meta box of a few
// kilobytes, a CR3 file a dozen boxes in moov, a JPEG a dozen segments before
// its image data. They exist so that a crafted container cannot make the
// search loop, nest or allocate far beyond what such files need.
#include <cstddef>
#include <cstdint>

namespace tiffwalker::container::limits {

// Boxes looked at in one list of boxes (the file's top level, meta's
// children...); the search gives up past this.
inline constexpr int kMaxBoxesPerList = 1024;

// The meta box of a HEIF file is read into memory whole: a larger one is
// refused. Files with hundreds of image tiles hold a few tens of kilobytes.
inline constexpr int64_t kMaxMetaBytes = 4 * 1024 * 1024;

// Items looked at in iinf and iloc, and extents of one item.
inline constexpr uint32_t kMaxItems = 65536;
inline constexpr uint32_t kMaxExtents = 1024;

// JPEG segments looked at before the start of scan.
inline constexpr int kMaxJpegSegments = 1024;

}  // namespace tiffwalker::container::limits
