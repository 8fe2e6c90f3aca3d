#pragma once
// The rows of a history for scripts: one row per picture with its body's key,
// then one row for the body, in TSV or as JSON lines. The command's
// --history --format tsv|json and the page's history charts both come from
// here.
#include <cstdint>
#include <functional>
#include <string>

#include "body_history.h"

namespace frametally {

// The path of the file the caller numbered so.
using PathOfFile = std::function<std::string(std::uint32_t file)>;
// Takes each line as it is made, so that a body of 100,000 pictures is never
// held as text whole.
using HistoryLineSink = std::function<void(const std::string& line)>;

// row make model serial maker count_kind path date_time_original count
// anomaly anomaly_file readings undated first_seen last_seen
// releases_per_month rated_releases projected_date anomalies, ending in "\n".
std::string historyTsvHeader();
// The body's picture rows in order of date taken, then its own row; each
// field escaped as the file rows' are.
void historyTsvRows(const HistorySummary& body, const PathOfFile& pathOf, const HistoryLineSink& sink);
// The same as JSON lines: counts and figures as numbers, a body key that is
// missing as null, fields that do not apply to the row left out; a picture
// with an anomaly also has its words in "anomaly_words", a body row its
// rating's source in "rated_source".
void historyJsonRows(const HistorySummary& body, const PathOfFile& pathOf, const HistoryLineSink& sink);

// A rate as the rows give it: one decimal, "1020.4".
std::string rateText(double releasesPerMonth);

}  // namespace frametally
