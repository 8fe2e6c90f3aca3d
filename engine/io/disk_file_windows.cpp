// DiskFile on Windows: the path (UTF-8) opened with the wide API, positioned
// reads through ReadFile with an offset, sizes and offsets in 64 bits. The
// handle is kept as a C runtime descriptor, so that the class looks the same
// on every system.
#include "io/disk_file.h"

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "windows_text.h"

namespace tiffwalker {

namespace {

HANDLE handleOf(int fd) { return reinterpret_cast<HANDLE>(::_get_osfhandle(fd)); }

bool isFolderPath(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

DiskFile::~DiskFile() { close(); }

bool DiskFile::open(const char* path) {
    close();
    bool valid = false;
    const std::wstring wide = path == nullptr ? std::wstring() : frametally::windows::widen(path, &valid);
    if (!valid || wide.empty()) {
        openError_ = ENOENT;
        return false;
    }
    // Others may read, write or delete the file while it is read, as on
    // Linux. Backup semantics let a folder be opened too, so that it is told
    // from a missing file.
    const HANDLE handle =
        CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // Windows refuses to open some folders ("Permission denied"); their
        // attributes still say what they are.
        if (isFolderPath(wide)) {
            folder_ = true;
            return true;
        }
        openError_ = frametally::windows::errnoFromWindowsError(error);
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool disk = GetFileType(handle) == FILE_TYPE_DISK;
    if (disk && GetFileInformationByHandle(handle, &info) != 0) {
        folder_ = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        regular_ = !folder_;
        LARGE_INTEGER length{};
        if (regular_ && GetFileSizeEx(handle, &length) != 0) size_ = length.QuadPart;
    }
    fd_ = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (fd_ < 0) {
        CloseHandle(handle);
        openError_ = EMFILE;
        regular_ = folder_ = false;
        size_ = 0;
        return false;
    }
    return true;
}

void DiskFile::close() {
    if (fd_ >= 0) ::_close(fd_);  // closes the handle too
    fd_ = -1;
    regular_ = false;
    folder_ = false;
    error_ = false;
    openError_ = 0;
    size_ = 0;
}

size_t DiskFile::readAt(int64_t position, void* dest, size_t n) {
    if (fd_ < 0) return 0;
    const HANDLE handle = handleOf(fd_);
    if (!regular_) {
        // Nothing to read, but a failing read (a folder's, say) raises the
        // error indicator as a stream would.
        unsigned char probe;
        DWORD got = 0;
        if (ReadFile(handle, &probe, 1, &got, nullptr) == 0) error_ = true;
        return 0;
    }
    if (position < 0) return 0;
    auto* out = static_cast<unsigned char*>(dest);
    size_t done = 0;
    while (done < n) {
        const int64_t at = position + static_cast<int64_t>(done);
        OVERLAPPED where{};
        where.Offset = static_cast<DWORD>(static_cast<uint64_t>(at) & 0xffffffffu);
        where.OffsetHigh = static_cast<DWORD>(static_cast<uint64_t>(at) >> 32);
        const auto chunk = static_cast<DWORD>(std::min<size_t>(n - done, 1u << 30));
        DWORD got = 0;
        if (ReadFile(handle, out + done, chunk, &got, &where) == 0) {
            if (GetLastError() != ERROR_HANDLE_EOF) error_ = true;
            break;
        }
        if (got == 0) break;  // the file shrank while we read it
        done += got;
    }
    return done;
}

}  // namespace tiffwalker
