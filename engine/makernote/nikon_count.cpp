// Nikon: tag 0x00a7 counts every release over the body's life, electronic ones
// included where the body has an electronic shutter. Bodies that keep the
// mechanical releases apart record them in 0x0037; for the others the body
// says what 0x00a7 is: every exposure on Z and Nikon 1 bodies, whose shutters
// may be electronic, and mechanical releases on the other DSLRs.
#include "makernote/nikon_count.h"

#include <string_view>

namespace tiffwalker::makernote {

namespace {

constexpr uint16_t kShutterCount = 0x00a7;
constexpr uint16_t kMechanicalShutterCount = 0x0037;
// What the camera writes when it has no count to give.
constexpr uint32_t kNotAvailable = 0xFFFFF7FF;

ReadingCause bodyCheck(const Camera&) { return ReadingCause::None; }

// A 32-bit count, or the 16-bit one a SHORT entry holds.
bool countOf(const MakerNoteEntry& entry, const ByteOrder& order, uint32_t& count) {
    if (valueU32(entry, 0, order, count)) return true;
    uint16_t narrow = 0;
    if (entry.bytes.size() != 2 || !valueU16(entry, 0, order, narrow)) return false;
    count = narrow;
    return true;
}

CountKind kindWithoutMechanicalCount(std::string_view model) {
    return model.starts_with("NIKON Z") || model.starts_with("NIKON 1 ") ? CountKind::AllExposures
                                                                         : CountKind::MechanicalReleases;
}

CountReading read(const MakerNoteRecords& records, const Camera& camera) {
    const MakerNoteEntry* entry = records.find(kShutterCount);
    if (entry == nullptr) return CountReading::without(ReadingCause::NoShutterCountEntry);
    uint32_t count = 0;
    if (!countOf(*entry, records.order, count) || count == kNotAvailable) {
        return CountReading::without(ReadingCause::EmptyShutterCount);
    }
    CountReading reading = CountReading::of(count, kindWithoutMechanicalCount(camera.model));
    reading.entryTag = kShutterCount;
    if (const MakerNoteEntry* mechanical = records.find(kMechanicalShutterCount)) {
        reading.kind = CountKind::AllReleases;
        uint32_t releases = 0;
        if (countOf(*mechanical, records.order, releases) && releases != kNotAvailable) {
            reading.mechanicalCount = releases;
        }
    }
    return reading;
}

}  // namespace

const CountReader& nikonCountReader() {
    static const CountReader reader{{kShutterCount, kMechanicalShutterCount}, bodyCheck, read};
    return reader;
}

}  // namespace tiffwalker::makernote
