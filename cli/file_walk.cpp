#include "file_walk.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <utility>

#include "file_system.h"
#include "file_types.h"

namespace frametally::cli {

namespace {

class Walker {
public:
    Walker(const WalkOptions& options, FileList& list) : options_(options), list_(list) {}

    void operand(const std::string& path) {
        PathFacts facts;
        const bool known = examine(path, facts);
        if (known && facts.folder) {
            list_.anyFolder = true;
            folder(path, facts);
            return;
        }
        // A named file is read whatever its name; one that cannot be examined
        // is read too, so that its reading says what is wrong with it.
        if (!known || firstSight(seenFiles_, facts)) add(path);
    }

private:
    // True the first time a file or folder is met; one the system cannot
    // identify counts as new each time.
    static bool firstSight(std::set<FileIdentity>& seen, const PathFacts& facts) {
        return !facts.identified || seen.insert(facts.identity).second;
    }

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
    bool listSorted(const std::string& path, std::vector<FolderEntry>& entries) {
        int error = 0;
        const bool opened = listFolder(path, entries, error);
        if (error != 0) reportProblem(path, error);
        if (!opened) return false;
        std::sort(entries.begin(), entries.end());
        return true;
    }

    void folder(const std::string& path, const PathFacts& facts) {
        if (!firstSight(seenFolders_, facts)) return;
        if (!keepGoing()) return;
        std::vector<FolderEntry> entries;
        if (!listSorted(path, entries)) return;
        for (const auto& [name, type] : entries) {
            if (!keepGoing()) return;
            const std::string child = joinPath(path, name);
            const bool wanted = hasImageExtension(name);
            if (type == EntryType::File) {
                if (wanted) addOnce(child);
                continue;
            }
            if (type == EntryType::Folder && !options_.recursive) continue;
            PathFacts childFacts;
            if (!examine(child, childFacts)) {
                if (wanted) add(child);  // a dangling link: its reading says so
                continue;
            }
            if (childFacts.folder) {
                if (options_.recursive) folder(child, childFacts);
            } else if (wanted && firstSight(seenFiles_, childFacts)) {
                add(child);
            }
        }
    }

    void addOnce(const std::string& path) {
        PathFacts facts;
        if (!examine(path, facts) || firstSight(seenFiles_, facts)) add(path);
    }

    const WalkOptions& options_;
    FileList& list_;
    std::set<FileIdentity> seenFolders_;
    std::set<FileIdentity> seenFiles_;
};

}  // namespace

bool hasImageExtension(std::string_view name) { return isReadFileName(name); }

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
