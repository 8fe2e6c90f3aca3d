#pragma once
// A chosen file as the page's reading worker holds it: its first bytes (the
// head) already in memory, read in one asynchronous read; anything beyond is
// read from the file when the walk asks for it, through the worker's
// synchronous reader, a block at a time, since each read costs about the same
// whatever its size.
#include <cstddef>
#include <cstdint>
#include <vector>

#include <tiffwalker/tiffwalker.h>

namespace frametally::web {

class HeadByteSource final : public tiffwalker::ByteSource {
public:
    // Where the worker puts the next file's head; valid until the next call.
    unsigned char* headBuffer(size_t length);
    // The next file: its size, of which headLength bytes lie in the head buffer.
    void startFile(int64_t fileSize, size_t headLength);

    int64_t size() const override { return size_; }
    size_t readAt(int64_t position, void* dest, size_t n) override;
    bool hasError() const override { return error_; }

    // The bytes taken from the file for the last reading: its head and the
    // blocks read beyond it.
    int64_t bytesRead() const { return static_cast<int64_t>(headLength_) + bytesBeyondHead_; }

    static constexpr size_t kBlockSize = 64 * 1024;

private:
    // Copies what the block read last holds of [position, position + n);
    // reads the block that starts at position first when it holds none of it.
    size_t readBeyondHead(int64_t position, unsigned char* dest, size_t n);

    std::vector<unsigned char> head_;
    size_t headLength_ = 0;
    int64_t size_ = 0;
    bool error_ = false;
    int64_t bytesBeyondHead_ = 0;
    std::vector<unsigned char> block_;
    int64_t blockStart_ = 0;
    size_t blockLength_ = 0;
};

}  // namespace frametally::web
