#include "file_walk.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>
#include <utility>

namespace frametally::cli {

namespace {

using FileId = std::pair<dev_t, ino_t>;

bool endsWithIgnoringCase(std::string_view name, std::string_view suffix) {
    if (name.size() < suffix.size()) return false;
    const std::string_view tail = name.substr(name.size() - suffix.size());
    return std::equal(tail.begin(), tail.end(), suffix.begin(), [](char a, char b) {
        return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
    });
}

std::string joined(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

class Walker {
public:
    Walker(const WalkOptions& options, FileList& list) : options_(options), list_(list) {}

    void operand(const std::string& path) {
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
            list_.anyFolder = true;
            folder(path, info);
            return;
        }
        // A named file is read whatever its name; one that cannot be examined
        // is read too, so that its reading says what is wrong with it.
        if (::stat(path.c_str(), &info) != 0 || seenFiles_.insert({info.st_dev, info.st_ino}).second) {
            add(path);
        }
    }

private:
    bool keepGoing() {
        if (list_.stopped) return false;
        if (options_.keepGoing && !options_.keepGoing()) list_.stopped = true;
        return !list_.stopped;
    }

    void add(const std::string& path) {
        list_.paths.push_back(path);
        if (options_.found && list_.paths.size() % 64 == 0) options_.found(list_.paths.size());
    }

    void reportProblem(const std::string& path, int error) {
        WalkProblem problem{path, std::strerror(error)};
        if (options_.problem) options_.problem(problem);
        list_.problems.push_back(std::move(problem));
    }

    // The names in the folder, sorted, so that the reading order is the same
    // on every run; the folder is closed before any of them is visited.
    bool listFolder(const std::string& path, std::vector<std::pair<std::string, unsigned char>>& names) {
        DIR* dir = ::opendir(path.c_str());
        if (dir == nullptr) {
            reportProblem(path, errno);
            return false;
        }
        errno = 0;
        while (const dirent* entry = ::readdir(dir)) {
            const std::string_view name = entry->d_name;
            if (name != "." && name != "..") names.emplace_back(std::string(name), entry->d_type);
            errno = 0;
        }
        const int error = errno;
        ::closedir(dir);
        if (error != 0) reportProblem(path, error);
        std::sort(names.begin(), names.end());
        return true;
    }

    void folder(const std::string& path, const struct stat& info) {
        if (!seenFolders_.insert({info.st_dev, info.st_ino}).second) return;
        if (!keepGoing()) return;
        std::vector<std::pair<std::string, unsigned char>> names;
        if (!listFolder(path, names)) return;
        for (const auto& [name, type] : names) {
            if (!keepGoing()) return;
            const std::string child = joined(path, name);
            const bool wanted = hasImageExtension(name);
            // Only links and file systems that give no type need a look at the
            // entry itself; the rest tell their type in the listing.
            if (type == DT_REG) {
                if (wanted) addOnce(child);
                continue;
            }
            if (type == DT_DIR && !options_.recursive) continue;
            struct stat childInfo {};
            if (::stat(child.c_str(), &childInfo) != 0) {
                if (wanted) add(child);  // a dangling link: its reading says so
                continue;
            }
            if (S_ISDIR(childInfo.st_mode)) {
                if (options_.recursive) folder(child, childInfo);
            } else if (wanted && seenFiles_.insert({childInfo.st_dev, childInfo.st_ino}).second) {
                add(child);
            }
        }
    }

    void addOnce(const std::string& path) {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 || seenFiles_.insert({info.st_dev, info.st_ino}).second) add(path);
    }

    const WalkOptions& options_;
    FileList& list_;
    std::set<FileId> seenFolders_;
    std::set<FileId> seenFiles_;
};

}  // namespace

bool hasImageExtension(std::string_view name) {
    // Every file type the reader finds the TIFF structures of.
    static constexpr std::string_view kExtensions[] = {".nef", ".jpg", ".jpeg", ".arw",  ".sr2", ".pef", ".dng",
                                                       ".cr2", ".cr3", ".heic", ".heif", ".hif", ".raf"};
    for (const std::string_view extension : kExtensions) {
        if (endsWithIgnoringCase(name, extension)) return true;
    }
    return false;
}

FileList collectFiles(const std::vector<std::string>& operands, const WalkOptions& options) {
    FileList list;
    Walker walker(options, list);
    for (const std::string& operand : operands) {
        if (list.stopped) break;
        walker.operand(operand);
    }
    if (options.found) options.found(list.paths.size());
    return list;
}

}  // namespace frametally::cli
