#include "file_outcome.h"

#include <exception>

#include "no_count_reason.h"
#include "tiffwalker.h"

namespace frametally::cli {

namespace {

std::string withLineBreaks(const std::string& text) {
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        shown += text[i];
    }
    return shown;
}

// Sends the engine's text to a stream of ours for one reading.
class EngineOutputCapture {
public:
    explicit EngineOutputCapture(std::ostringstream& stream) : previous_(tiffwalker::engineOutput()) {
        stream.str(std::string());
        stream.clear();
        tiffwalker::setEngineOutput(stream);
    }
    ~EngineOutputCapture() { tiffwalker::setEngineOutput(previous_); }
    EngineOutputCapture(const EngineOutputCapture&) = delete;
    EngineOutputCapture& operator=(const EngineOutputCapture&) = delete;

private:
    std::ostream& previous_;
};

}  // namespace

Status statusOfResult(const std::string& result) {
    if (result == tiffwalker::kNotReadable) return Status::NotReadable;
    if (result == tiffwalker::kNoExifData) return Status::NoExif;
    if (result == tiffwalker::kNoCount) return Status::NoCount;
    return Status::Count;
}

int exitCodeOf(Status status) {
    switch (status) {
        case Status::Count: return 0;
        case Status::Error: return 3;
        default: return 1;
    }
}

const char* statusName(Status status) {
    switch (status) {
        case Status::Count: return "count";
        case Status::NotReadable: return "not_readable";
        case Status::NoExif: return "no_exif";
        case Status::NoCount: return "no_count";
        case Status::Error: return "error";
    }
    return "error";
}

FileOutcome FileReader::read(const std::string& path) {
    FileOutcome outcome;
    outcome.path = path;
    {
        EngineOutputCapture capture(engineText_);
        try {
            outcome.result = tiffwalker::readImageRecords(path.c_str(), records_);
            outcome.status = statusOfResult(outcome.result);
        } catch (tiffwalker::CTiffwalkerException* error) {
            outcome.status = Status::Error;
            outcome.message = withLineBreaks(error->message());
            error->Delete();
        } catch (const std::exception& error) {
            // Not an error of the file's making (memory ran out, say), but
            // still one file's failure rather than the end of the run.
            outcome.status = Status::Error;
            outcome.message = error.what();
        }
    }
    outcome.engineText = engineText_.str();
    outcome.details = detailsOf(records_);
    outcome.reason = reasonForNoCount(outcome, records_);
    records_.clear();
    return outcome;
}

FileOutcome readShutterCount(const std::string& path) {
    FileReader reader;
    return reader.read(path);
}

}  // namespace frametally::cli
