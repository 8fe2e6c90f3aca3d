#include "readout.h"

#include "no_count_reason.h"
#include "shutter_ratings.h"
#include "text_shape.h"

namespace frametally {

using tiffwalker::ReadingStatus;

Inspector::Inspector() { context_.setWantedTags(detailTags()); }

Inspection Inspector::inspect(const std::string& path) { return shown(path, context_.read(path.c_str(), &records_)); }

Inspection Inspector::inspect(tiffwalker::ByteSource& source, const std::string& name) {
    return shown(name, context_.read(source, name.c_str(), &records_));
}

Inspection Inspector::shown(const std::string& path, const tiffwalker::ReadingOutcome& outcome) {
    Inspection inspection;
    inspection.path = path;
    inspection.status = outcome.status;
    inspection.result = outcome.result;
    inspection.message = withLineBreaks(outcome.message);
    inspection.details = detailsOf(records_);
    if (inspection.details.serialNumber.empty()) {
        inspection.details.serialNumber = bodySerialNumber(records_);
    }
    inspection.reason = reasonForNoCount(outcome);
    inspection.cause = outcome.cause;
    inspection.maker = outcome.maker;
    inspection.countKind = outcome.countKind;
    inspection.mechanicalCount = outcome.mechanicalCount;
    // The rating belongs to the body, whatever the file gave: a file without a
    // count still says what its maker rates the shutter for.
    if (const tiffwalker::ShutterRating* rating = tiffwalker::shutterRating(outcome.maker, outcome.model)) {
        inspection.ratedReleases = rating->releases;
        inspection.ratedSource = std::string(rating->source);
    }
    records_.clear();
    return inspection;
}

const char* statusName(ReadingStatus status) {
    switch (status) {
        case ReadingStatus::Count: return "count";
        case ReadingStatus::NotReadable: return "not_readable";
        case ReadingStatus::NoExif: return "no_exif";
        case ReadingStatus::NoCount: return "no_count";
        case ReadingStatus::Error: return "error";
    }
    return "error";
}

const char* countKindName(tiffwalker::CountKind kind) {
    switch (kind) {
        case tiffwalker::CountKind::None: return "";
        case tiffwalker::CountKind::MechanicalReleases: return "mechanical_releases";
        case tiffwalker::CountKind::AllExposures: return "all_exposures";
        case tiffwalker::CountKind::ImageCount: return "image_count";
        case tiffwalker::CountKind::AllReleases: return "all_releases";
    }
    return "";
}

const char* countKindWords(tiffwalker::CountKind kind) {
    switch (kind) {
        case tiffwalker::CountKind::None: return "";
        case tiffwalker::CountKind::MechanicalReleases: return "mechanical releases";
        case tiffwalker::CountKind::AllExposures: return "all exposures, electronic shutter included";
        case tiffwalker::CountKind::ImageCount: return "image count (may restart)";
        case tiffwalker::CountKind::AllReleases: return "all releases, electronic ones included";
    }
    return "";
}

int exitCodeOf(ReadingStatus status) {
    switch (status) {
        case ReadingStatus::Count: return 0;
        case ReadingStatus::Error: return 3;
        default: return 1;
    }
}

}  // namespace frametally
