#pragma once
// What a person is shown of one file: the result, its status, why there is no
// count, and the camera and picture the file speaks of. Every front end (the
// command line, the desktop dialog, the web page) shows files through this.
#include <cstdint>
#include <optional>
#include <string>

#include <tiffwalker/tiffwalker.h>
#include "file_details.h"

namespace frametally {

struct Inspection {
    std::string path;
    tiffwalker::ReadingStatus status = tiffwalker::ReadingStatus::NotReadable;
    std::string result;   // the engine's result text; empty for a raised error
    std::string message;  // a raised error's message, "\r\n" made a line break
    FileDetails details;  // what the file says about the camera and the picture
    std::string reason;   // why there is no count, in words; empty for a count
    tiffwalker::ReadingCause cause = tiffwalker::ReadingCause::None;  // what the reason says
    // Whose camera it is, from its Make; and what the count counts.
    tiffwalker::Maker maker = tiffwalker::Maker::Unknown;
    tiffwalker::CountKind countKind = tiffwalker::CountKind::None;
    // The mechanical releases a body records beside its count; empty where none.
    std::optional<std::uint32_t> mechanicalCount;
    // The releases the maker rates this body's shutter for, where a figure is
    // published, and where it was published; empty where none is known.
    std::optional<std::uint32_t> ratedReleases;
    std::string ratedSource;
    // Where the count came from: "file", or "camera" for one read from a
    // connected camera.
    std::string source = "file";
};

// Reads files one after another in a context of its own; one inspector per
// thread.
class Inspector {
public:
    // The context makes the texts of the records the details come from only.
    Inspector();

    // The reading context, for its switches and output stream.
    tiffwalker::ReadingContext& context() { return context_; }

    Inspection inspect(const std::string& path);
    // A file the caller holds; name stands for its path.
    Inspection inspect(tiffwalker::ByteSource& source, const std::string& name);

private:
    Inspection shown(const std::string& path, const tiffwalker::ReadingOutcome& outcome);

    tiffwalker::ReadingContext context_;
    tiffwalker::RecordList records_;
};

// "count", "not_readable", "no_exif", "no_count" or "error".
const char* statusName(tiffwalker::ReadingStatus status);
// "mechanical_releases", "all_exposures", "image_count", "all_releases", or ""
// without a count.
const char* countKindName(tiffwalker::CountKind kind);
// The same in plain words: "mechanical releases", "all exposures, electronic
// shutter included", "image count (may restart)", "all releases, electronic
// ones included", or "".
const char* countKindWords(tiffwalker::CountKind kind);
// 0 for a count, 1 for a failure text, 3 for a raised error.
int exitCodeOf(tiffwalker::ReadingStatus status);

}  // namespace frametally
