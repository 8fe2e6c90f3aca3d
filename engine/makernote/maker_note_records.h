#pragma once
// A maker note's directory as records: the entries of the tags a count reader
// asks for, each with the bytes of its value, read once, bounded, in the maker
// note's byte order. Count readers read these, never the file.
#include <cstdint>
#include <string>
#include <vector>

#include "io/byte_order.h"
#include "makernote/maker_note_layouts.h"

namespace tiffwalker {
class FileStream;
}

namespace tiffwalker::makernote {

struct MakerNoteEntry {
    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    // The value's bytes as stored; empty when not asked for, or when the value
    // lies outside the file or is larger than a count reader ever needs.
    std::vector<unsigned char> bytes;
};

struct MakerNoteRecords {
    const MakerNoteLayout* layout = nullptr;
    ByteOrder order;  // the maker note's
    std::vector<MakerNoteEntry> entries;

    // The first entry with this tag; null when there is none.
    const MakerNoteEntry* find(uint16_t tag) const;
};

// Where a maker note lies in the file.
struct MakerNotePlace {
    // The file position of the TIFF header that the file's offsets count from,
    // and that header's byte order.
    int64_t structureStart = 0;
    ByteOrder structureOrder;
    // The maker note's own bytes.
    int64_t position = 0;
    int64_t length = 0;
    // The maker note is a TIFF structure of its own, header first (as CR3
    // files keep Canon's in a box of their own): its directory is where its
    // header says, its offsets count from that header, its order is its mark's.
    bool standaloneTiff = false;
};

// What became of reading a maker note's directory.
enum class DirectoryResult {
    Read,
    LayoutUnknown,
    HeaderRefused,  // the TIFF header a layout places inside the maker note is not one
    Unreadable,
};

// Reads the directory of the maker note at place, of this maker, into records:
// the entries of the tags in wanted only. Every position and length comes from
// the file and is checked against the file's size before it is used.
DirectoryResult readMakerNoteRecords(FileStream& file, Maker maker, const MakerNotePlace& place,
                                     const std::vector<uint16_t>& wanted, MakerNoteRecords& records);

// The most entries a maker-note directory is read with, and the largest value
// kept (the largest a count reader needs is Sony's older 19 KiB block).
inline constexpr uint32_t kMaxMakerNoteEntries = 1024;
inline constexpr uint32_t kMaxKeptValue = 64 * 1024;

}  // namespace tiffwalker::makernote
