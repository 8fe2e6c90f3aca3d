#include "no_count_reason.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "file_outcome.h"
#include "name_tables.h"
#include "tag_numbers.h"
#include "tiffwalker.h"

namespace frametally::cli {

namespace {

constexpr const char* kNikonMake = "NIKON CORPORATION";

// The messages of the engine that tell one failure from another.
constexpr const char* kFileNotReadableMessage = "File not readable: ";
constexpr const char* kMakerNoteHeaderRefusedMessage = "File type is not NEF/Nikon RAW";

bool has(const tiffwalker::RecordList& records, uint16_t tag) {
    return std::any_of(records.begin(), records.end(), [tag](const auto& r) { return r.ifde.tag == tag; });
}

std::string firstText(const tiffwalker::RecordList& records, uint16_t tag) {
    for (const auto& record : records) {
        if (record.ifde.tag == tag)
            return record.displayStringData.empty() ? record.stringData : record.displayStringData;
    }
    return {};
}

// The path could not be opened, or it is no file to read: the system's word
// for it. Empty when it opens as a regular file.
std::string openProblem(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::string("cannot be opened: ") + std::strerror(errno);
    struct stat info {};
    std::string problem;
    if (::fstat(fd, &info) != 0) {
        problem = std::string("cannot be examined: ") + std::strerror(errno);
    } else if (S_ISDIR(info.st_mode)) {
        problem = "a folder, not a file";
    } else if (!S_ISREG(info.st_mode)) {
        problem = "not a regular file (a device, pipe or socket)";
    }
    ::close(fd);
    return problem;
}

std::string whyNotReadable(const FileOutcome& outcome) {
    if (outcome.engineText.find(kFileNotReadableMessage) != std::string::npos) {
        const std::string problem = openProblem(outcome.path);
        if (!problem.empty()) return problem;
        return "neither a NEF/TIFF file nor a JPEG file";
    }
    return "a JPEG file whose first segment is neither APP0 nor APP1, where the EXIF data must begin";
}

std::string written(const std::string& software) {
    if (software.empty() || isCameraFirmware(software)) return {};
    return "; the file was written by \"" + software + "\", and editing programs often drop maker notes";
}

std::string whyNoCount(const FileOutcome& outcome, const tiffwalker::RecordList& records) {
    const bool makerNoteRecords = std::any_of(records.begin(), records.end(),
                                              [](const auto& r) { return r.iIFDType == tiffwalker::kMakerNotes; });
    if (makerNoteRecords) {
        if (has(records, tiffwalker::kShutterCountTag)) return "the maker notes' ShutterCount entry is empty";
        return "maker notes present but without a ShutterCount entry (not every model records one)";
    }
    const bool anyEntry = std::any_of(records.begin(), records.end(),
                                      [](const auto& r) { return r.ifde.tag < tiffwalker::tags::kFirstPseudoTag; });
    if (!anyEntry) return "no readable TIFF directory in the file";
    if (!has(records, tiffwalker::tags::kMake))
        return "no Make entry, so the file names no camera maker and its maker notes are not read";
    const std::string make = firstText(records, tiffwalker::tags::kMake);
    if (make.compare(0, std::strlen(kNikonMake), kNikonMake) != 0) {
        std::string shown = make;
        while (!shown.empty() && (shown.back() == '\0' || shown.back() == ' ')) shown.pop_back();
        return "Make is \"" + shown + "\", not \"" + kNikonMake +
               "\" (a Coolpix or another maker's camera): no shutter count is recorded";
    }
    const std::string& software = outcome.details.software;
    if (!has(records, tiffwalker::tags::kExifOffset)) return "no EXIF directory, so no maker notes" + written(software);
    if (!has(records, tiffwalker::tags::kMakerNoteOffset)) return "maker notes missing" + written(software);
    if (outcome.engineText.find(kMakerNoteHeaderRefusedMessage) != std::string::npos) {
        return "maker-note header refused: the maker notes do not hold a valid TIFF header of their own";
    }
    return "maker-note directory unreadable: it lies outside the file or is malformed";
}

std::string oneLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            line += "; ";
        } else if (c != '\r') {
            line += c;
        }
    }
    return line;
}

}  // namespace

bool isCameraFirmware(const std::string& software) {
    std::string lower;
    for (char c : software) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    // "Ver.1.00", "D7000 Ver.1.02", "V1.01": a version word at a word start,
    // then a version number.
    for (size_t i = 0; i < lower.size(); ++i) {
        if (i > 0 && lower[i - 1] != ' ') continue;
        size_t j = i;
        if (lower.compare(j, 3, "ver") == 0) {
            j += 3;
        } else if (lower[j] == 'v') {
            j += 1;
        } else {
            continue;
        }
        while (j < lower.size() && (lower[j] == '.' || lower[j] == ' ')) ++j;
        if (j < lower.size() && std::isdigit(static_cast<unsigned char>(lower[j]))) return true;
    }
    return false;
}

std::string reasonForNoCount(const FileOutcome& outcome, const tiffwalker::RecordList& records) {
    switch (outcome.status) {
        case Status::Count: return {};
        case Status::NotReadable: return whyNotReadable(outcome);
        case Status::NoExif: return "a JPEG file without an EXIF segment: it holds no camera data at all";
        case Status::NoCount: return whyNoCount(outcome, records);
        case Status::Error: return "the reading raised an error: " + oneLine(outcome.message);
    }
    return {};
}

}  // namespace frametally::cli
