#include "body_history.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace frametally {

namespace {

using tiffwalker::CountKind;

// Days from 1970-01-01 of a date of the proleptic Gregorian calendar, and
// back (H. Hinnant's algorithms).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct CivilDate {
    std::int64_t year;
    unsigned month;
    unsigned day;
};

CivilDate civilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}

bool leapYear(std::int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

unsigned daysInMonth(std::int64_t y, unsigned m) {
    static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leapYear(y) ? 29 : kDays[m - 1];
}

bool digitsAt(std::string_view text, size_t at, size_t length, unsigned& value) {
    value = 0;
    for (size_t i = at; i < at + length; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
    }
    return true;
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

// The count a file gives the history, and what it counts.
bool countCompared(const Inspection& inspection, std::uint32_t& count, CountKind& kind) {
    if (inspection.status != tiffwalker::ReadingStatus::Count) return false;
    if (inspection.mechanicalCount) {
        count = *inspection.mechanicalCount;
        kind = CountKind::MechanicalReleases;
        return true;
    }
    const std::string& text = inspection.result;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, count);
    kind = inspection.countKind;
    return error == std::errc() && stop == end && !text.empty();
}

// Whether b's count could follow a's: a shutter releases at most 30 times
// a second, and two pictures stamped d whole seconds apart may have been
// taken up to d + 1 seconds apart.
bool possibleRise(const HistoryReading& a, const HistoryReading& b) {
    const std::uint64_t rise = b.count - a.count;
    const auto seconds = static_cast<std::uint64_t>(b.taken - a.taken) + 1;
    return rise <= kImpossibleReleasesPerSecond * seconds;
}

void summarize(HistorySummary& body) {
    std::sort(body.readings.begin(), body.readings.end(), [](const HistoryReading& a, const HistoryReading& b) {
        return std::tie(a.taken, a.count, a.file) < std::tie(b.taken, b.count, b.file);
    });
    // The rate rests on the pairs of consecutive pictures that fit one
    // shutter's life: a reset, a wrong clock or another body's file would
    // pull it anywhere.
    double rise = 0;
    std::int64_t span = 0;
    for (size_t i = 1; i < body.readings.size(); ++i) {
        const HistoryReading& a = body.readings[i - 1];
        const HistoryReading& b = body.readings[i];
        if (b.count < a.count) {
            body.anomalies.push_back({AnomalyKind::LowerCount, b.file, a.file});
        } else if (!possibleRise(a, b)) {
            body.anomalies.push_back({AnomalyKind::ImpossibleRate, b.file, a.file});
        } else {
            rise += b.count - a.count;
            span += b.taken - a.taken;
        }
    }
    if (span >= kShortestRateSpanSeconds) body.releasesPerMonth = rise / static_cast<double>(span) * kSecondsPerMonth;

    // A rating is of the mechanical shutter: other counts are not set against it.
    if (!body.ratedReleases || body.countKind != CountKind::MechanicalReleases || body.readings.empty()) return;
    const HistoryReading& last = body.readings.back();
    if (last.count >= *body.ratedReleases) {
        body.ratedPassed = true;
    } else if (body.releasesPerMonth && *body.releasesPerMonth > 0) {
        const double seconds = (*body.ratedReleases - last.count) / *body.releasesPerMonth * kSecondsPerMonth;
        // Past the year 9999 a date says nothing.
        constexpr double kLatest = 253402300799.0;
        if (static_cast<double>(last.taken) + seconds <= kLatest) {
            body.ratedReachedAt = last.taken + static_cast<std::int64_t>(std::llround(seconds));
        }
    }
}

}  // namespace

void BodyHistory::add(const Inspection& inspection, std::uint32_t file) {
    std::uint32_t count = 0;
    CountKind kind = CountKind::None;
    if (!countCompared(inspection, count, kind)) return;
    // A body's files that counted different things could not be compared:
    // each kind is a history of its own (no body is known to mix them).
    const Key key{inspection.maker, inspection.details.model, inspection.details.serialNumber, kind};
    auto [at, fresh] = bodies_.try_emplace(key);
    HistorySummary& body = at->second;
    if (fresh) {
        body.maker = inspection.maker;
        body.make = inspection.details.make;
        body.model = inspection.details.model;
        body.serial = inspection.details.serialNumber;
        body.countKind = kind;
    }
    if (inspection.ratedReleases && !body.ratedReleases) {
        body.ratedReleases = inspection.ratedReleases;
        body.ratedSource = inspection.ratedSource;
    }
    const std::optional<std::int64_t> taken = secondsOfExifDate(inspection.details.dateTimeOriginal);
    if (!taken) {
        ++body.undated;
        return;
    }
    body.readings.push_back({*taken, count, file});
}

