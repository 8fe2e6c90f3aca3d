#pragma once
// The file types Frametally reads and the makers whose counts it reads, from
// the one list in file_types.txt: what a folder walk takes, what the pickers
// offer and what the About boxes say all come from here.
#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace frametally {

struct FileType {
    std::string_view name;                    // "NEF", "HEIF"
    std::array<std::string_view, 3> endings;  // "heic", "heif", "hif"; unused places empty
};

std::span<const FileType> fileTypes();
// Every file-name ending read, without its dot, in lower case: "nef", "jpg", ...
std::vector<std::string> fileExtensions();
// Whether a file's name ends in one of them, in any case ("DSC_0001.NEF").
bool isReadFileName(std::string_view name);
// "Nikon", "Sony", ...: the makers whose files hold a count that is read.
std::vector<std::string> countMakers();

// "NEF, JPEG, ... and RAF".
std::string fileTypeNamesText();
// What the About boxes say the program reads, in one sentence.
std::string readsText();

}  // namespace frametally
