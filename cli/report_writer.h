#pragma once
// Writers of the results on standard output, one per format: text for people,
// TSV and JSON lines for scripts.
#include <cstddef>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "file_outcome.h"
#include "file_walk.h"
#include "tally.h"

namespace frametally::cli {

enum class Format { Text, Tsv, Json };

// How the run ended, for the summary.
struct RunEnd {
    size_t planned = 0;  // files found to read
    bool interrupted = false;
    bool searchStopped = false;  // interrupted before the reading began
    std::vector<WalkProblem> problems;
};

class ReportWriter {
public:
    virtual ~ReportWriter() = default;
    virtual void row(const FileOutcome& outcome) = 0;
    virtual void finish(const Tally& tally, const RunEnd& end) { (void)tally, (void)end; }
};

// A single file in text format prints its result text alone, as it always
// has; everything else is a batch. Paths are all the files to read, known
// before the first row so that the text table can line up its columns.
std::unique_ptr<ReportWriter> makeReportWriter(Format format, bool batch, std::ostream& out,
                                               const std::vector<std::string>& paths);

std::unique_ptr<ReportWriter> makeResultLineWriter(std::ostream& out);
std::unique_ptr<ReportWriter> makeTextTableWriter(std::ostream& out, const std::vector<std::string>& paths);
std::unique_ptr<ReportWriter> makeTsvWriter(std::ostream& out);
std::unique_ptr<ReportWriter> makeJsonWriter(std::ostream& out);
// --history in the format given; paths are the run's files, in the order
// their outcomes come.
std::unique_ptr<ReportWriter> makeHistoryWriter(Format format, std::ostream& out,
                                                const std::vector<std::string>& paths);

}  // namespace frametally::cli
