#pragma once
// Crafted hostile containers, written byte by byte: each names the bound of
// the container layer it presses on (tests/hostile_containers_test.cpp, and
// fuzzer seeds). A reading of each must end at once, cleanly.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "byte_writer.h"
#include "container_files.h"

namespace hostile_containers {

using Bytes = std::vector<uint8_t>;
using containers::box;
using containers::fullBox;

inline Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

inline Bytes heifFtyp() { return box("ftyp", {'h', 'e', 'i', 'c', 0, 0, 0, 0, 'm', 'i', 'f', '1'}); }
inline Bytes cr3Ftyp() { return box("ftyp", {'c', 'r', 'x', ' ', 0, 0, 0, 1}); }

// A TIFF structure in the HEIF builder's layout, to corrupt in one place.
inline Bytes tinyTiff() {
    bytes::ByteWriter out(false);
    out.header(8).u16(0).u32(0);
    return out.bytes();
}

// meta says it runs far beyond the file.
inline Bytes boxBeyondFile() {
    Bytes file = concat({heifFtyp(), box("meta", Bytes(16, 0))});
    bytes::storeNumber(file, 20, 0x7FFFFFF0u, 4, true);
    return file;
}

// A 64-bit size of 2^64 - 1.
inline Bytes largeSizeBeyondFile() {
    bytes::ByteWriter out(true);
    out.append(heifFtyp()).u32(1).text("meta").number(~uint64_t{0}, 8).fill(16);
    return out.bytes();
}

// Boxes that would never move the search forward: sizes 1 to 7 (below a
// header) and a 64-bit size of 0, after the ftyp box.
inline std::vector<Bytes> zeroSizeLoops() {
    std::vector<Bytes> files;
    for (uint32_t size = 1; size < 8; ++size) {
        bytes::ByteWriter out(true);
        out.append(heifFtyp()).u32(size).text("meta").fill(32);
        files.push_back(out.bytes());
    }
    bytes::ByteWriter large(true);
    large.append(heifFtyp()).u32(1).text("meta").number(0, 8).fill(32);
    files.push_back(large.bytes());
    return files;
}

// count empty free boxes at the top level before meta: far more than a list
// of boxes may hold.
inline Bytes manyTopLevelBoxes(size_t count) {
    Bytes file = heifFtyp();
    const Bytes free = box("free", {});
    file.reserve(file.size() + count * free.size());
    for (size_t i = 0; i < count; ++i) file.insert(file.end(), free.begin(), free.end());
    return concat({file, box("meta", Bytes(4, 0))});
}

// moov inside moov, depth levels deep, in a CR3 file.
// The headers are written outermost first, each size counting the boxes
// inside it, so that the file is built in one pass: wrapping the inner box
// again and again copies it once per level, which at these depths takes
// minutes.
inline Bytes deeplyNestedBoxes(size_t depth) {
    const Bytes inner = box("CMT1", tinyTiff());
    bytes::ByteWriter headers(true);
    for (size_t level = 0; level < depth; ++level) {
        headers.u32(static_cast<uint32_t>(8 * (depth - level) + inner.size())).text("moov");
    }
    return concat({cr3Ftyp(), headers.bytes(), inner});
}

// iinf and iloc whose counts say 2^32 - 1 items, with room for a few.
inline Bytes itemCountsInTheMillions() {
    const Bytes iinf = fullBox("iinf", 1, {0xFF, 0xFF, 0xFF, 0xFF});
    const Bytes iloc = fullBox("iloc", 2, {0x44, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 1, 0, 0, 0, 0});
    return concat({heifFtyp(), box("meta", concat({Bytes(4, 0), iinf, iloc}))});
}

// 65,535 items of 65,535 extents of no bytes each (all field sizes 0), none
// of them the Exif item: billions of extents, in 640 KiB.
inline Bytes emptyExtentsByTheBillion() {
    bytes::ByteWriter iloc(true);
    iloc.u8(0x00).u8(0x00).u32(0xFFFF);  // sizes 0; version 2's 32-bit item count
    for (uint32_t item = 0; item < 0xFFFF; ++item) iloc.u32(item + 10).u16(0).u16(0).u16(0xFFFF);
    const Bytes exif = fullBox("infe", 2, {0, 2, 0, 0, 'E', 'x', 'i', 'f', 0});
    const Bytes iinf = fullBox("iinf", 0, concat({{0, 1}, exif}));
    return concat({heifFtyp(), box("meta", concat({Bytes(4, 0), iinf, fullBox("iloc", 2, iloc.bytes())}))});
}

// count infe entries of another type before the Exif item's, each small:
// more than the item bound lets the search look at.
inline Bytes manyItemEntries(uint32_t count) {
    Bytes entries;
    const Bytes infe = fullBox("infe", 2, {0, 1, 0, 0, 'h', 'v', 'c', '1', 0});
    entries.reserve(count * infe.size());
    for (uint32_t i = 0; i < count; ++i) entries.insert(entries.end(), infe.begin(), infe.end());
    const Bytes exif = fullBox("infe", 2, {0, 2, 0, 0, 'E', 'x', 'i', 'f', 0});
    const Bytes iinf = fullBox("iinf", 1, concat({{0, 0, 0, 0}, entries, exif}));
    const Bytes iloc = fullBox("iloc", 0, {0x44, 0x00, 0, 1, 0, 2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 16});
    return concat({heifFtyp(), box("meta", concat({Bytes(4, 0), iinf, iloc})), tinyTiff()});
}

// The Exif item's extent lies past the end of the file (offset, or length).
inline std::vector<Bytes> extentsPastTheEnd() {
    std::vector<Bytes> files;
    for (const bool pastByOffset : {true, false}) {
        containers::HeifLayout layout;
        Bytes file = containers::heif(tinyTiff(), layout);
        // The Exif item's extent is the last 8 bytes of iloc in this layout:
        // offset then length, 4 bytes each.
        const size_t ilocStart = std::string(file.begin(), file.end()).find("iloc") - 4;
        const size_t ilocEnd = ilocStart + ((size_t{file[ilocStart]} << 24) | (size_t{file[ilocStart + 1]} << 16) |
                                            (size_t{file[ilocStart + 2]} << 8) | file[ilocStart + 3]);
        if (pastByOffset) {
            bytes::storeNumber(file, ilocEnd - 8, file.size() + 100, 4, true);
        } else {
            bytes::storeNumber(file, ilocEnd - 4, 0xFFFFFF00u, 4, true);
        }
        files.push_back(file);
    }
    return files;
}

// The Exif item's first 4 bytes say to skip past its end.
inline Bytes exifSkipPastItem() {
    containers::HeifLayout layout;
    layout.beforeTiff = {};
    Bytes file = containers::heif(tinyTiff(), layout);
    bytes::storeNumber(file, file.size() - tinyTiff().size() - 4, 0xFFFFFFF0u, 4, true);
    return file;
}

// The embedded JPEG's offset, or its length, past the end of the RAF file.
inline std::vector<Bytes> rafPlacesPastTheEnd() {
    std::vector<Bytes> files;
    const Bytes jpeg = containers::jpeg({containers::exifSegment(tinyTiff())});
    for (const auto& [offset, length] : std::vector<std::pair<uint32_t, uint32_t>>{
             {0xFFFFFFF0u, 16}, {160, 0xFFFFFFF0u}, {0xFFFFFFFFu, 0xFFFFFFFFu}, {84, 200}}) {
        Bytes file = containers::raf(jpeg);
        bytes::storeNumber(file, 84, offset, 4, true);
        bytes::storeNumber(file, 88, length, 4, true);
        files.push_back(file);
    }
    return files;
}

// A JPEG of size bytes that is fill bytes after its start, and one whose
// first segment says it runs far beyond the file.
inline std::vector<Bytes> endlessJpegs(size_t size) {
    Bytes fill(size, 0xFF);
    fill[1] = 0xD8;
    Bytes beyond = {0xFF, 0xD8, 0xFF, 0xFE, 0xFF, 0xFF, 'x', 'x'};
    return {fill, beyond};
}

}  // namespace hostile_containers
