#pragma once
// What a run found, for the summary at its end: how many files gave which
// result, and the highest count of each camera body.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "file_outcome.h"

namespace frametally::cli {

struct BodyRecord {
    uint64_t highestCount = 0;
    tiffwalker::CountKind countKind = tiffwalker::CountKind::None;  // what that count counts
    std::string path;                                               // the file that holds it
    size_t files = 0;
};

class Tally {
public:
    void add(const FileOutcome& outcome);

    size_t files() const { return files_; }
    size_t withStatus(Status status) const;
    // By camera name and serial number (empty when the files have none).
    const std::map<std::pair<std::string, std::string>, BodyRecord>& bodies() const { return bodies_; }
    // The exit status of the run so far: the worst of its files.
    int exitCode() const { return exitCode_; }

private:
    size_t files_ = 0;
    std::map<Status, size_t> byStatus_;
    std::map<std::pair<std::string, std::string>, BodyRecord> bodies_;
    int exitCode_ = 0;
};

// The count of a count result text, when it is a plain decimal number.
bool parseCount(const std::string& result, uint64_t& count);

}  // namespace frametally::cli
