// JSON lines for scripts: one object per file. Values come from file systems
// and files, so bytes that are not UTF-8 are replaced (U+FFFD) to keep every
// line valid JSON; a path that needed it also gives its exact bytes in hex.
#include <nlohmann/json.hpp>

#include "report_writer.h"
#include "text_escape.h"

namespace frametally::cli {

namespace {

nlohmann::ordered_json textOrNull(const std::string& text) {
    return text.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(text);
}

class JsonWriter : public ReportWriter {
public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}

    void row(const FileOutcome& outcome) override {
        const FileDetails& d = outcome.details;
        nlohmann::ordered_json line;
        line["path"] = outcome.path;
        if (!isValidUtf8(outcome.path)) line["path_hex"] = hexOf(outcome.path);
        line["result"] =
            outcome.status == Status::Error ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(outcome.result);
        line["status"] = statusName(outcome.status);
        line["make"] = textOrNull(d.make);
        line["model"] = textOrNull(d.model);
        line["serial"] = textOrNull(d.serialNumber);
        line["date_time_original"] = textOrNull(d.dateTimeOriginal);
        line["lens"] = textOrNull(d.lens);
        if (outcome.status != Status::Count) line["reason"] = outcome.reason;
        if (outcome.status == Status::Error) line["message"] = outcome.message;
        out_ << line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
    }

private:
    std::ostream& out_;
};

}  // namespace

std::unique_ptr<ReportWriter> makeJsonWriter(std::ostream& out) { return std::make_unique<JsonWriter>(out); }

}  // namespace frametally::cli
