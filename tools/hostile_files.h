#pragma once
// Crafted hostile files, written byte by byte: the worst cases the reader's
// bounds are measured on (tests/hostile_files_test.cpp), the small regression
// files in tests/regressions/, and fuzzer seeds. Every file is a TIFF
// structure in Intel byte order with IFD0 at 8 unless said otherwise; the Nikon
// maker notes inside are in Motorola order, as a camera writes them.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <tiffwalker/field_types.h>
#include <tiffwalker/tag_numbers.h>
#include "byte_writer.h"

namespace hostile {

using Bytes = std::vector<uint8_t>;

struct RawEntry {
    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    uint32_t valofs = 0;
};

// A file of a given size; writes past its end are dropped, so a builder can
// never write out of bounds whatever size it is asked for.
class CraftedFile {
public:
    explicit CraftedFile(size_t size, uint8_t fill = 0) : bytes_(size, fill) {}

    size_t size() const { return bytes_.size(); }
    const Bytes& bytes() const { return bytes_; }

    void put8(size_t at, uint8_t value) { bytes::storeNumber(bytes_, at, value, 1, false); }
    void put16(size_t at, uint16_t value, bool bigEndian = false) {
        bytes::storeNumber(bytes_, at, value, 2, bigEndian);
    }
    void put32(size_t at, uint32_t value, bool bigEndian = false) {
        bytes::storeNumber(bytes_, at, value, 4, bigEndian);
    }
    void putText(size_t at, const std::string& text) {
        for (size_t i = 0; i < text.size(); ++i) put8(at + i, static_cast<uint8_t>(text[i]));
    }
    // "II", 42 and the offset of IFD0.
    void tiffHeader(uint32_t ifd0 = 8) {
        putText(0, "II");
        put16(2, 42);
        put32(4, ifd0);
    }
    // A directory at position at: its count, its entries and a zero link.
    // Returns the position just after it.
    size_t directory(size_t at, const std::vector<RawEntry>& entries, bool bigEndian = false) {
        put16(at, static_cast<uint16_t>(entries.size()), bigEndian);
        size_t p = at + 2;
        for (const RawEntry& e : entries) {
            put16(p, e.tag, bigEndian);
            put16(p + 2, e.type, bigEndian);
            put32(p + 4, e.count, bigEndian);
            put32(p + 8, e.valofs, bigEndian);
            p += 12;
        }
        put32(p, 0, bigEndian);
        return p + 4;
    }

private:
    Bytes bytes_;
};

using tiffwalker::kLong;
using tiffwalker::kRational;
using tiffwalker::kShort;
using tiffwalker::kUndefined;
inline constexpr uint16_t kSubIfdOffsets = tiffwalker::tags::kSubIfdOffsets;

// Where the wide cases put the list of sub-directory offsets and the
// directories themselves (each 2 + 100 * 12 + 4 bytes, rounded up).
inline constexpr size_t kListAt = 4096;
inline constexpr size_t kFirstDirectoryAt = 8192;
inline constexpr size_t kDirectoryStride = 1216;
inline constexpr uint32_t kWideDirectories = 63;  // IFD0 and these make 64
inline constexpr size_t kWideEntries = 100;

inline size_t directoryAt(uint32_t k) { return kFirstDirectoryAt + k * kDirectoryStride; }
// The first byte after the wide cases' directories: values go from here.
inline constexpr size_t kBulkAt = kFirstDirectoryAt + kWideDirectories * kDirectoryStride;

// IFD0 with the given entries and a SubIFD list naming 63 directories, each
// of 100 entries made by entryOf(directory index, entry index).
template <typename EntryOf>
CraftedFile wideFile(size_t size, std::vector<RawEntry> ifd0, EntryOf entryOf, uint8_t fill = 0) {
    CraftedFile file(size, fill);
    file.tiffHeader();
    ifd0.push_back({kSubIfdOffsets, kLong, kWideDirectories, static_cast<uint32_t>(kListAt)});
    file.directory(8, ifd0);
    for (uint32_t d = 0; d < kWideDirectories; ++d) {
        file.put32(kListAt + 4 * d, static_cast<uint32_t>(directoryAt(d)));
        std::vector<RawEntry> entries;
        for (size_t i = 0; i < kWideEntries; ++i) entries.push_back(entryOf(d, i));
        file.directory(directoryAt(d), entries);
    }
    return file;
}

// Numbers all over the value area, so that lists read as varied values.
inline void fillPattern(CraftedFile& file, size_t from) {
    for (size_t p = from; p + 4 <= file.size(); p += 4) {
        file.put32(p, static_cast<uint32_t>(p * 2654435761u) ^ 0x01000193u);
    }
}

// Every entry of 64 directories points at one value as long as the whole
// file, in every field type; the UNDEFINED ones by a tag whose value is read
// (a byte list, the user comment).
inline Bytes sameLargeValue(size_t size) {
    const uint16_t types[] = {1, 2, 3, 4, 5, 6, 7, 7, 8, 9, 10, 11, 12};
    const uint16_t sizes[] = {1, 1, 2, 4, 8, 1, 1, 1, 2, 4, 8, 4, 8};
    CraftedFile file = wideFile(size, {}, [&](uint32_t, size_t i) {
        const size_t t = i % std::size(types);
        const uint16_t tag = t == 6 ? 0x008c : t == 7 ? 0x9286 : static_cast<uint16_t>(0x1000 + i);
        return RawEntry{tag, types[t], static_cast<uint32_t>(size / sizes[t]), 0};
    });
    fillPattern(file, kBulkAt);
    return file.bytes();
}

// Lists whose count makes type size times count wrap to 0 in 32 bits: no raw
// bytes are kept, so the whole budget goes to value texts of the longest kind
// (SHORT and RATIONAL lists), some of them with display handlings that parse
// them (lens, exposure time, focal length, a code table, a level).
inline Bytes wrappedListCounts(size_t size) {
    const RawEntry kinds[] = {
        {0, kShort, 0x80000000u, 0}, {0, kRational, 0x20000000u, 0}, {0, 8, 0x80000000u, 0}, {0, 10, 0x20000000u, 0}};
    const uint16_t tags[] = {0x1000, 0x0084, 0x829a, 0x920a, 0xa408, 0x0103, 0x1001};
    CraftedFile file = wideFile(size, {}, [&](uint32_t, size_t i) {
        RawEntry e = kinds[i % std::size(kinds)];
        e.tag = tags[i % std::size(tags)];
        e.valofs = static_cast<uint32_t>(kBulkAt);
        return e;
    });
    fillPattern(file, kBulkAt);
    return file.bytes();
}

// Counts near 2^32 in every field type (0 to 13), at positions inside the
// file, at its very end and far beyond it, under tags with special rules.
inline Bytes countsNear2To32(size_t size) {
    const uint32_t counts[] = {0xffffffffu, 0xfffffffeu, 0x80000000u, 0x80000001u, 0x7fffffffu,
                               0x40000000u, 0x40000001u, 0x20000000u, 0x20000001u};
    const uint16_t tags[] = {0x0002, 0x000b, 0x000e, 0x0084, 0x008b, 0x008c, 0x0088,
                             0x829a, 0x9286, 0x9000, 0x9101, 0xa300, 0x00a7, 0x1234};
    const uint32_t positions[] = {0,
                                  8,
                                  static_cast<uint32_t>(kBulkAt),
                                  static_cast<uint32_t>(size / 2),
                                  static_cast<uint32_t>(size - 2),
                                  static_cast<uint32_t>(size),
                                  0x7ffffffeu,
                                  0xfffffff0u};
    CraftedFile file = wideFile(size, {}, [&](uint32_t d, size_t i) {
        return RawEntry{tags[(d + i) % std::size(tags)], static_cast<uint16_t>((d * 7 + i) % 14),
                        counts[(d + i) % std::size(counts)], positions[(d * 3 + i) % std::size(positions)]};
    });
    fillPattern(file, kBulkAt);
    return file.bytes();
}

// Deep and wide: every directory points at the next (a chain as deep as the
// file has directories) and names all 63 in a SubIFD list of its own, so the
// walk meets each directory again and again at every depth.
inline Bytes deepAndWideSubIfds(size_t size) {
    CraftedFile file = wideFile(size, {}, [&](uint32_t d, size_t i) -> RawEntry {
        if (i == 0) return {kSubIfdOffsets, kLong, 1, static_cast<uint32_t>(directoryAt((d + 1) % kWideDirectories))};
        if (i == 1) return {kSubIfdOffsets, kLong, kWideDirectories, static_cast<uint32_t>(kListAt)};
        if (i == 2) return {0x8769, kLong, 1, 8};  // ExifOffset back to IFD0
        return {static_cast<uint16_t>(0x2000 + i), static_cast<uint16_t>(1 + i % 12), static_cast<uint32_t>(i * 4096),
                static_cast<uint32_t>(kBulkAt + i * 64)};
    });
    fillPattern(file, kBulkAt);
    return file.bytes();
}

// IFD0 holds 100 SubIFD lists, each as long as the file can hold, naming IFD0
// itself (already walked) and offset 0 (no directory) over and over.
inline Bytes repeatedSubIfdLists(size_t size) {
    CraftedFile file(size);
    file.tiffHeader();
    const auto listLength = static_cast<uint32_t>((size - kListAt) / 4);
    std::vector<RawEntry> ifd0(kWideEntries,
                               RawEntry{kSubIfdOffsets, kLong, listLength, static_cast<uint32_t>(kListAt)});
    file.directory(8, ifd0);
    for (size_t p = kListAt, j = 0; p + 4 <= size; p += 4, ++j) file.put32(p, j % 2 == 0 ? 8 : 0);
    return file.bytes();
}

// Make, Model and ExposureBracketValue texts of 64 KiB, and 6300 entries that
// each look at them: 0x0011 (which tests the Model), 0x927c (which tests the
// Make and then finds no maker-note header), and, with the trace on, the
// ExposureBracketValue lines printed for every entry.
inline Bytes longLookupTexts(size_t size) {
    const uint32_t textAt = 1u << 16;
    const uint32_t textLength = 70000;
    CraftedFile file = wideFile(size,
                                {{0x0019, kShort, 0x80000000u, static_cast<uint32_t>(kBulkAt)},
                                 {0x010f, 2, textLength, textAt},
                                 {0x0110, 2, textLength, textAt}},
                                [&](uint32_t, size_t i) -> RawEntry {
                                    if (i % 2 == 0) return {0x0011, kLong, 1, 8};
                                    return {0x927c, kUndefined, 100, textAt + 100};
                                });
    fillPattern(file, kBulkAt);
    // "NIKON CORPORATION" matches the maker-note test, and a D70 Model fails
    // the thumbnail test only after it has been looked at; the rest is 'A's.
    for (uint32_t i = 0; i < textLength; ++i) file.put8(textAt + i, 'A');
    file.putText(textAt, "NIKON CORPORATION NIKON D70");
    return file.bytes();
}

// A Nikon file whose directories lead back to themselves: the maker notes
// point at IFD0 (thumbnail and SubIFD entries), at the EXIF directory and at
// the maker notes again; the EXIF directory points at IFD0. Every directory
// is walked once, and the count, 4242, is still found.
inline Bytes makerNoteLoops() {
    CraftedFile file(1024);
    file.tiffHeader();
    const uint32_t makeAt = 200, modelAt = 220, exifAt = 300, noteAt = 500;
    const uint32_t header = noteAt + 10;  // the maker note's own TIFF header
    const uint32_t noteIfd = header + 8;  // its first directory, counted from there: 8
    file.putText(makeAt, std::string("NIKON CORPORATION") + '\0');
    file.putText(modelAt, std::string("NIKON D2H") + '\0');
    file.directory(8, {{0x010f, 2, 18, makeAt},
                       {0x0110, 2, 10, modelAt},
                       {0x8769, kLong, 1, exifAt},
                       {0x0011, kLong, 1, 8 - header}});  // header + this = IFD0
    file.directory(exifAt, {{0x8769, kLong, 1, 8},        // back to IFD0
                            {0x927c, kUndefined, 200, noteAt},
                            {0x8769, kLong, 1, exifAt}});  // itself
    file.putText(noteAt, std::string("Nikon\0\x02\x10\0\0", 10));
    file.putText(header, "MM");
    file.put16(header + 2, 42, true);
    file.put32(header + 4, 8, true);
    file.directory(noteIfd,
                   {{0x0011, kLong, 1, 8 - header},     // thumbnail: IFD0
                    {kSubIfdOffsets, kLong, 1, 8},      // IFD0
                    {0x8769, kLong, 1, exifAt},         // the EXIF directory
                    {0x927c, kUndefined, 200, noteAt},  // these maker notes again
                    {0x00a7, kLong, 1, 4242}},
                   true);
    return file.bytes();
}

// IFD0 with 100 SHORT lists whose count, 2^31, makes type size times count
// wrap to 0: no raw bytes, but each text reads from a file of `size` bytes
// as many values as the file holds, unless bounded by what the text can show.
inline Bytes wrappedShortLists(size_t size) {
    CraftedFile file(size);
    file.tiffHeader();
    std::vector<RawEntry> ifd0;
    for (uint16_t i = 0; i < kWideEntries; ++i)
        ifd0.push_back({static_cast<uint16_t>(0x1000 + i), kShort, 0x80000000u, 4096});
    file.directory(8, ifd0);
    return file.bytes();
}

// A UserComment of exactly 8 bytes: its character-code prefix and nothing
// after it, so its text is read from an empty buffer.
inline Bytes userCommentOfEightBytes() {
    CraftedFile file(64);
    file.tiffHeader();
    file.directory(8, {{0x9286, kUndefined, 8, 40}});
    file.putText(40, "ASCII");
    return file.bytes();
}

// A chain of SubIFD pointers n directories long, each directory holding one
// ordinary entry besides the pointer.
inline Bytes subIfdChain(uint32_t n) {
    CraftedFile file(kFirstDirectoryAt + (n + 1) * 64);
    file.tiffHeader(static_cast<uint32_t>(kFirstDirectoryAt));
    for (uint32_t k = 0; k < n; ++k) {
        const auto at = static_cast<uint32_t>(kFirstDirectoryAt + k * 64);
        const uint32_t next = k + 1 < n ? at + 64 : 0;
        file.directory(at, {{0x00fe, kLong, 1, k}, {kSubIfdOffsets, kLong, 1, next}});
    }
    return file.bytes();
}

}  // namespace hostile
