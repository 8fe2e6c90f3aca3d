// Canon: only the listed bodies record a count in their files, in FileInfo
// (0x0093) or CameraInfo (0x000d).
#include "makernote/canon_count.h"

#include "canon_models.h"

namespace tiffwalker::makernote {

namespace {

constexpr uint16_t kCameraInfo = 0x000d;
constexpr uint16_t kFileInfo = 0x0093;

ReadingCause bodyCheck(const Camera& camera) {
    return canonModelOf(camera.model) != nullptr ? ReadingCause::None : ReadingCause::ModelRecordsNone;
}

CountReading read(const MakerNoteRecords& records, const Camera& camera) {
    const CanonModel* row = canonModelOf(camera.model);
    if (row == nullptr) return CountReading::without(ReadingCause::ModelRecordsNone);
    const CountKind kind = row->allExposures ? CountKind::AllExposures : CountKind::MechanicalReleases;
    uint32_t count = 0;
    if (row->place == CanonPlace::CameraInfo) {
        const MakerNoteEntry* entry = records.find(kCameraInfo);
        if (entry == nullptr) return CountReading::without(ReadingCause::NoShutterCountEntry);
        ByteOrder little;
        if (!valueU32(*entry, camera.fromCr3 ? row->cr3At : row->at, little, count)) {
            return CountReading::without(ReadingCause::CountEntryMalformed);
        }
        return CountReading::of(count + row->added, kind);
    }
    const MakerNoteEntry* entry = records.find(kFileInfo);
    if (entry == nullptr) return CountReading::without(ReadingCause::NoShutterCountEntry);
    if (!valueU32(*entry, row->at, records.order, count)) {
        return CountReading::without(ReadingCause::CountEntryMalformed);
    }
    if (row->place == CanonPlace::FileInfoHalvesSwapped) count = (count << 16) | (count >> 16);
    return CountReading::of(count + row->added, kind);
}

}  // namespace

const CountReader& canonCountReader() {
    static const CountReader reader{{kCameraInfo, kFileInfo}, bodyCheck, read};
    return reader;
}

}  // namespace tiffwalker::makernote
