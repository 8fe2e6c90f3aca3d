#pragma once
// Where a reading takes a file's bytes from. Files on disk have one of the
// engine's own; a caller that holds a file some other way (in memory, or a
// browser's file handle) gives the engine one of its own. A reading asks only
// for the pieces it walks (directories and values), never for the whole file.
#include <cstddef>
#include <cstdint>

#include <tiffwalker/export.h>

namespace tiffwalker {

class TIFFWALKER_API ByteSource {
public:
    virtual ~ByteSource() = default;
    // The number of bytes the file holds.
    virtual int64_t size() const = 0;
    // Copies up to n bytes from position into dest; returns how many. Fewer
    // than n only at the end of the file or on a read error.
    virtual size_t readAt(int64_t position, void* dest, size_t n) = 0;
    // True once a read has failed (not at a plain end of file).
    virtual bool hasError() const { return false; }
};

// The bytes of a file held in memory; the caller keeps them alive.
class TIFFWALKER_API MemorySource : public ByteSource {
public:
    MemorySource(const void* data, size_t size) : data_(static_cast<const unsigned char*>(data)), size_(size) {}
    int64_t size() const override { return static_cast<int64_t>(size_); }
    size_t readAt(int64_t position, void* dest, size_t n) override;

private:
    const unsigned char* data_;
    size_t size_;
};

}  // namespace tiffwalker
