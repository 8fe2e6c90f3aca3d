#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <string_view>

#include "file_system.h"

namespace frametally::cli {

bool examine(const std::string& path, PathFacts& facts) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return false;
    facts.folder = S_ISDIR(info.st_mode);
    facts.identity = {static_cast<uint64_t>(info.st_dev), 0, static_cast<uint64_t>(info.st_ino)};
    return true;
}

bool listFolder(const std::string& path, std::vector<FolderEntry>& entries, int& error) {
    error = 0;
    DIR* dir = ::opendir(path.c_str());
    if (dir == nullptr) {
        error = errno;
        return false;
    }
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            // Only links and file systems that give no type need a look at the
            // entry itself; the rest tell their type in the listing.
            const EntryType type = entry->d_type == DT_REG   ? EntryType::File
                                   : entry->d_type == DT_DIR ? EntryType::Folder
                                                             : EntryType::Unknown;
            entries.push_back({std::string(name), type});
        }
        errno = 0;
    }
    error = errno;
    ::closedir(dir);
    return true;
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

}  // namespace frametally::cli
