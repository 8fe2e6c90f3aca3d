#pragma once
// Every bound the reader puts on one reading, in one place. Real camera files
// stay far inside them (a NEF has about six directories and a few hundred
// entries); they exist so that a crafted file cannot make a reading loop, nest,
// allocate or print far beyond its own size.
#include <cstddef>
#include <cstdint>

namespace tiffwalker::limits {

// A directory with more entries than this is refused as a whole (the design's
// own rule, kept as it is).
inline constexpr uint32_t kMaxEntriesPerDirectory = 100;

// How deep directories may nest: IFD0 > EXIF > maker notes > thumbnail is four.
inline constexpr int kMaxDirectoryDepth = 8;

// How many directories one reading walks; each is walked at most once.
inline constexpr int kMaxDirectories = 64;

// Records one reading makes, pseudo records included (a consequence of the two
// bounds above, checked all the same).
inline constexpr size_t kMaxRecords =
    3 + static_cast<size_t>(kMaxDirectories) * kMaxEntriesPerDirectory;

// Bytes of values (raw bytes and value texts) that one reading keeps in its
// records. Once spent, further values keep only what fits.
inline constexpr size_t kMaxKeptValueBytes = 32u * 1024 * 1024;

// The longest value text one entry gets: SHORT and RATIONAL lists are written
// in full by design, but never beyond this.
inline constexpr size_t kMaxValueTextLength = 64u * 1024;

}  // namespace tiffwalker::limits
