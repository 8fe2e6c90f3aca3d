#include "report_writer.h"

namespace frametally::cli {

namespace {

// The single file's result text, as the only line; a raised error prints
// nothing here (it goes to standard error).
class ResultLineWriter : public ReportWriter {
public:
    explicit ResultLineWriter(std::ostream& out) : out_(out) {}
    void row(const FileOutcome& outcome) override {
        if (outcome.status != Status::Error) out_ << outcome.result << '\n';
    }

private:
    std::ostream& out_;
};

}  // namespace

std::unique_ptr<ReportWriter> makeResultLineWriter(std::ostream& out) {
    return std::make_unique<ResultLineWriter>(out);
}

std::unique_ptr<ReportWriter> makeReportWriter(Format format, bool batch, std::ostream& out,
                                               const std::vector<std::string>& paths) {
    switch (format) {
        case Format::Tsv: return makeTsvWriter(out);
        case Format::Json: return makeJsonWriter(out);
        case Format::Text: break;
    }
    return batch ? makeTextTableWriter(out, paths) : makeResultLineWriter(out);
}

}  // namespace frametally::cli
