#pragma once
// What the container layer answers: the kind of file, and where in it the
// TIFF structures lie that the walk reads, each with the part it plays.
#include <cstdint>
#include <string>
#include <vector>

namespace tiffwalker::container {

enum class ContainerKind {
    Unknown,  // none of the containers below: the reading's own detection decides
    Tiff,     // a TIFF header at the start (NEF, ARW, SR2, PEF, DNG, CR2)
    Jpeg,
    Heif,  // ISO base media file with HEIF or AVIF brands
    Cr3,   // ISO base media file with Canon's "crx " brand
    Raf,   // Fujifilm raw: an embedded JPEG
};

// What the directories of a TIFF structure are to the reading.
enum class TiffRole {
    Main,           // IFD0 and everything it points to
    ExifDirectory,  // its IFD0 is the EXIF directory (CR3's CMT2)
    MakerNote,      // its IFD0 is the maker note's directory (CR3's CMT3)
};

struct TiffLocation {
    int64_t offset = 0;  // of its TIFF header in the file
    int64_t length = 0;  // bytes it may use from there
    TiffRole role = TiffRole::Main;
    std::string label;  // where it was found, for the trace
};

struct ContainerFinding {
    ContainerKind kind = ContainerKind::Unknown;
    // In reading order; empty when the container was recognised but holds no
    // TIFF structure that can be read (none, or one its bounds refuse).
    std::vector<TiffLocation> structures;
};

const char* containerName(ContainerKind kind);

}  // namespace tiffwalker::container
