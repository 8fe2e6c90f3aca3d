#pragma once
// The outcome of reading one file, as the command line reports it.
#include <string>

namespace frametally::cli {

enum class Status { Count, NotReadable, NoExif, NoCount, Error };

struct FileOutcome {
    std::string path;
    Status status = Status::NotReadable;
    std::string result;   // the engine's result text; empty for a raised error
    std::string message;  // a raised error's message, "\r\n" made a line break
};

// Reads one file through the engine; a raised error becomes Status::Error.
FileOutcome readShutterCount(const std::string& path);

Status statusOfResult(const std::string& result);
// 0 for a count, 1 for a failure text, 3 for a raised error.
int exitCodeOf(Status status);

}  // namespace frametally::cli
