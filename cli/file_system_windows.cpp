// The folder walk's file system on Windows: wide APIs with UTF-8 paths, file
// identity from the volume serial number and the file index, folders told by
// their attributes.
#include <string_view>

#include "file_system.h"
#include "windows_text.h"

namespace frametally::cli {

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// "D:\photos\" and "D:\photos/" name the folder "D:\photos", which is how the
// system wants to be asked; a drive's root ("D:\", "\") keeps its separator.
std::wstring withoutTrailingSeparators(const std::string& path) {
    size_t end = path.size();
    while (end > 1 && isSeparator(path[end - 1]) && !(end == 3 && path[1] == ':')) --end;
    return windows::widen(std::string_view(path).substr(0, end));
}

}  // namespace

bool examine(const std::string& path, PathFacts& facts) {
    const std::wstring wide = withoutTrailingSeparators(path);
    if (wide.empty()) return false;
    // Backup semantics open folders too; without FILE_FLAG_OPEN_REPARSE_POINT
    // the handle is that of a link's target, as stat() follows links.
    const HANDLE handle =
        CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        // Some folders cannot be opened at all; their attributes still say
        // they are folders (then without an identity: walked however reached).
        const DWORD attributes = GetFileAttributesW(wide.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) return false;
        facts.folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        facts.identified = false;
        facts.identity = {};
        return true;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(handle, &info) != 0;
    CloseHandle(handle);
    if (!known) return false;
    facts.folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.identified = true;
    facts.identity = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return true;
}

bool listFolder(const std::string& path, std::vector<FolderEntry>& entries, int& error) {
    error = 0;
    std::wstring pattern = withoutTrailingSeparators(path);
    if (pattern.empty()) {
        error = ENOENT;
        return false;
    }
    if (pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND) return true;  // nothing in it, not even "."
        error = windows::errnoFromWindowsError(code);
        return false;
    }
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const DWORD attributes = found.dwFileAttributes;
        // Links (reparse points) are looked at through examine(), which
        // follows them.
        const EntryType type = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? EntryType::Unknown
                               : (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0   ? EntryType::Folder
                                                                                : EntryType::File;
        entries.push_back({windows::narrow(name), type});
    } while (FindNextFileW(search, &found) != 0);
    const DWORD code = GetLastError();
    if (code != ERROR_NO_MORE_FILES) error = windows::errnoFromWindowsError(code);
    FindClose(search);
    return true;
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (!folder.empty() && isSeparator(folder.back())) return folder + name;
    // The separator the folder's path already uses, so that paths do not mix
    // them; a bare drive or name gets the system's own.
    const size_t last = folder.find_last_of("\\/");
    const char separator = last == std::string::npos ? '\\' : folder[last];
    return folder + separator + name;
}

}  // namespace frametally::cli
