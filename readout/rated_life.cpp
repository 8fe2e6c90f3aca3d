#include "rated_life.h"

#include <charconv>
#include <cstdint>
#include <optional>

#include "text_shape.h"

namespace frametally {

namespace {

using tiffwalker::CountKind;

std::optional<std::uint64_t> countOf(const std::string& result) {
    std::uint64_t count = 0;
    const char* end = result.data() + result.size();
    const auto [stop, error] = std::from_chars(result.data(), end, count);
    if (result.empty() || error != std::errc() || stop != end) return std::nullopt;
    return count;
}

// The share to the nearest percent; a share above none that would round to
// "0%" is "less than 1%", since some releases were made.
std::string nearestShare(std::uint64_t releases, std::uint64_t rated) {
    if (releases > 0 && releases * 200 < rated) return "less than 1%";
    return std::to_string((releases * 100 + rated / 2) / rated) + "%";
}

// An upper bound, rounded up so that it stays one.
std::string boundingShare(std::uint64_t releases, std::uint64_t rated) {
    if (releases == 0) return "0%";
    return "at most " + std::to_string((releases * 100 + rated - 1) / rated) + "%";
}

}  // namespace

std::string ratedLifeText(const Inspection& inspection) {
    if (inspection.status != tiffwalker::ReadingStatus::Count || !inspection.ratedReleases ||
        *inspection.ratedReleases == 0) {
        return "";
    }
    // Counts and ratings are 32-bit figures: their products with 200 fit in
    // 64 bits.
    const std::uint64_t rated = *inspection.ratedReleases;
    std::string share;
    if (inspection.mechanicalCount) {
        share = nearestShare(*inspection.mechanicalCount, rated);
    } else {
        const std::optional<std::uint64_t> count = countOf(inspection.result);
        if (!count || *count > UINT32_MAX) return "";
        switch (inspection.countKind) {
            case CountKind::MechanicalReleases: share = nearestShare(*count, rated); break;
            case CountKind::AllExposures:
            case CountKind::AllReleases: share = boundingShare(*count, rated); break;
            case CountKind::ImageCount:
            case CountKind::None: return "";
        }
    }
    return share + " of the " + withThousands(rated) + " releases " + tiffwalker::makerName(inspection.maker) +
           " rates this shutter for";
}

}  // namespace frametally
