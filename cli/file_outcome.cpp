#include "file_outcome.h"

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

FileOutcome readShutterCount(const std::string& path) {
    FileOutcome outcome;
    outcome.path = path;
    try {
        outcome.result = tiffwalker::getImageShutterCount(path.c_str());
        outcome.status = statusOfResult(outcome.result);
    } catch (tiffwalker::CTiffwalkerException* error) {
        outcome.status = Status::Error;
        outcome.message = withLineBreaks(error->message());
        error->Delete();
    }
    return outcome;
}

}  // namespace frametally::cli