std::vector<HistorySummary> BodyHistory::finish() {
    std::vector<HistorySummary> out;
    out.reserve(bodies_.size());
    for (auto& [key, body] : bodies_) out.push_back(std::move(body));
    bodies_.clear();
    // Two models with one serial number: each body names the first picture
    // of the next such model (the last the first), so every one is marked.
    std::map<std::pair<tiffwalker::Maker, std::string>, std::vector<size_t>> bySerial;
    for (size_t i = 0; i < out.size(); ++i) {
        summarize(out[i]);
        if (!out[i].serial.empty() && !out[i].readings.empty()) bySerial[{out[i].maker, out[i].serial}].push_back(i);
    }
    for (const auto& [serial, group] : bySerial) {
        std::vector<size_t> models;  // one body per model (a model's bodies of other kinds of count aside)
        for (size_t i : group) {
            if (models.empty() || out[models.back()].model != out[i].model) models.push_back(i);
        }
        if (models.size() < 2) continue;
        for (size_t k = 0; k < models.size(); ++k) {
            HistorySummary& body = out[models[k]];
            const HistorySummary& other = out[models[(k + 1) % models.size()]];
            body.anomalies.insert(body.anomalies.begin(),
                                  {AnomalyKind::SharedSerial, body.readings.front().file, other.readings.front().file});
        }
    }
    return out;
}

std::optional<std::int64_t> secondsOfExifDate(std::string_view text) {
    // Cameras pad the text with NULs or spaces.
    while (!text.empty() && (text.back() == '\0' || text.back() == ' ')) text.remove_suffix(1);
    if (text.size() != 19 || text[4] != ':' || text[7] != ':' || text[10] != ' ' || text[13] != ':' ||
        text[16] != ':') {
        return std::nullopt;
    }
    unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!digitsAt(text, 0, 4, year) || !digitsAt(text, 5, 2, month) || !digitsAt(text, 8, 2, day) ||
        !digitsAt(text, 11, 2, hour) || !digitsAt(text, 14, 2, minute) || !digitsAt(text, 17, 2, second)) {
        return std::nullopt;
    }
    // "0000:00:00 00:00:00" is a camera's way of saying it has no date.
    if (year == 0 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour > 23 || minute > 59 ||
        second > 59) {
        return std::nullopt;
    }
    return daysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

std::string exifDateOf(std::int64_t seconds) {
    const std::int64_t days = floorDiv(seconds, 86400);
    const std::int64_t inDay = seconds - days * 86400;
    const CivilDate date = civilFromDays(days);
    char text[48];
    std::snprintf(text, sizeof text, "%04lld:%02u:%02u %02lld:%02lld:%02lld", static_cast<long long>(date.year),
                  date.month, date.day, static_cast<long long>(inDay / 3600), static_cast<long long>(inDay / 60 % 60),
                  static_cast<long long>(inDay % 60));
    return text;
}

std::string isoDayOf(std::int64_t seconds) {
    const CivilDate date = civilFromDays(floorDiv(seconds, 86400));
    char text[32];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02u", static_cast<long long>(date.year), date.month, date.day);
    return text;
}

const char* anomalyName(AnomalyKind kind) {
    switch (kind) {
        case AnomalyKind::LowerCount: return "lower_count";
        case AnomalyKind::ImpossibleRate: return "impossible_rate";
        case AnomalyKind::SharedSerial: return "shared_serial";
    }
    return "";
}

const char* anomalyWords(AnomalyKind kind) {
    switch (kind) {
        case AnomalyKind::LowerCount:
            return "a later picture with a lower count: the counter was reset, the shutter replaced, the camera's "
                   "clock was wrong, or one of the files comes from another body";
        case AnomalyKind::ImpossibleRate:
            return "the count rose faster than a shutter can release (more than 30 a second): the camera's clock "
                   "was wrong, or one of the files comes from another body";
        case AnomalyKind::SharedSerial:
            return "another model carries the same serial number: one of them is not the body it claims to be";
    }
    return "";
}

}  // namespace frametally
