#pragma once
// A body's history across the files of one run: each camera body's counts in
// the order its pictures were taken, how fast it is used, when it would reach
// the releases its maker rates the shutter for at that pace, and the pairs of
// files whose counts do not fit one body's life.
//
// Files come in any order, one at a time. A body keeps a record of 16 bytes
// per picture (date taken, count, the caller's number for the file) and no
// text of it: a library of 100,000 files costs 1.6 MB here, whatever the
// length of its paths, which stay with the caller.
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "readout.h"

namespace frametally {

// Two consecutive pictures whose counts rose faster than this are not from
// one shutter's life: no body releases its shutter 30 times a second.
inline constexpr std::uint32_t kImpossibleReleasesPerSecond = 30;
// A rate needs this much time between the pictures it rests on: counts a few
// hours apart say little about a month.
inline constexpr std::int64_t kShortestRateSpanSeconds = 24 * 60 * 60;
// The average Gregorian month, 365.2425 days / 12.
inline constexpr double kSecondsPerMonth = 365.2425 * 24 * 60 * 60 / 12;

struct HistoryReading {
    std::int64_t taken = 0;   // seconds from 1970-01-01 00:00:00 on the camera's clock
    std::uint32_t count = 0;  // the count compared (see BodyHistory::add)
    std::uint32_t file = 0;   // the caller's number for the file
};

enum class AnomalyKind {
    LowerCount,      // a later picture with a lower count
    ImpossibleRate,  // the count rose faster than a shutter can release
    SharedSerial,    // another model carries the same serial number
};

struct HistoryAnomaly {
    AnomalyKind kind = AnomalyKind::LowerCount;
    // The file that shows it: the later of two consecutive pictures; for a
    // shared serial number, this body's first picture.
    std::uint32_t file = 0;
    // The file it is set against: the picture before; for a shared serial
    // number, the first picture of the other model.
    std::uint32_t otherFile = 0;
};

struct HistorySummary {
    tiffwalker::Maker maker = tiffwalker::Maker::Unknown;
    std::string make;    // the Make text of its first file
    std::string model;   // as the files write it
    std::string serial;  // empty: the files carry none, so every such file of the model is grouped here
    // What the counts compared count: MechanicalReleases wherever the files
    // record the mechanical releases beside a count of all releases.
    tiffwalker::CountKind countKind = tiffwalker::CountKind::None;
    std::vector<HistoryReading> readings;  // in order of date taken (then count, then file)
    std::size_t undated = 0;               // files with a count but no readable date taken, left out
    // Releases a month over the pairs of consecutive pictures that show no
    // anomaly; only when those pairs span at least a day.
    std::optional<double> releasesPerMonth;
    std::optional<std::uint32_t> ratedReleases;
    std::string ratedSource;
    // When the rated figure would be reached at that rate, counted from the
    // last picture: a projection, for mechanical releases only.
    std::optional<std::int64_t> ratedReachedAt;
    bool ratedPassed = false;               // the last picture's count is at or past the rated figure
    std::vector<HistoryAnomaly> anomalies;  // shared serial first, then in the order of the pictures
};

class BodyHistory {
public:
    // Takes one file's inspection; file is the caller's number for it (its
    // place in the run), by which the history names it. Files without a count
    // are left out. The count compared is the mechanical count where the file
    // records one beside a count of all releases (the releases that wear the
    // shutter and that ratings speak of, and a count no body can raise more
    // than a few times a second), else the file's count.
    void add(const Inspection& inspection, std::uint32_t file);

    // Every body, ordered by maker, model, serial number and kind of count,
    // with its readings sorted, its rate, projection and anomalies. Leaves
    // the history empty.
    std::vector<HistorySummary> finish();

    std::size_t bodies() const { return bodies_.size(); }

private:
    using Key = std::tuple<tiffwalker::Maker, std::string, std::string, tiffwalker::CountKind>;
    std::map<Key, HistorySummary> bodies_;
};

// "2026:12:07 10:00:00" (EXIF's DateTimeOriginal) as seconds from
// 1970-01-01 00:00:00; empty for any other text, an impossible date included.
std::optional<std::int64_t> secondsOfExifDate(std::string_view text);
// Back again: "2026:12:07 10:00:00".
std::string exifDateOf(std::int64_t seconds);
// The day alone, as dates are written for scripts: "2026-12-07".
std::string isoDayOf(std::int64_t seconds);

// "lower_count", "impossible_rate", "shared_serial".
const char* anomalyName(AnomalyKind kind);
// What it is and what can cause it, in words.
const char* anomalyWords(AnomalyKind kind);

}  // namespace frametally
