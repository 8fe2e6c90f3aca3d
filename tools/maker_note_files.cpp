#include "maker_note_files.h"

#include <algorithm>

#include "byte_writer.h"

namespace synthetic {

namespace {

unsigned typeSize(uint16_t type) {
    switch (type) {
        case 3:
        case 8: return 2;
        case 4:
        case 9:
        case 11: return 4;
        case 5:
        case 10:
        case 12: return 8;
        default: return 1;
    }
}

// The maker note's bytes, for a maker note that lies at position in the TIFF
// structure (which offsets counted from the file's header need).
Bytes makerNoteBytes(const MakerNoteLayout& layout, const std::vector<NoteEntry>& entries, int64_t position) {
    bytes::ByteWriter out(layout.bigEndian);
    out.append(layout.header);
    if (out.size() < layout.directoryAt) out.fill(layout.directoryAt - out.size());
    const int64_t base = (layout.offsetsFromFile ? position : 0) + layout.movedBy;
    size_t valueAt = out.size() + 2 + 12 * entries.size() + 4;
    out.u16(static_cast<uint32_t>(entries.size()));
    std::vector<const NoteEntry*> outside;
    for (const NoteEntry& entry : entries) {
        const uint32_t count =
            entry.count != 0 ? entry.count : static_cast<uint32_t>(entry.value.size() / typeSize(entry.type));
        out.u16(entry.tag).u16(entry.type).u32(count);
        if (entry.value.size() <= 4) {
            Bytes inside = entry.value;
            inside.resize(4, 0);
            out.append(inside);
        } else {
            out.u32(static_cast<uint32_t>(base + static_cast<int64_t>(valueAt)));
            valueAt += entry.value.size() + entry.value.size() % 2;
            outside.push_back(&entry);
        }
    }
    out.u32(0);
    for (const NoteEntry* entry : outside) {
        out.append(entry->value);
        if (entry->value.size() % 2 != 0) out.u8(0);
    }
    out.append(layout.trailer);
    if (layout.canonFooter) {
        bytes::ByteWriter footer(layout.bigEndian);
        footer.text(layout.bigEndian ? "MM" : "II").u16(42).u32(static_cast<uint32_t>(position + layout.movedBy));
        out.append(footer.bytes());
    }
    return out.bytes();
}

Bytes textValue(const std::string& text) {
    Bytes value(text.begin(), text.end());
    value.push_back(0);
    return value;
}

}  // namespace

Bytes makeMakerFile(const MakerFile& file) {
    // The maker note's place is known once the file is laid out: a first
    // build with a stand-in of the same size finds it.
    const size_t noteSize = makerNoteBytes(file.layout, file.entries, 0).size();
    Bytes standIn(noteSize, 0xA5);
    const Bytes marker = {'M', 'A', 'R', 'K', 'E', 'R', '1', '5'};
    std::copy(marker.begin(), marker.begin() + std::min(marker.size(), noteSize), standIn.begin());

    auto build = [&](const Bytes& note) {
        Ifd ifd0;
        ifd0.entries.push_back(Entry::ascii(0x010f, file.make));
        if (!file.model.empty()) ifd0.entries.push_back(Entry::ascii(0x0110, file.model));
        auto exif = std::make_shared<Ifd>();
        exif->entries.push_back(Entry::ascii(0x9003, "2026:12:07 10:00:00"));
        if (file.inDngPrivateData) {
            ifd0.entries.push_back(Entry::bytes(0xc634, 1, note));
        } else {
            exif->entries.push_back(Entry::bytes(0x927c, 7, note));
        }
        ifd0.entries.push_back(Entry::pointer(0x8769, {exif}));
        const Bytes tiff = buildTiff(ifd0, file.order);
        return file.jpeg ? wrapInJpeg(tiff, false) : tiff;
    };
    Bytes bytes = build(standIn);
    const size_t tiffStart = file.jpeg ? 12 : 0;
    const auto at = std::search(bytes.begin(), bytes.end(), standIn.begin(), standIn.end());
    const int64_t position = static_cast<int64_t>(at - bytes.begin()) - static_cast<int64_t>(tiffStart);
    const Bytes note = makerNoteBytes(file.layout, file.entries, position);
    std::copy(note.begin(), note.end(), at);
    return bytes;
}

Bytes sonyEnciphered(const Bytes& plain) {
    Bytes out;
    for (uint8_t b : plain) {
        if (b >= 249) {
            out.push_back(b);
            continue;
        }
        const unsigned cube = unsigned{b} * b % 249 * b % 249;
        out.push_back(static_cast<uint8_t>(cube));
    }
    return out;
}

NoteEntry sonyCountBlock(size_t at, uint32_t word, size_t size, bool fiveZeros) {
    Bytes plain(size, 0);
    for (size_t i = 0; i < size; ++i) plain[i] = static_cast<uint8_t>((i * 7 + 3) % 240 + 5);
    if (fiveZeros) std::fill(plain.begin(), plain.begin() + 5, 0);
    bytes::storeNumber(plain, at, word, 4, false);
    return {0x9050, 7, 0, sonyEnciphered(plain)};
}

MakerFile sonyFile(const std::string& model, std::vector<NoteEntry> entries, bool withHeader, Order order) {
    MakerFile file;
    file.make = "SONY";
    file.model = model;
    file.order = order;
    file.layout.bigEndian = order == Order::Motorola;
    if (withHeader) {
        const char header[] = "SONY DSC \0\0\0";
        file.layout.header.assign(header, header + 12);
        file.layout.directoryAt = 12;
    }
    file.entries = std::move(entries);
    return file;
}

MakerFile pentaxFile(uint32_t count, bool aocHeader, bool bigEndian, const char* mark, const std::string& make,
                     const std::string& model) {
    MakerFile file;
    file.make = make;
    file.model = model;
    file.layout.bigEndian = bigEndian;
    if (aocHeader) {
        file.layout.header = {'A', 'O', 'C', 0, static_cast<uint8_t>(mark[0]), static_cast<uint8_t>(mark[1])};
        file.layout.directoryAt = 6;
        file.layout.offsetsFromFile = true;
    } else {
        file.layout.header = {
            'P', 'E', 'N', 'T', 'A', 'X', ' ', 0, static_cast<uint8_t>(mark[0]), static_cast<uint8_t>(mark[1])};
        file.layout.directoryAt = 10;
        file.layout.offsetsFromFile = false;
    }
    // 2026-12-07 10:20:30, written big-endian whatever the directory's order.
    const Bytes date = {0x07, 0xEA, 12, 7};
    const Bytes time = {10, 20, 30};
    const uint32_t d = 0x07EA0C07u, t = 0x0A141E00u;
    const uint32_t stored = count ^ d ^ (0xFFFFFFFFu - t);
    const Bytes countBytes = {static_cast<uint8_t>(stored >> 24), static_cast<uint8_t>(stored >> 16),
                              static_cast<uint8_t>(stored >> 8), static_cast<uint8_t>(stored)};
    file.entries = {{0x0005, 4, 1, bytes::ByteWriter(bigEndian).u32(0x12b9).bytes()},
                    {0x0006, 7, 4, date},
                    {0x0007, 7, 3, time},
                    {0x005d, 7, 4, countBytes},
                    {0x0200, 3, 0, Bytes(32, 1)}};
    return file;
}

MakerFile canonFile(const std::string& model, std::vector<NoteEntry> entries, Order order) {
    MakerFile file;
    file.make = "Canon";
    file.model = model;
    file.order = order;
    file.layout.bigEndian = order == Order::Motorola;
    file.entries = std::move(entries);
    file.entries.insert(file.entries.begin(), {0x0006, 2, 0, textValue("Canon EOS")});
    return file;
}

NoteEntry canonCameraInfo(size_t at, uint32_t word, size_t size) {
    Bytes block(size, 0x11);
    bytes::storeNumber(block, at, word, 4, false);
    return {0x000d, 7, 0, block};
}

MakerFile fujifilmFile(uint16_t value, const std::string& model) {
    MakerFile file;
    file.make = "FUJIFILM";
    file.model = model;
    file.order = Order::Motorola;  // the maker note stays little-endian
    file.layout.header = {'F', 'U', 'J', 'I', 'F', 'I', 'L', 'M', 12, 0, 0, 0};
    file.layout.directoryAt = 12;
    file.layout.offsetsFromFile = false;
    file.entries = {{0x0000, 7, 4, {'0', '1', '3', '0'}},
                    {0x1438, 3, 1, bytes::ByteWriter(false).u16(value).bytes()},
                    {0x1032, 3, 1, bytes::ByteWriter(false).u16(1).bytes()}};
    return file;
}

}  // namespace synthetic
