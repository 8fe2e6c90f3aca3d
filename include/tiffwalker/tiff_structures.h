#pragma once
// The two fixed-size records of a TIFF structure: the 8-byte header and the
// 12-byte directory entry, read in the byte order in force.
#include <cstdint>
#include <iosfwd>

#include <tiffwalker/export.h>

namespace tiffwalker {

#ifdef TIFFWALKER_INTERNALS
class ByteOrder;
class FileStream;
#endif

// The members that read from a file are the engine's own: only the others
// are exported, so that a DLL gives its users nothing they cannot call.
struct TIFFHEADER {
    uint16_t order = 0x4949;  // "II"; kept as stored
    uint16_t iden = 42;
    uint32_t ifdofs = 0;

#ifdef TIFFWALKER_INTERNALS
    // Reads 8 bytes at the current position and sets the byte order from
    // them. 0, or -1 on a short read (which converts nothing and leaves the
    // byte order alone).
    int read(FileStream& file, ByteOrder& byteOrder);
    int read(FileStream& file);  // in the engine-wide context
#endif
    TIFFWALKER_API bool isValid() const;
    TIFFWALKER_API void print(std::ostream& out) const;
    TIFFWALKER_API void print() const;  // to the engine's output
};

struct IFDENTRY {
    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    uint32_t valofs = 0;

#ifdef TIFFWALKER_INTERNALS
    // Reads 12 bytes at the current position. 0, or -1 on a short read, which
    // keeps the bytes that were read, unconverted, over the former content.
    int read(FileStream& file, const ByteOrder& order);
    int read(FileStream& file);  // in the engine-wide context
#endif
    TIFFWALKER_API void print(std::ostream& out) const;
    TIFFWALKER_API void print() const;  // to the engine's output
};

}  // namespace tiffwalker
