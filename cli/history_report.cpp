// --history: each camera body's counts in the order its pictures were taken,
// its rate of use, the projected date of its rated figure and the files whose
// counts do not fit one body's life. Files are taken as they are read and the
// history written at the end, for people (one block per body) or for scripts
// (a row per picture and one per body).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "body_history.h"
#include "history_rows.h"
#include "report_writer.h"
#include "text_escape.h"
#include "text_shape.h"

namespace frametally::cli {

namespace {

constexpr size_t kTakenWidth = 19;  // "2026:12:07 10:00:00"

std::string plural(size_t n, const char* one, const char* many) {
    return withThousands(n) + " " + (n == 1 ? one : many);
}

class HistoryWriter : public ReportWriter {
public:
    HistoryWriter(Format format, std::ostream& out, const std::vector<std::string>& paths)
        : format_(format), out_(out), paths_(paths) {}

    // Files come in the order of the run's list, so the n-th is paths_[n]:
    // the history keeps its number, never its path.
    void row(const FileOutcome& outcome) override { history_.add(outcome, static_cast<std::uint32_t>(delivered_++)); }

    void finish(const Tally& tally, const RunEnd& end) override {
        const std::vector<HistorySummary> bodies = history_.finish();
        const PathOfFile pathOf = [this](std::uint32_t file) { return paths_[file]; };
        const HistoryLineSink sink = [this](const std::string& line) { out_ << line; };
        if (format_ == Format::Tsv) {
            out_ << historyTsvHeader();
            for (const HistorySummary& body : bodies) historyTsvRows(body, pathOf, sink);
            return;
        }
        if (format_ == Format::Json) {
            for (const HistorySummary& body : bodies) historyJsonRows(body, pathOf, sink);
            return;
        }
        for (const HistorySummary& body : bodies) writeBody(body, bodies);
        writeEnd(tally, end, bodies);
    }

private:
    void writeBody(const HistorySummary& body, const std::vector<HistorySummary>& bodies) {
        FileDetails details;
        details.make = body.make;
        details.model = body.model;
        std::string name = cameraName(details);
        if (name.empty()) name = "unknown camera";
        name += body.serial.empty() ? " (no serial number: every such file of this model is counted as one body)"
                                    : ", serial " + body.serial;
        out_ << escapedForDisplay(name) << '\n';
        out_ << "  counts: " << countKindWords(body.countKind) << '\n';
        if (body.readings.empty()) {
            out_ << "  no picture with a date taken\n";
        } else {
            out_ << "  seen: " << plural(body.readings.size(), "picture", "pictures") << ", "
                 << exifDateOf(body.readings.front().taken);
            if (body.readings.size() > 1) out_ << " to " << exifDateOf(body.readings.back().taken);
            out_ << '\n';
        }
        if (body.undated > 0) {
            out_ << "  left out: " << plural(body.undated, "file", "files") << " without a date taken\n";
        }
        out_ << "  rate: "
             << (body.releasesPerMonth
                     ? "about " + withThousands(static_cast<std::uint64_t>(std::llround(*body.releasesPerMonth))) +
                           " a month"
                     : std::string("none (needs pictures at least a day apart)"))
             << '\n';
        if (body.ratedReleases) writeRating(body);
        if (!body.readings.empty()) writeReadings(body, bodies);
        out_ << '\n';
    }

    void writeRating(const HistorySummary& body) {
        out_ << "  rated: " << withThousands(*body.ratedReleases) << " releases";
        if (!body.ratedSource.empty()) out_ << " (" << escapedForDisplay(body.ratedSource) << ")";
        if (body.ratedPassed) {
            out_ << "; the last picture's count is past it";
        } else if (body.ratedReachedAt) {
            out_ << "; at this rate reached about " << isoDayOf(*body.ratedReachedAt) << " (a projection)";
        } else if (body.countKind != tiffwalker::CountKind::MechanicalReleases) {
            out_ << "; no projection, as the count is not of mechanical releases";
        }
        out_ << '\n';
    }

    void writeReadings(const HistorySummary& body, const std::vector<HistorySummary>& bodies) {
        size_t countWidth = 5;
        for (const HistoryReading& reading : body.readings) {
            countWidth = std::max(countWidth, std::to_string(reading.count).size());
        }
        out_ << "  TAKEN" << std::string(kTakenWidth - 5 + 2, ' ') << std::string(countWidth - 5, ' ')
             << "COUNT  FILE\n";
        size_t next = 0;
        for (const HistoryReading& reading : body.readings) {
            const std::string count = std::to_string(reading.count);
            out_ << "  " << exifDateOf(reading.taken) << "  " << std::string(countWidth - count.size(), ' ') << count
                 << "  " << escapedForDisplay(paths_[reading.file]) << '\n';
            if (next < body.anomalies.size() && body.anomalies[next].file == reading.file) {
                const HistoryAnomaly& anomaly = body.anomalies[next++];
                out_ << "    anomaly: " << anomalyWords(anomaly.kind) << "; set against "
                     << otherFileShown(anomaly, bodies) << '\n';
            }
        }
    }

    // The other file of an anomaly: another model's, named, for a shared
    // serial number; else the picture above.
    std::string otherFileShown(const HistoryAnomaly& anomaly, const std::vector<HistorySummary>& bodies) {
        std::string shown = escapedForDisplay(paths_[anomaly.otherFile]);
        if (anomaly.kind != AnomalyKind::SharedSerial) return shown;
        for (const HistorySummary& other : bodies) {
            if (!other.readings.empty() && other.readings.front().file == anomaly.otherFile) {
                return escapedForDisplay(other.model) + " in " + shown;
            }
        }
        return shown;
    }

    void writeEnd(const Tally& tally, const RunEnd& end, const std::vector<HistorySummary>& bodies) {
        if (end.interrupted && end.searchStopped) {
            out_ << "Interrupted while searching folders: no file read.\n";
            return;
        }
        if (end.interrupted)
            out_ << "Interrupted: " << tally.files() << " of " << plural(end.planned, "file", "files") << " read.\n";
        if (tally.files() == 0 && !end.interrupted) {
            out_ << "No camera files found.\n";
            return;
        }
        size_t anomalies = 0;
        for (const HistorySummary& body : bodies) anomalies += body.anomalies.size();
        out_ << plural(tally.files(), "file", "files") << " read, "
             << plural(tally.withStatus(Status::Count), "count", "counts") << "; "
             << plural(bodies.size(), "body", "bodies") << ", " << plural(anomalies, "anomaly", "anomalies") << ".\n";
        if (!end.problems.empty()) {
            out_ << plural(end.problems.size(), "folder", "folders") << " could not be read (see above).\n";
        }
    }

    Format format_;
    std::ostream& out_;
    const std::vector<std::string>& paths_;
    BodyHistory history_;
    size_t delivered_ = 0;
};

}  // namespace

std::unique_ptr<ReportWriter> makeHistoryWriter(Format format, std::ostream& out,
                                                const std::vector<std::string>& paths) {
    return std::make_unique<HistoryWriter>(format, out, paths);
}

}  // namespace frametally::cli
