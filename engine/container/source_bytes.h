#pragma once
// Exact reads from a source and big-endian numbers, for the container layer:
// a read that would pass the source's end reads nothing and says so.
#include <cstddef>
#include <cstdint>

#include <tiffwalker/byte_source.h>

namespace tiffwalker::container {

// True when all n bytes at position were read.
inline bool readExact(ByteSource& source, int64_t position, void* dest, size_t n) {
    if (position < 0 || position > source.size()) return false;
    if (static_cast<uint64_t>(source.size() - position) < n) return false;
    return source.readAt(position, dest, n) == n;
}

inline uint16_t bigEndian16(const unsigned char* b) { return static_cast<uint16_t>((b[0] << 8) | b[1]); }
inline uint32_t bigEndian32(const unsigned char* b) {
    return (uint32_t{b[0]} << 24) | (uint32_t{b[1]} << 16) | (uint32_t{b[2]} << 8) | uint32_t{b[3]};
}
inline uint64_t bigEndian64(const unsigned char* b) { return (uint64_t{bigEndian32(b)} << 32) | bigEndian32(b + 4); }
// A big-endian number of size bytes (0, 1, 2, 4 or 8).
inline uint64_t bigEndianOfSize(const unsigned char* b, unsigned size) {
    uint64_t value = 0;
    for (unsigned i = 0; i < size; ++i) value = (value << 8) | b[i];
    return value;
}

// A TIFF header's first four bytes: "II" 42 or "MM" 42.
inline bool isTiffHeaderStart(const unsigned char* b) {
    return (b[0] == 'I' && b[1] == 'I' && b[2] == 42 && b[3] == 0) ||
           (b[0] == 'M' && b[1] == 'M' && b[2] == 0 && b[3] == 42);
}

// Whether a TIFF header starts at position.
inline bool hasTiffHeaderAt(ByteSource& source, int64_t position) {
    unsigned char start[4];
    return readExact(source, position, start, sizeof start) && isTiffHeaderStart(start);
}

}  // namespace tiffwalker::container
