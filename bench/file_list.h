#pragma once
// The files a benchmark helper works on: its arguments, or with "--from LIST"
// the lines of a file that names one path a line (a 10,000-file corpus is
// more than a command line comfortably holds).
#include <fstream>
#include <string>
#include <vector>

namespace bench {

// False when the list file cannot be read.
inline bool collectPaths(int argc, char** argv, std::vector<std::string>& paths) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--from" && i + 1 < argc) {
            std::ifstream list(argv[++i]);
            if (!list) return false;
            for (std::string line; std::getline(list, line);) {
                if (!line.empty()) paths.push_back(line);
            }
        } else {
            paths.push_back(argument);
        }
    }
    return true;
}

}  // namespace bench
