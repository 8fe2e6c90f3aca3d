#include "file_details.h"

#include <algorithm>
#include <cctype>

#include <tiffwalker/ifd_types.h>
#include <tiffwalker/tag_numbers.h>
#include "text_shape.h"

namespace frametally {

namespace {

// EXIF's BodySerialNumber, which most makers other than Nikon write.
constexpr uint16_t kBodySerialNumber = 0xa431;

// The text of the first record with this tag in this kind of directory: its
// display text, or its value text where it has no display text.
std::string textOf(const tiffwalker::RecordList& records, uint16_t tag, int32_t directory) {
    for (const auto& record : records) {
        if (record.ifde.tag != tag || record.iIFDType != directory) continue;
        return trimmed(record.displayStringData.empty() ? record.stringData : record.displayStringData);
    }
    return {};
}

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

}  // namespace

FileDetails detailsOf(const tiffwalker::RecordList& records) {
    FileDetails details;
    if (records.empty()) return details;
    details.make = textOf(records, tiffwalker::tags::kMake, tiffwalker::kIfd0);
    details.model = textOf(records, tiffwalker::tags::kModel, tiffwalker::kIfd0);
    details.software = textOf(records, tiffwalker::tags::kSoftware, tiffwalker::kIfd0);
    details.dateTimeOriginal = textOf(records, tiffwalker::tags::kDateTimeOriginal, tiffwalker::kIfdExif);
    details.lens = textOf(records, tiffwalker::tags::kLens, tiffwalker::kMakerNotes);
    // Newer bodies write their serial number as entry 0x001d; older ones as 0x00a0.
    details.serialNumber = textOf(records, tiffwalker::tags::kSerialNumber29, tiffwalker::kMakerNotes);
    if (details.serialNumber.empty())
        details.serialNumber = textOf(records, tiffwalker::tags::kSerialNumber, tiffwalker::kMakerNotes);
    return details;
}

std::string bodySerialNumber(const tiffwalker::RecordList& records) {
    return textOf(records, kBodySerialNumber, tiffwalker::kIfdExif);
}

std::vector<uint16_t> detailTags() {
    using namespace tiffwalker::tags;
    return {kMake, kModel, kSoftware, kDateTimeOriginal, kLens, kSerialNumber29, kSerialNumber, kBodySerialNumber};
}

std::string cameraName(const FileDetails& details) {
    const std::string maker = details.make.substr(0, details.make.find(' '));
    if (details.model.empty()) return details.make;
    if (maker.empty() || upper(details.model).starts_with(upper(maker))) return details.model;
    return maker + " " + details.model;
}

}  // namespace frametally
