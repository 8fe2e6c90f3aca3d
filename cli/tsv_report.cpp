// TSV for scripts: a header line, then one line per file. Fields are escaped
// (\\, \t, \n, \r) so that every line is one file whatever its path holds.
#include "report_writer.h"
#include "text_escape.h"

namespace frametally::cli {

namespace {

class TsvWriter : public ReportWriter {
public:
    explicit TsvWriter(std::ostream& out) : out_(out) {
        out_ << "path\tresult\tstatus\tmake\tmodel\tserial\tdate_time_original\tlens\treason\n";
    }

    void row(const FileOutcome& outcome) override {
        const FileDetails& d = outcome.details;
        for (const std::string* field : {&outcome.path, &outcome.result}) out_ << escapedForTsv(*field) << '\t';
        out_ << statusName(outcome.status);
        for (const std::string* field :
             {&d.make, &d.model, &d.serialNumber, &d.dateTimeOriginal, &d.lens, &outcome.reason}) {
            out_ << '\t' << escapedForTsv(*field);
        }
        out_ << '\n';
    }

private:
    std::ostream& out_;
};

}  // namespace

std::unique_ptr<ReportWriter> makeTsvWriter(std::ostream& out) { return std::make_unique<TsvWriter>(out); }

}  // namespace frametally::cli
