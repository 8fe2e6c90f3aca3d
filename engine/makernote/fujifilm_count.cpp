// Fujifilm: tag 0x1438, an image count in its low 15 bits, which a firmware
// update may start again.
#include "makernote/fujifilm_count.h"

namespace tiffwalker::makernote {

namespace {

constexpr uint16_t kImageCount = 0x1438;

ReadingCause bodyCheck(const Camera&) { return ReadingCause::None; }

CountReading read(const MakerNoteRecords& records, const Camera&) {
    const MakerNoteEntry* entry = records.find(kImageCount);
    if (entry == nullptr) return CountReading::without(ReadingCause::NoShutterCountEntry);
    uint16_t value = 0;
    if (!valueU16(*entry, 0, records.order, value)) return CountReading::without(ReadingCause::CountEntryMalformed);
    return CountReading::of(value & 0x7FFFu, CountKind::ImageCount);
}

}  // namespace

const CountReader& fujifilmCountReader() {
    static const CountReader reader{{kImageCount}, bodyCheck, read};
    return reader;
}

}  // namespace tiffwalker::makernote
