// Canon: only the listed bodies record a count in their files, in FileInfo
// (0x0093) or CameraInfo (0x000d).
#include "canon_models.h"
#include "count_reading.h"

#include <algorithm>
#include <cctype>

namespace tiffwalker::makernote {

namespace {

constexpr uint16_t kCameraInfo = 0x000d;
constexpr uint16_t kFileInfo = 0x0093;

constexpr CanonModel kModels[] = {
    {"EOS-1D", CanonPlace::FileInfo, 2, 2, 0, false},
    {"EOS-1DS", CanonPlace::FileInfo, 2, 2, 0, false},
    {"EOS-1D Mark II", CanonPlace::FileInfoHalvesSwapped, 2, 2, 0, false},
    {"EOS-1Ds Mark II", CanonPlace::FileInfoHalvesSwapped, 2, 2, 0, false},
    {"EOS-1D Mark II N", CanonPlace::FileInfoHalvesSwapped, 2, 2, 0, false},
    {"EOS-1D Mark III", CanonPlace::CameraInfo, 0x176, 0x176, 1, false},
    {"EOS-1Ds Mark III", CanonPlace::CameraInfo, 0x176, 0x176, 1, false},
    {"EOS R5", CanonPlace::CameraInfo, 0xaf1, 0xaf1, 0, true},
    {"EOS R6", CanonPlace::CameraInfo, 0xaf1, 0xaf1, 0, true},
    {"EOS R6 Mark II", CanonPlace::CameraInfo, 0xd29, 0xd29, 0, true},
    {"EOS R6m2", CanonPlace::CameraInfo, 0xd29, 0xd29, 0, true},
    {"EOS R8", CanonPlace::CameraInfo, 0xd29, 0xd29, 0, true},
    {"EOS R50", CanonPlace::CameraInfo, 0xd29, 0xd29, 0, true},
    {"PowerShot G5 X Mark II", CanonPlace::CameraInfo, 0x293, 0xa95, 0, true},
};

bool sameAnyCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

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

const CanonModel* canonModelOf(std::string_view model) {
    // Model reads "Canon EOS R5"; the maker's name before it is optional here.
    if (model.size() >= 6 && sameAnyCase(model.substr(0, 6), "Canon ")) model.remove_prefix(6);
    for (const CanonModel& row : kModels) {
        if (sameAnyCase(row.model, model)) return &row;
    }
    return nullptr;
}

const CountReader& canonCountReader() {
    static const CountReader reader{{kCameraInfo, kFileInfo}, bodyCheck, read};
    return reader;
}

}  // namespace tiffwalker::makernote
