#include "makernote/maker_note_records.h"

#include <algorithm>

#include "io/file_stream.h"

namespace tiffwalker::makernote {

namespace {

uint32_t typeSize(uint16_t type) {
    switch (type) {
        case 1:
        case 2:
        case 6:
        case 7: return 1;
        case 3:
        case 8: return 2;
        case 4:
        case 9:
        case 11: return 4;
        case 5:
        case 10:
        case 12: return 8;
        default: return 0;
    }
}

// n bytes at position, all inside the file; false (and nothing read) otherwise.
bool readWithin(FileStream& file, int64_t position, unsigned char* dest, size_t n) {
    const int64_t size = file.size();
    if (position < 0 || position > size || static_cast<int64_t>(n) > size - position) return false;
    file.seek(position);
    return file.read(dest, n) == n;
}

// A directory that could be one: some entries but not absurdly many, its
// entry table inside the file, and its first entry of a known type.
bool plausibleDirectory(FileStream& file, int64_t at, const ByteOrder& order) {
    unsigned char head[2 + 12];
    if (!readWithin(file, at, head, sizeof head)) return false;
    const uint32_t count = order.get16(head);
    if (count == 0 || count > kMaxMakerNoteEntries) return false;
    if (at + 2 + int64_t{12} * count > file.size()) return false;
    return typeSize(order.get16(head + 4)) != 0;
}

// Where the directory starts, where its offsets count from, and its order.
struct DirectoryPlace {
    int64_t directory = 0;
    int64_t base = 0;
    ByteOrder order;
};

// A TIFF header at position: the directory it names, in its own order.
bool embeddedTiff(FileStream& file, int64_t position, DirectoryPlace& place) {
    unsigned char header[8];
    if (!readWithin(file, position, header, sizeof header)) return false;
    const bool intel = header[0] == 'I' && header[1] == 'I';
    const bool motorola = header[0] == 'M' && header[1] == 'M';
    if (!intel && !motorola) return false;
    place.order.setBigEndian(motorola);
    if (place.order.get16(header + 2) != 42) return false;
    place.base = position;
    place.directory = position + place.order.get32(header + 4);
    return true;
}

// Canon's footer: a byte-order mark, two bytes, and the offset the maker note
// had before an editing program moved it; its offsets still count from there.
int64_t footerShift(FileStream& file, const MakerNotePlace& place) {
    unsigned char footer[8];
    if (place.length < 8 || !readWithin(file, place.position + place.length - 8, footer, sizeof footer)) return 0;
    const bool intel = footer[0] == 'I' && footer[1] == 'I';
    const bool motorola = footer[0] == 'M' && footer[1] == 'M';
    if (!intel && !motorola) return 0;
    ByteOrder order;
    order.setBigEndian(motorola);
    const int64_t original = order.get32(footer + 4);
    return (place.position - place.structureStart) - original;
}

DirectoryResult findDirectory(FileStream& file, const MakerNoteLayout& layout, const MakerNotePlace& place,
                              DirectoryPlace& found) {
    switch (layout.base) {
        case OffsetBase::EmbeddedTiffHeader:
            return embeddedTiff(file, place.position + layout.directoryAt, found) ? DirectoryResult::Read
                                                                                  : DirectoryResult::HeaderRefused;
        case OffsetBase::FileTiffHeader: found.base = place.structureStart; break;
        case OffsetBase::MakerNoteStart: found.base = place.position; break;
    }
    if (layout.mayHaveFooter) found.base += footerShift(file, place);

    int64_t distance = layout.directoryAt;
    if (layout.directoryAtStored) {
        unsigned char stored[4];
        if (!readWithin(file, place.position + static_cast<int64_t>(layout.header.size()), stored, sizeof stored)) {
            return DirectoryResult::Unreadable;
        }
        ByteOrder little;
        distance = little.get32(stored);
    }
    found.directory = place.position + distance;

    switch (layout.order) {
        case OrderRule::File: found.order = place.structureOrder; break;
        case OrderRule::LittleEndian: found.order.setBigEndian(false); break;
        case OrderRule::EmbeddedHeader: break;  // handled above
        case OrderRule::FromDirectory: {
            // The mark after the header is often wrong: the directory read
            // both ways decides, little-endian first (what these bodies write).
            ByteOrder little, big;
            big.setBigEndian(true);
            if (plausibleDirectory(file, found.directory, little)) {
                found.order = little;
            } else if (plausibleDirectory(file, found.directory, big)) {
                found.order = big;
            } else {
                return DirectoryResult::Unreadable;
            }
            break;
        }
    }
    return DirectoryResult::Read;
}

}  // namespace

const MakerNoteEntry* MakerNoteRecords::find(uint16_t tag) const {
    for (const MakerNoteEntry& entry : entries) {
        if (entry.tag == tag) return &entry;
    }
    return nullptr;
}

DirectoryResult readMakerNoteRecords(FileStream& file, Maker maker, const MakerNotePlace& place,
                                     const std::vector<uint16_t>& wanted, MakerNoteRecords& records) {
    records = MakerNoteRecords();
    const int64_t restore = file.tell();
    DirectoryPlace found;
    DirectoryResult result = DirectoryResult::Read;
    if (place.standaloneTiff) {
        records.layout = layoutFor(maker, nullptr, 0);
        if (!embeddedTiff(file, place.position, found)) result = DirectoryResult::Unreadable;
    } else {
        unsigned char head[kLongestHeader] = {};
        const size_t n = static_cast<size_t>(std::clamp<int64_t>(place.length, 0, sizeof head));
        if (!readWithin(file, place.position, head, n)) {
            result = DirectoryResult::Unreadable;
        } else {
            records.layout = layoutFor(maker, head, n);
            result = records.layout == nullptr ? DirectoryResult::LayoutUnknown
                                               : findDirectory(file, *records.layout, place, found);
        }
    }

    unsigned char countBytes[2];
    if (result == DirectoryResult::Read && !readWithin(file, found.directory, countBytes, sizeof countBytes)) {
        result = DirectoryResult::Unreadable;
    }
    if (result == DirectoryResult::Read) {
        records.order = found.order;
        const uint32_t count = found.order.get16(countBytes);
        // A directory cut short by the end of the file keeps the entries that
        // lie inside it; one without a whole entry is unreadable.
        const int64_t room = std::max<int64_t>(file.size() - (found.directory + 2), 0) / 12;
        const auto readable = static_cast<uint32_t>(std::min<int64_t>(count, room));
        if (count == 0 || count > kMaxMakerNoteEntries || readable == 0) result = DirectoryResult::Unreadable;
        // The entry table is read a block at a time, and only the entries of
        // the tags asked for are kept: a count reader looks at nothing else.
        constexpr uint32_t kBlockEntries = 32;
        unsigned char block[12 * kBlockEntries];
        for (uint32_t first = 0; result == DirectoryResult::Read && first < readable; first += kBlockEntries) {
            const uint32_t n = std::min(kBlockEntries, readable - first);
            if (!readWithin(file, found.directory + 2 + int64_t{12} * first, block, size_t{12} * n)) break;
            for (uint32_t i = 0; i < n; ++i) {
                const unsigned char* raw = block + size_t{12} * i;
                const uint16_t tag = found.order.get16(raw);
                if (std::find(wanted.begin(), wanted.end(), tag) == wanted.end()) continue;
                MakerNoteEntry& entry = records.entries.emplace_back();
                entry.tag = tag;
                entry.type = found.order.get16(raw + 2);
                entry.count = found.order.get32(raw + 4);
                const uint64_t wide = uint64_t{typeSize(entry.type)} * entry.count;
                if (wide == 0 || wide > kMaxKeptValue) continue;
                const auto size = static_cast<size_t>(wide);  // bounded: size_t is 32 bits in the browser
                entry.bytes.resize(size);
                if (size <= 4) {
                    std::copy(raw + 8, raw + 8 + size, entry.bytes.begin());
                } else if (!readWithin(file, found.base + found.order.get32(raw + 8), entry.bytes.data(), size)) {
                    entry.bytes.clear();
                }
            }
        }
    }
    file.seek(restore);
    return result;
}

}  // namespace tiffwalker::makernote
