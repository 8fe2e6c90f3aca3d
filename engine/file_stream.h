#pragma once
// Read-only access to one image file with the semantics the reader needs from a
// buffered stream: read at a position, seek anywhere, tell. Every read is
// bounded by the file's length; positions before 0 or past the end simply read
// nothing. Reads are served from a small window so that the walker's many short
// reads and seeks cost no system call each.
#include <cstddef>
#include <cstdint>
#include <string>

namespace tiffwalker {

class FileStream {
public:
    FileStream() = default;
    ~FileStream();
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    // Opens for reading. Returns false when the path cannot be opened.
    bool open(const char* path);
    void close();
    bool isOpen() const { return fd_ >= 0; }

    // Reads up to n bytes at the current position; returns how many were read
    // and advances the position by that many.
    size_t read(void* dest, size_t n);
    void seek(int64_t position) { position_ = position; }
    void seekRelative(int64_t delta) { position_ += delta; }
    int64_t tell() const { return position_; }
    int64_t size() const { return size_; }
    bool isRegularFile() const { return regular_; }

    // The stream's error indicator: set when the operating system reported a
    // read error (not at a plain end of file).
    bool hasError() const { return error_; }
    int descriptor() const { return fd_; }

private:
    // Fills the window around this position; false when it cannot hold it.
    bool fillWindow(int64_t wanted);

    // A camera file's directories and the values the reader takes lie in its
    // first few kilobytes; a small window costs less to fill than a large one
    // (measured: 16 KiB reads a photo library about a sixth faster than 64).
    static constexpr size_t kWindowSize = 16 * 1024;
    static constexpr size_t kPageSize = 4096;
    int fd_ = -1;
    bool regular_ = false;
    bool error_ = false;
    int64_t size_ = 0;
    int64_t position_ = 0;
    int64_t windowStart_ = 0;
    size_t windowLength_ = 0;
    unsigned char* window_ = nullptr;
};

}  // namespace tiffwalker
