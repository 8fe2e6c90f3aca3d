#pragma once
// Camera files of the makers other than Nikon, byte by byte: a maker note of
// any layout (header, directory start, byte order, offsets counted from the
// file's TIFF header or from the maker note), and each maker's count as its
// bodies write it (Sony enciphered, Pentax mixed with the date and time).
#include <cstdint>
#include <string>
#include <vector>

#include "synthetic_files.h"

namespace synthetic {

struct NoteEntry {
    uint16_t tag = 0;
    uint16_t type = 7;
    uint32_t count = 0;  // 0: the value's size in units of the type
    Bytes value;         // as stored, in the maker note's byte order
};

struct MakerNoteLayout {
    Bytes header;                 // the bytes the maker note begins with
    size_t directoryAt = 0;       // the directory's distance from the start (zero-filled up to it)
    bool bigEndian = false;       // the directory's byte order
    bool offsetsFromFile = true;  // offsets count from the file's TIFF header, else from the maker note
    Bytes trailer;                // bytes after the values (Canon's footer)
    // Offsets are written as if the maker note lay this far from where it
    // does (an editing program that moved it without mending them); a
    // Canon footer then names the place it came from.
    int64_t movedBy = 0;
    bool canonFooter = false;
};

struct MakerFile {
    std::string make;
    std::string model;
    Order order = Order::Intel;  // the file's
    MakerNoteLayout layout;
    std::vector<NoteEntry> entries;
    bool jpeg = true;  // APP1 first; else a TIFF file
    // The maker note in DNGPrivateData (IFD0) rather than in EXIF.
    bool inDngPrivateData = false;
};

Bytes makeMakerFile(const MakerFile& file);

// Sony's cipher: each byte b below 249 becomes b^3 mod 249.
Bytes sonyEnciphered(const Bytes& plain);
// A 0x9050 block of size bytes with the 32-bit count word at at; five zero
// bytes first when fiveZeros, else a non-zero first byte.
NoteEntry sonyCountBlock(size_t at, uint32_t word, size_t size = 0x200, bool fiveZeros = false);
// A Sony file; withHeader writes "SONY DSC \0\0\0" before the directory.
MakerFile sonyFile(const std::string& model, std::vector<NoteEntry> entries, bool withHeader = true,
                   Order order = Order::Intel);

// A Pentax file whose count is count, taken on date (YYYY, MM, DD) at time
// (hh, mm, ss): aocHeader for "AOC\0", else "PENTAX \0"; mark the byte-order
// mark written after it, bigEndian the directory's order.
MakerFile pentaxFile(uint32_t count, bool aocHeader, bool bigEndian, const char* mark,
                     const std::string& make = "PENTAX Corporation", const std::string& model = "PENTAX K-5");

// A Canon file with these maker-note entries.
MakerFile canonFile(const std::string& model, std::vector<NoteEntry> entries, Order order = Order::Intel);
// Canon's CameraInfo block (0x000d) with a little-endian 32-bit word at at.
NoteEntry canonCameraInfo(size_t at, uint32_t word, size_t size = 0x1000);

// A Fujifilm file with the image-count entry 0x1438 holding value.
MakerFile fujifilmFile(uint16_t value, const std::string& model = "X-T3");

}  // namespace synthetic
