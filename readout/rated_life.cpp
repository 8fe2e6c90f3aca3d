#include "rated_life.h"

#include <charconv>
#include <cstdint>

namespace frametally {

namespace {

// 200000 as "200,000".
std::string withThousands(std::uint64_t value) {
    // Built forwards rather than with inserts, which GCC 12 at -O3 (the
    // Windows build) reports as overlapping copies that are not there.
    const std::string digits = std::to_string(value);
    std::string text;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
        text += digits[i];
    }
    return text;
}

}  // namespace

std::string ratedLifeText(const Inspection& inspection) {
    if (inspection.status != tiffwalker::ReadingStatus::Count || !inspection.ratedReleases ||
        *inspection.ratedReleases == 0) {
        return "";
    }
    std::uint64_t mechanical = 0;
    if (inspection.mechanicalCount) {
        mechanical = *inspection.mechanicalCount;
    } else if (inspection.countKind == tiffwalker::CountKind::MechanicalReleases) {
        const char* end = inspection.result.data() + inspection.result.size();
        if (std::from_chars(inspection.result.data(), end, mechanical).ptr != end) return "";
    } else {
        return "";
    }
    const std::uint64_t percent = (mechanical * 100 + *inspection.ratedReleases / 2) / *inspection.ratedReleases;
    return std::to_string(percent) + "% of the " + withThousands(*inspection.ratedReleases) + " releases " +
           tiffwalker::makerName(inspection.maker) + " rates this shutter for";
}

}  // namespace frametally
