#pragma once
// Turns the command line's operands into the list of files to read: files as
// named, folders opened for the camera files in them (recursively with -r).
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace frametally::cli {

struct WalkProblem {
    std::string path;
    std::string error;  // the system's word for it
};

struct FileList {
    std::vector<std::string> paths;     // in reading order
    std::vector<WalkProblem> problems;  // folders that could not be listed
    bool anyFolder = false;             // some operand was a folder
    bool stopped = false;               // the walk was asked to stop
};

struct WalkOptions {
    bool recursive = false;
    // Asked now and then; returning false stops the walk where it is.
    std::function<bool()> keepGoing;
    // Told how many files have been found so far, now and then.
    std::function<void(size_t)> found;
    // Told of each folder that cannot be listed, when it happens.
    std::function<void(const WalkProblem&)> problem;
};

// Files named as operands are always taken, whatever their names, in the
// order given. A folder contributes the files whose names end in .nef, .jpg,
// .jpeg, .arw, .sr2, .pef, .dng, .cr2, .cr3, .heic, .heif, .hif or .raf in any
// case, sorted by path, and with -r those of every folder below
// it, symbolic links to folders included; a folder is walked once however many
// ways lead to it, so link loops end. A file reached twice (two operands, a
// link and its target, hard links) is read once.
FileList collectFiles(const std::vector<std::string>& operands, const WalkOptions& options);

bool hasImageExtension(std::string_view name);

}  // namespace frametally::cli
