#pragma once
// Photo libraries of synthetic camera files whose bodies have histories known
// in advance: for the history's tests (through the library, the command and
// the page) and its benchmark.
#include <cstddef>
#include <string>
#include <vector>

#include "synthetic_files.h"

namespace synthetic {

struct LibraryFile {
    std::string path;  // relative to the library's folder, '/' between names
    CameraFile camera;
    bool jpeg = false;
};

// Six bodies, each with what its history must show:
// - NIKON D850 7000001, steady use: five NEFs 30 days apart from
//   2025:01:01 10:00:00, 1000 to 13000 (3000 a picture), and a JPEG beside
//   the last of the same shot;
// - NIKON D750 3000002, a reset: 20000 and 22000 a month apart, then 300 and
//   2300 (a lower count on 2025:04:02);
// - NIKON D7000 and NIKON D7100, both serial 6000003: a shared serial number;
// - NIKON Z 6 5000004, a clock set wrong: a picture stamped 2019:01:01 with
//   5900 before 5000 of 2025:06:01, and one stamped five seconds after
//   another with 500 more;
// - NIKON D70 without a serial number, a day apart (100, 130), and a file of
//   it without a date taken;
// - a NEF without a count, which no history holds.
std::vector<LibraryFile> historyLibrary();

// files NEFs over bodies (NIKON Z 8, serial 8000000 + body), each used
// steadily: a picture a day per body, 1 to 40 releases apart.
std::vector<LibraryFile> steadyLibrary(size_t files, size_t bodies);

// Writes every file below root; false when one could not be written.
bool writeLibrary(const std::string& root, const std::vector<LibraryFile>& files);

}  // namespace synthetic
