#pragma once
// Every bound the reader puts on one reading, in one place. Real camera files
// stay far inside them (a NEF has about six directories and a few hundred
// entries, and its values add up to well under a megabyte); they exist so that
// a crafted file cannot make a reading loop, nest, allocate or print far beyond
// its own size. Measured on crafted worst cases of 16 MiB (tests/
// hostile_files_test.cpp), a reading with these bounds takes well under a
// second and well under 256 MiB.
#include <cstddef>
#include <cstdint>

namespace tiffwalker::limits {

// A directory with more entries than this is refused as a whole: camera
// directories hold a few dozen, and callers rely on a larger one being taken
// for a malformed file.
inline constexpr uint32_t kMaxEntriesPerDirectory = 100;

// How deep directories may nest: IFD0 > EXIF > maker notes > thumbnail is four.
inline constexpr int kMaxDirectoryDepth = 8;

// How many directories one reading walks; each is walked at most once.
inline constexpr int kMaxDirectories = 64;

// How many times one reading may ask the walker for a directory, the refused
// requests (a directory met before, too deep, too big) and the empty ones
// (offset 0) included. A SubIFD list can name the same directory millions of
// times; each request costs a call and, with the trace on, two listings of the
// whole record list, so their number is bounded, not only the walks. A real
// file makes fewer than ten.
inline constexpr int kMaxDirectoryRequests = 2 * kMaxDirectories;

// Records one reading makes, pseudo records included (a consequence of the
// bounds above, checked all the same).
inline constexpr size_t kMaxRecords = 3 + static_cast<size_t>(kMaxDirectories) * kMaxEntriesPerDirectory;

// Bytes of values (raw bytes and value texts) that one reading keeps in its
// records. Once spent, further values keep only what fits: no raw bytes, and
// no value text read from elsewhere in the file. The short texts made from an
// entry's own value field (16 characters at most) are always made, so the
// records may pass this by that much each. Display texts are made from value
// texts and are about as long, so the records of one reading hold at most
// about twice this.
inline constexpr size_t kMaxKeptValueBytes = 32u * 1024 * 1024;

// Bytes one reading reads from the file for values (raw bytes and the bytes
// behind value texts). Every entry of every directory may point at the same
// large value; without this bound a 16 MiB file could make a reading copy
// 6400 times 16 MiB. Once spent, further values read only what is left, and
// the values they cannot read are left out of their texts.
inline constexpr size_t kMaxReadValueBytes = 2 * kMaxKeptValueBytes;

// Bytes the trace's repeated listings may write in one reading: the whole
// record list, listed on entering and leaving every directory, and the
// ExposureBracketValue lines of every entry. A record dump counts its texts,
// its raw bytes and 1 KiB for its labels. A real NEF lists a few megabytes,
// but the listings grow with the square of the records, and a crafted file
// could make them write gigabytes. Once spent, a listing says that it was cut
// short instead of dumping records. The rest of the trace, which shows each
// entry once, stays within the bounds above.
inline constexpr size_t kMaxListingBytes = 64u * 1024 * 1024;

// The longest value text one entry gets: SHORT and RATIONAL lists are written
// in full, as the listing shows them, but never beyond this.
inline constexpr size_t kMaxValueTextLength = 64u * 1024;

}  // namespace tiffwalker::limits
