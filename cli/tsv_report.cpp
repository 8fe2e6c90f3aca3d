// TSV for scripts: a header line, then one line per file, as the inspection
// layer builds them (the page's download has the same lines).
#include "report_rows.h"
#include "report_writer.h"

namespace frametally::cli {

namespace {

class TsvWriter : public ReportWriter {
public:
    explicit TsvWriter(std::ostream& out) : out_(out) { out_ << tsvHeader(); }

    void row(const FileOutcome& outcome) override { out_ << tsvLine(outcome); }

private:
    std::ostream& out_;
};

}  // namespace

std::unique_ptr<ReportWriter> makeTsvWriter(std::ostream& out) { return std::make_unique<TsvWriter>(out); }

}  // namespace frametally::cli
