#pragma once
// The outcome of reading one file, as the command line reports it: the result
// text, the columns taken from the same reading, and, when there is no count,
// why not.
#include <ostream>
#include <sstream>
#include <string>

#include "file_details.h"
#include "record_list.h"

namespace frametally::cli {

enum class Status { Count, NotReadable, NoExif, NoCount, Error };

struct FileOutcome {
    std::string path;
    Status status = Status::NotReadable;
    std::string result;      // the engine's result text; empty for a raised error
    std::string message;     // a raised error's message, "\r\n" made a line break
    FileDetails details;     // what the file says about the camera and the picture
    std::string reason;      // why there is no count, in words; empty for a count
    std::string engineText;  // what the engine wrote while reading the file
};

// Reads files one after another through the engine, keeping what the engine
// writes for each file in the outcome instead of letting it through.
class FileReader {
public:
    FileOutcome read(const std::string& path);

private:
    tiffwalker::RecordList records_;
    std::ostringstream engineText_;
};

// Reads one file; a raised error becomes Status::Error.
FileOutcome readShutterCount(const std::string& path);

Status statusOfResult(const std::string& result);
// 0 for a count, 1 for a failure text, 3 for a raised error.
int exitCodeOf(Status status);
// "count", "not_readable", "no_exif", "no_count" or "error".
const char* statusName(Status status);

}  // namespace frametally::cli
