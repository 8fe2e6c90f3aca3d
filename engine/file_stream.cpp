#include "file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tiffwalker {

FileStream::~FileStream() {
    close();
    delete[] window_;
}

bool FileStream::open(const char* path) {
    close();
    if (path == nullptr) return false;
    // O_NONBLOCK: opening a named pipe without a writer would otherwise wait
    // for ever; a pipe is no regular file and is refused right after. Regular
    // files ignore the flag.
    do {
        fd_ = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) return false;
    struct stat info {};
    if (::fstat(fd_, &info) == 0) {
        regular_ = S_ISREG(info.st_mode);
        size_ = regular_ ? static_cast<int64_t>(info.st_size) : 0;
    }
    if (window_ == nullptr) window_ = new unsigned char[kWindowSize];
    return true;
}

void FileStream::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    regular_ = false;
    error_ = false;
    size_ = 0;
    position_ = 0;
    windowStart_ = 0;
    windowLength_ = 0;
}

bool FileStream::fillWindow(int64_t wanted) {
    // Windows begin on a page boundary, so that the walker's returns to a
    // directory a little before the position just read still find it here.
    const int64_t position = wanted - wanted % static_cast<int64_t>(kPageSize);
    windowStart_ = position;
    windowLength_ = 0;
    const auto length = static_cast<size_t>(std::min<int64_t>(kWindowSize, size_ - position));
    while (windowLength_ < length) {
        const ssize_t got =
            ::pread(fd_, window_ + windowLength_, length - windowLength_, static_cast<off_t>(position + windowLength_));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            error_ = true;
            break;
        }
        if (got == 0) break;  // the file shrank while we read it
        windowLength_ += static_cast<size_t>(got);
    }
    // A short read (an error, or a file that shrank) may end before the byte
    // that was wanted.
    return wanted < windowStart_ + static_cast<int64_t>(windowLength_);
}

size_t FileStream::read(void* dest, size_t n) {
    if (fd_ < 0) return 0;
    if (!regular_) {
        // Only regular files have a length to bound reads by; anything else
        // (a directory, a device) yields nothing, and a failing read raises the
        // error indicator as a stream would.
        unsigned char probe;
        if (::pread(fd_, &probe, 1, 0) < 0) error_ = true;
        return 0;
    }
    auto* out = static_cast<unsigned char*>(dest);
    size_t done = 0;
    while (done < n && position_ >= 0 && position_ < size_) {
        const bool inWindow =
            position_ >= windowStart_ && position_ < windowStart_ + static_cast<int64_t>(windowLength_);
        if (!inWindow && !fillWindow(position_)) break;
        const auto offset = static_cast<size_t>(position_ - windowStart_);
        const size_t chunk = std::min(n - done, windowLength_ - offset);
        std::memcpy(out + done, window_ + offset, chunk);
        done += chunk;
        position_ += static_cast<int64_t>(chunk);
    }
    return done;
}

}  // namespace tiffwalker
