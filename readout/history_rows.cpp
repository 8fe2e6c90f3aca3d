#include "history_rows.h"

#include <array>
#include <cstdio>

#include "report_rows.h"
#include "shown_texts.h"

namespace frametally {

namespace {

enum class Shape {
    Key,     // the body's key: null in JSON when empty
    Text,    // left out of JSON when empty
    Number,  // a JSON number; left out when empty
};

enum Column {
    kRow,
    kMake,
    kModel,
    kSerial,
    kMaker,
    kCountKind,
    kPath,
    kDate,
    kCount,
    kAnomaly,
    kAnomalyFile,
    kReadings,
    kUndated,
    kFirstSeen,
    kLastSeen,
    kRate,
    kRated,
    kProjected,
    kAnomalies,
    kTsvColumns,
    // JSON only.
    kAnomalyWords = kTsvColumns,
    kRatedSource,
    kSerialShown,  // the serial number and the date as every front end shows them
    kDateShown,
    kAllColumns,
};

struct ColumnShape {
    const char* name;
    Shape shape;
};

constexpr ColumnShape kColumns[kAllColumns] = {
    {"row", Shape::Text},
    {"make", Shape::Key},
    {"model", Shape::Key},
    {"serial", Shape::Key},
    {"maker", Shape::Key},
    {"count_kind", Shape::Key},
    {"path", Shape::Text},
    {"date_time_original", Shape::Text},
    {"count", Shape::Number},
    {"anomaly", Shape::Text},
    {"anomaly_file", Shape::Text},
    {"readings", Shape::Number},
    {"undated", Shape::Number},
    {"first_seen", Shape::Text},
    {"last_seen", Shape::Text},
    {"releases_per_month", Shape::Number},
    {"rated_releases", Shape::Number},
    {"projected_date", Shape::Text},
    {"anomalies", Shape::Number},
    {"anomaly_words", Shape::Text},
    {"rated_source", Shape::Text},
    {"serial_shown", Shape::Text},
    {"date_shown", Shape::Text},
};

using Row = std::array<std::string, kAllColumns>;

Row keyRow(const HistorySummary& body, const char* kind) {
    Row row;
    row[kRow] = kind;
    row[kMake] = body.make;
    row[kModel] = body.model;
    row[kSerial] = body.serial;
    row[kMaker] = tiffwalker::makerName(body.maker);
    row[kCountKind] = countKindName(body.countKind);
    row[kSerialShown] = serialShown(body.serial);
    return row;
}

// Hands on the rows of one body, in the order written: its pictures, then itself.
void eachRow(const HistorySummary& body, const PathOfFile& pathOf, const std::function<void(const Row&)>& take) {
    Row row = keyRow(body, "reading");
    size_t next = 0;  // anomalies come in the order of the pictures that show them
    for (const HistoryReading& reading : body.readings) {
        const HistoryAnomaly* anomaly = nullptr;
        if (next < body.anomalies.size() && body.anomalies[next].file == reading.file)
            anomaly = &body.anomalies[next++];
        row[kPath] = pathOf(reading.file);
        row[kDate] = exifDateOf(reading.taken);
        row[kDateShown] = dateShown(row[kDate]);
        row[kCount] = std::to_string(reading.count);
        row[kAnomaly] = anomaly ? anomalyName(anomaly->kind) : "";
        row[kAnomalyFile] = anomaly ? pathOf(anomaly->otherFile) : "";
        row[kAnomalyWords] = anomaly ? anomalyWords(anomaly->kind) : "";
        take(row);
    }
    row = keyRow(body, "body");
    const bool any = !body.readings.empty();
    row[kCount] = any ? std::to_string(body.readings.back().count) : "";
    row[kReadings] = std::to_string(body.readings.size());
    row[kUndated] = std::to_string(body.undated);
    row[kFirstSeen] = any ? exifDateOf(body.readings.front().taken) : "";
    row[kLastSeen] = any ? exifDateOf(body.readings.back().taken) : "";
    row[kRate] = body.releasesPerMonth ? rateText(*body.releasesPerMonth) : "";
    row[kRated] = body.ratedReleases ? std::to_string(*body.ratedReleases) : "";
    row[kRatedSource] = body.ratedSource;
    row[kProjected] = body.ratedPassed ? "passed" : body.ratedReachedAt ? isoDayOf(*body.ratedReachedAt) : "";
    row[kAnomalies] = std::to_string(body.anomalies.size());
    take(row);
}

}  // namespace

std::string historyTsvHeader() {
    std::string line;
    for (size_t c = 0; c < kTsvColumns; ++c) {
        if (c > 0) line += '\t';
        line += kColumns[c].name;
    }
    return line + '\n';
}

void historyTsvRows(const HistorySummary& body, const PathOfFile& pathOf, const HistoryLineSink& sink) {
    std::string line;
    eachRow(body, pathOf, [&](const Row& row) {
        line.clear();
        for (size_t c = 0; c < kTsvColumns; ++c) {
            if (c > 0) line += '\t';
            line += escapedForTsv(row[c]);
        }
        line += '\n';
        sink(line);
    });
}

void historyJsonRows(const HistorySummary& body, const PathOfFile& pathOf, const HistoryLineSink& sink) {
    std::string line;
    eachRow(body, pathOf, [&](const Row& row) {
        line = "{";
        for (size_t c = 0; c < kAllColumns; ++c) {
            const std::string& value = row[c];
            const Shape shape = kColumns[c].shape;
            if (value.empty() && shape != Shape::Key) continue;
            if (line.size() > 1) line += ',';
            line += jsonString(kColumns[c].name);
            line += ':';
            if (value.empty()) {
                line += "null";
            } else if (shape == Shape::Number) {
                line += value;
            } else {
                line += jsonString(value);
            }
        }
        line += "}\n";
        sink(line);
    });
}

std::string rateText(double releasesPerMonth) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", releasesPerMonth);
    return text;
}

}  // namespace frametally
