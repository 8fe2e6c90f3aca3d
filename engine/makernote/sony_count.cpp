// Sony: the count in the enciphered 0x9050 block, at the place its body's
// table gives; the older DSLRs keep it plainly in tag 0x0020.
#include "makernote/sony_count.h"
#include "makernote/sony_models.h"

namespace tiffwalker::makernote {

namespace {

constexpr uint16_t kEncipheredBlock = 0x9050;
constexpr uint16_t kOlderDslrBlock = 0x0020;

ReadingCause bodyCheck(const Camera& camera) {
    switch (sonyTableOf(camera.model)) {
        case SonyTable::None: return ReadingCause::ModelRecordsNone;
        case SonyTable::Unknown: return ReadingCause::UnknownModel;
        default: return ReadingCause::None;
    }
}

// In every genuine file the count word's top byte is zero; an editing program
// that moved the maker note without mending its offsets leaves other bytes
// there, which would read as counts in the millions.
CountReading fromCountWord(uint32_t word, CountKind kind) {
    if ((word >> 24) != 0) return CountReading::without(ReadingCause::DisplacedMakerNote);
    return CountReading::of(word & 0xFFFFFFu, kind);
}

uint32_t decipheredU32(const std::vector<unsigned char>& block, size_t at) {
    uint32_t word = 0;
    for (size_t i = 0; i < 4; ++i) word |= uint32_t{sonyDeciphered(block[at + i])} << (8 * i);
    return word;
}

// The older DSLRs' block: in its 19,154- or 19,148-byte form the count is at
// 0x846; otherwise the block is an index of sub-blocks (a 16-bit number of
// them, then each one's 16-bit id and 16-bit offset, all little-endian) and
// the count lies in sub-block 0x0201.
CountReading readOlderDslr(const MakerNoteRecords& records, SonyTable table) {
    const MakerNoteEntry* entry = records.find(kOlderDslrBlock);
    if (entry == nullptr) return CountReading::without(ReadingCause::NoShutterCountEntry);
    ByteOrder little;
    uint32_t word = 0;
    const size_t size = entry->bytes.size();
    if (size == 19154 || size == 19148) {
        if (!valueU32(*entry, 0x846, little, word)) return CountReading::without(ReadingCause::CountEntryMalformed);
        return fromCountWord(word, CountKind::MechanicalReleases);
    }
    uint16_t blocks = 0;
    if (!valueU16(*entry, 0, little, blocks)) return CountReading::without(ReadingCause::CountEntryMalformed);
    const size_t countAt = table == SonyTable::OlderDslrA450 ? 0x14a : 0x125;
    for (size_t i = 0; i < blocks; ++i) {
        uint16_t id = 0, offset = 0;
        if (!valueU16(*entry, 2 + 4 * i, little, id) || !valueU16(*entry, 4 + 4 * i, little, offset)) break;
        if (id != 0x0201) continue;
        if (!valueU32(*entry, size_t{offset} + countAt, little, word)) break;
        return fromCountWord(word, CountKind::MechanicalReleases);
    }
    return CountReading::without(ReadingCause::CountEntryMalformed);
}

CountReading read(const MakerNoteRecords& records, const Camera& camera) {
    SonyTable table = sonyTableOf(camera.model);
    if (table == SonyTable::OlderDslr || table == SonyTable::OlderDslrA450) return readOlderDslr(records, table);

    const MakerNoteEntry* entry = records.find(kEncipheredBlock);
    if (entry == nullptr) return CountReading::without(ReadingCause::NoShutterCountEntry);
    const std::vector<unsigned char>& block = entry->bytes;
    if (table == SonyTable::DWhenFiveZeros) {
        // These bodies write the table-D block only where it starts with five
        // zero bytes (zero enciphers to itself).
        const bool fiveZeros =
            block.size() >= 5 && block[0] == 0 && block[1] == 0 && block[2] == 0 && block[3] == 0 && block[4] == 0;
        if (!fiveZeros) return CountReading::without(ReadingCause::UnknownModel);
        table = SonyTable::D;
    }
    size_t at = 0;
    CountKind kind = CountKind::AllExposures;
    switch (table) {
        case SonyTable::A: at = 0x32; break;
        case SonyTable::B:
        case SonyTable::C: at = 0x3a; break;
        case SonyTable::D:
            at = 0x0a;
            kind = CountKind::MechanicalReleases;
            break;
        default: return CountReading::without(ReadingCause::UnknownModel);
    }
    if (block.size() < at + 4) return CountReading::without(ReadingCause::CountEntryMalformed);
    return fromCountWord(decipheredU32(block, at), kind);
}

}  // namespace

const CountReader& sonyCountReader() {
    static const CountReader reader{{kEncipheredBlock, kOlderDslrBlock}, bodyCheck, read};
    return reader;
}

}  // namespace tiffwalker::makernote
