// Pentax (and the Pentax bodies Ricoh made): tag 0x005d holds the count
// enciphered with the picture's date and time, tags 0x0006 and 0x0007. All
// three values fit inside their entries, and all are read big-endian whatever
// the maker note's order.
#include "makernote/pentax_count.h"

namespace tiffwalker::makernote {

namespace {

constexpr uint16_t kCount = 0x005d;
constexpr uint16_t kDate = 0x0006;
constexpr uint16_t kTime = 0x0007;

ReadingCause bodyCheck(const Camera&) { return ReadingCause::None; }

CountReading read(const MakerNoteRecords& records, const Camera&) {
    const MakerNoteEntry* count = records.find(kCount);
    if (count == nullptr) return CountReading::without(ReadingCause::NoShutterCountEntry);
    const MakerNoteEntry* date = records.find(kDate);
    const MakerNoteEntry* time = records.find(kTime);
    if (date == nullptr || time == nullptr || count->bytes.size() < 4 || date->bytes.size() < 4 ||
        time->bytes.size() < 3) {
        return CountReading::without(ReadingCause::CountEntryMalformed);
    }
    ByteOrder big;
    big.setBigEndian(true);
    const uint32_t r = big.get32(count->bytes.data());
    const uint32_t d = big.get32(date->bytes.data());
    const unsigned char timeBytes[4] = {time->bytes[0], time->bytes[1], time->bytes[2], 0};
    const uint32_t t = big.get32(timeBytes);
    return CountReading::of(r ^ d ^ (0xFFFFFFFFu - t), CountKind::MechanicalReleases);
}

}  // namespace

const CountReader& pentaxCountReader() {
    static const CountReader reader{{kCount, kDate, kTime}, bodyCheck, read};
    return reader;
}

}  // namespace tiffwalker::makernote
