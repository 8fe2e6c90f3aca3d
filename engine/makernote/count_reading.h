#pragma once
// What a maker's count reader is and gives: one reader per maker (its own
// file), each reading the maker note's records, never the file.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <tiffwalker/reading_outcome.h>
#include "makernote/maker_note_records.h"

namespace tiffwalker::makernote {

// The body, as IFD0 names it, and the container its file came in.
struct Camera {
    std::string make;
    std::string model;  // without padding
    bool fromCr3 = false;
};

struct CountReading {
    ReadingCause cause = ReadingCause::None;  // None: count holds the count
    uint32_t count = 0;
    CountKind kind = CountKind::None;
    // The maker-note entry whose value is the count as it stands; 0 for a
    // count worked out from its entries.
    uint16_t entryTag = 0;
    // The mechanical releases, where the body records them beside the count.
    std::optional<uint32_t> mechanicalCount;

    bool hasCount() const { return cause == ReadingCause::None; }
    static CountReading of(uint32_t count, CountKind kind) { return {ReadingCause::None, count, kind, 0, {}}; }
    static CountReading without(ReadingCause cause) { return {cause, 0, CountKind::None, 0, {}}; }
};

// One maker's reader.
struct CountReader {
    // The maker-note tags whose values it reads.
    std::vector<uint16_t> tags;
    // Before the maker note is read: None when this body may record a count,
    // else why it records none (known not to, or unknown).
    ReadingCause (*bodyCheck)(const Camera& camera);
    CountReading (*read)(const MakerNoteRecords& records, const Camera& camera);
};

// Reads a little- or big-endian number of the value's bytes at at; false when
// the value is too short.
bool valueU32(const MakerNoteEntry& entry, size_t at, const ByteOrder& order, uint32_t& out);
bool valueU16(const MakerNoteEntry& entry, size_t at, const ByteOrder& order, uint16_t& out);

}  // namespace tiffwalker::makernote
