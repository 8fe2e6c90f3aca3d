#include "tally.h"

#include <algorithm>
#include <charconv>

namespace frametally::cli {

bool parseCount(const std::string& result, uint64_t& count) {
    const char* end = result.data() + result.size();
    const auto [stop, error] = std::from_chars(result.data(), end, count);
    return error == std::errc() && stop == end && !result.empty();
}

void Tally::add(const FileOutcome& outcome) {
    ++files_;
    ++byStatus_[outcome.status];
    exitCode_ = std::max(exitCode_, exitCodeOf(outcome.status));
    uint64_t count = 0;
    if (outcome.status != Status::Count || !parseCount(outcome.result, count)) return;
    BodyRecord& body = bodies_[{cameraName(outcome.details), outcome.details.serialNumber}];
    ++body.files;
    if (body.files == 1 || count > body.highestCount) {
        body.highestCount = count;
        body.countKind = outcome.countKind;
        body.path = outcome.path;
    }
}

size_t Tally::withStatus(Status status) const {
    const auto found = byStatus_.find(status);
    return found == byStatus_.end() ? 0 : found->second;
}

}  // namespace frametally::cli
