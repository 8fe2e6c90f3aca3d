#pragma once
// A file on disk as a ByteSource: opened without waiting (a named pipe must not
// hang a reading), read with pread, bounded by the length it had when opened.
#include <cstdint>

#include <tiffwalker/byte_source.h>

namespace tiffwalker {

class DiskFile : public ByteSource {
public:
    DiskFile() = default;
    ~DiskFile() override;
    DiskFile(const DiskFile&) = delete;
    DiskFile& operator=(const DiskFile&) = delete;

    // False when the path cannot be opened; openError() then says why.
    bool open(const char* path);
    void close();

    int64_t size() const override { return size_; }
    size_t readAt(int64_t position, void* dest, size_t n) override;
    bool hasError() const override { return error_; }

    // Only a regular file has a length to read within; anything else reads as
    // empty.
    bool isRegularFile() const { return regular_; }
    bool isFolder() const { return folder_; }
    int openError() const { return openError_; }
    int descriptor() const { return fd_; }

private:
    int fd_ = -1;
    bool regular_ = false;
    bool folder_ = false;
    bool error_ = false;
    int openError_ = 0;
    int64_t size_ = 0;
};

}  // namespace tiffwalker
