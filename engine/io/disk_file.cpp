#include "io/disk_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tiffwalker {

DiskFile::~DiskFile() { close(); }

bool DiskFile::open(const char* path) {
    close();
    if (path == nullptr) {
        openError_ = ENOENT;
        return false;
    }
    // O_NONBLOCK: opening a named pipe without a writer would otherwise wait
    // for ever; a pipe is no regular file and is refused right after. Regular
    // files ignore the flag.
    do {
        fd_ = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) {
        openError_ = errno;
        return false;
    }
    struct stat info {};
    if (::fstat(fd_, &info) == 0) {
        regular_ = S_ISREG(info.st_mode);
        folder_ = S_ISDIR(info.st_mode);
        size_ = regular_ ? static_cast<int64_t>(info.st_size) : 0;
    }
    return true;
}

void DiskFile::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    regular_ = false;
    folder_ = false;
    error_ = false;
    openError_ = 0;
    size_ = 0;
}

size_t DiskFile::readAt(int64_t position, void* dest, size_t n) {
    if (fd_ < 0) return 0;
    if (!regular_) {
        // Nothing to read, but a failing read raises the error indicator as a
        // stream would.
        unsigned char probe;
        if (::pread(fd_, &probe, 1, 0) < 0) error_ = true;
        return 0;
    }
    auto* out = static_cast<unsigned char*>(dest);
    size_t done = 0;
    while (done < n) {
        const ssize_t got =
            ::pread(fd_, out + done, n - done, static_cast<off_t>(position + static_cast<int64_t>(done)));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            error_ = true;
            break;
        }
        if (got == 0) break;  // the file shrank while we read it
        done += static_cast<size_t>(got);
    }
    return done;
}

}  // namespace tiffwalker
