#pragma once
// Read-only access to one image file with the semantics the reader needs from a
// buffered stream: read at a position, seek anywhere, tell. Every read is
// bounded by the file's length; positions before 0 or past the end simply read
// nothing. Reads are served from a small window so that the walker's many short
// reads and seeks cost no system call (or, for a caller's source, no call of
// its own) each.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "io/disk_file.h"
#include "io/window_source.h"

namespace tiffwalker {

class FileStream {
public:
    FileStream() = default;
    ~FileStream() = default;
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    // Opens a file on disk for reading. Returns false when the path cannot be
    // opened; openError() then holds the system's error number.
    bool open(const char* path);
    // Reads from the caller's source, which must outlive the reading.
    void open(ByteSource& source);
    void close();
    bool isOpen() const { return source_ != nullptr; }

    // Narrows the open file to the stretch [offset, offset + length) of it,
    // read from then on as a file of its own that starts at 0: a TIFF
    // structure inside a container. Each call narrows the whole file anew.
    void openWindow(int64_t offset, int64_t length);
    // Where the stretch read now starts in the whole file (0 without a window).
    int64_t origin() const { return origin_; }
    // The whole file, whatever stretch of it is read now.
    ByteSource& wholeFile() { return *whole_; }

    // Reads up to n bytes at the current position; returns how many were read
    // and advances the position by that many.
    size_t read(void* dest, size_t n) {
        // The walker's reads are mostly a few bytes inside the window: those
        // are copied here, without the checks of the way through the source.
        // (Only a regular file's reads fill the window; closing empties it.)
        if (position_ >= windowStart_ && n <= windowLength_ &&
            position_ - windowStart_ <= static_cast<int64_t>(windowLength_ - n)) {
            std::memcpy(dest, window_.get() + (position_ - windowStart_), n);
            position_ += static_cast<int64_t>(n);
            return n;
        }
        return readThroughWindow(dest, n);
    }
    void seek(int64_t position) { position_ = position; }
    void seekRelative(int64_t delta) { position_ += delta; }
    int64_t tell() const { return position_; }
    int64_t size() const { return size_; }
    // A caller's source counts as a regular file.
    bool isRegularFile() const { return source_ != &disk_ || disk_.isRegularFile(); }
    bool isFolder() const { return source_ == &disk_ && disk_.isFolder(); }
    int openError() const { return disk_.openError(); }

    // The stream's error indicator: set when a read failed (not at a plain end
    // of file).
    bool hasError() const { return source_ != nullptr && source_->hasError(); }
    int descriptor() const { return whole_ == &disk_ ? disk_.descriptor() : -1; }

private:
    size_t readThroughWindow(void* dest, size_t n);
    // Fills the window around this position; false when it cannot hold it.
    bool fillWindow(int64_t wanted);

    // A camera file's directories and the values the reader takes lie in its
    // first few kilobytes; a small window costs less to fill than a large one
    // (measured: 16 KiB reads a photo library about a sixth faster than 64).
    // The first window of a file is smaller still: a reading that makes the
    // texts of a few tags only rarely looks past the file's first page, and
    // every byte of a window is copied out of the page cache (measured: 4 KiB
    // first windows read a photo library about a seventh faster than 16).
    static constexpr size_t kWindowSize = 16 * 1024;
    static constexpr size_t kFirstWindowSize = 4 * 1024;
    static constexpr size_t kPageSize = 4096;
    DiskFile disk_;
    ByteSource* source_ = nullptr;  // the whole file or a window on it
    ByteSource* whole_ = nullptr;
    WindowSource stretchSource_;
    int64_t origin_ = 0;
    int64_t size_ = 0;
    int64_t position_ = 0;
    int64_t windowStart_ = 0;
    size_t windowLength_ = 0;
    bool filledOnce_ = false;  // since the file was opened
    std::unique_ptr<unsigned char[]> window_;
};

}  // namespace tiffwalker
