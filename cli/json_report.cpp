// JSON lines for scripts: one object per file, as the inspection layer builds
// them (the page's download has the same lines).
#include "report_rows.h"
#include "report_writer.h"

namespace frametally::cli {

namespace {

class JsonWriter : public ReportWriter {
public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}

    void row(const FileOutcome& outcome) override { out_ << jsonLine(outcome); }

private:
    std::ostream& out_;
};

}  // namespace

std::unique_ptr<ReportWriter> makeJsonWriter(std::ostream& out) { return std::make_unique<JsonWriter>(out); }

}  // namespace frametally::cli
