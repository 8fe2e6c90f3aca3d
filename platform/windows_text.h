#pragma once
// Windows names files in UTF-16; the programs keep every path and text in
// UTF-8 and convert at the edge, right where a wide API is called, so that a
// name such as "Café_ü.NEF" or a Cyrillic folder survives the round trip (the
// ANSI code page would turn them into "????"). Also the errno values that the
// programs' messages use, from Windows error codes.
#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cerrno>
#include <climits>
#include <string>
#include <string_view>

namespace frametally::windows {

// Empty for invalid UTF-8 with ok set false; a name Windows could never hold.
inline std::wstring widen(std::string_view text, bool* ok = nullptr) {
    if (ok != nullptr) *ok = true;
    if (text.empty()) return {};
    if (text.size() > INT_MAX) {
        if (ok != nullptr) *ok = false;
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (wide <= 0) {
        if (ok != nullptr) *ok = false;
        return {};
    }
    std::wstring out(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, out.data(), wide);
    return out;
}

inline std::string narrow(std::wstring_view text) {
    if (text.empty() || text.size() > INT_MAX / 4) return {};
    const int length = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return {};
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, out.data(), bytes, nullptr, nullptr);
    return out;
}

// The errno value for a Windows error code, so that messages read the same
// words ("No such file or directory", "Permission denied") on every system.
inline int errnoFromWindowsError(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_DIRECTORY: return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT: return EACCES;
        case ERROR_TOO_MANY_OPEN_FILES: return EMFILE;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY: return ENOMEM;
        case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
        case ERROR_NOT_READY:
        case ERROR_CRC:
        case ERROR_READ_FAULT:
        case ERROR_SECTOR_NOT_FOUND: return EIO;
        default: return EINVAL;
    }
}

}  // namespace frametally::windows
#endif
