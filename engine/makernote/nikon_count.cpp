// Nikon: tag 0x00a7 of the maker note's directory. Files the driver reads have
// theirs from the walk's own records (the count text it has always given);
// this reader serves maker notes handed over on their own.
#include "count_reading.h"

namespace tiffwalker::makernote {

namespace {

constexpr uint16_t kShutterCount = 0x00a7;

ReadingCause bodyCheck(const Camera&) { return ReadingCause::None; }

CountReading read(const MakerNoteRecords& records, const Camera&) {
    const MakerNoteEntry* entry = records.find(kShutterCount);
    if (entry == nullptr) return CountReading::without(ReadingCause::NoShutterCountEntry);
    uint32_t count = 0;
    if (!valueU32(*entry, 0, records.order, count)) return CountReading::without(ReadingCause::EmptyShutterCount);
    return CountReading::of(count, CountKind::MechanicalReleases);
}

}  // namespace

const CountReader& nikonCountReader() {
    static const CountReader reader{{kShutterCount}, bodyCheck, read};
    return reader;
}

}  // namespace tiffwalker::makernote
