#pragma once
// What the folder walk needs of the file system, one implementation per
// system (file_system_posix.cpp, file_system_windows.cpp): whether a path is
// a folder, which file it is (so that a file reached twice is read once), the
// names in a folder, and joining a folder and a name. Paths are UTF-8.
#include <compare>
#include <cstdint>
#include <string>
#include <vector>

namespace frametally::cli {

// Tells files apart: device and inode on POSIX; volume serial number and file
// index on Windows, where st_dev and st_ino are always 0.
struct FileIdentity {
    uint64_t volume = 0;
    uint64_t indexHigh = 0;
    uint64_t indexLow = 0;
    auto operator<=>(const FileIdentity&) const = default;
};

struct PathFacts {
    bool folder = false;
    bool identified = true;  // false: the system would not say which file it is
    FileIdentity identity;
};

enum class EntryType {
    File,    // a regular file, as the listing says
    Folder,  // a folder, as the listing says
    Unknown  // a link, or a file system that does not say: examine() it
};

struct FolderEntry {
    std::string name;
    EntryType type = EntryType::Unknown;
    auto operator<=>(const FolderEntry&) const = default;
};

// Follows links. False when the path cannot be examined.
bool examine(const std::string& path, PathFacts& facts);

// The folder's entries without "." and "..", in no order. False when the
// folder cannot be opened; error then holds the system's errno value. True
// with error set when the listing broke off part way.
bool listFolder(const std::string& path, std::vector<FolderEntry>& entries, int& error);

// The path of name inside folder, with the separator the folder already uses.
std::string joinPath(const std::string& folder, const std::string& name);

}  // namespace frametally::cli
