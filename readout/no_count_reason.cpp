#include "no_count_reason.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "text_shape.h"

namespace frametally {

namespace {

using tiffwalker::ReadingCause;

constexpr const char* kNikonMake = "NIKON CORPORATION";

std::string written(const std::string& software) {
    if (software.empty() || isCameraFirmware(software)) return {};
    return "; the file was written by \"" + software + "\", and editing programs often drop maker notes";
}

// Make as shown in the reasons: without the NULs and spaces that pad its end.
std::string shownMake(std::string make) {
    while (!make.empty() && (make.back() == '\0' || make.back() == ' ')) make.pop_back();
    return make;
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

bool startsWithAnyCase(const std::string& text, const std::string& start) {
    if (text.size() < start.size()) return false;
    return std::equal(start.begin(), start.end(), text.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

// "Sony ILCE-7M3", "Canon EOS 5D": the maker's name and the model, once.
std::string named(const tiffwalker::ReadingOutcome& outcome) {
    const std::string maker = tiffwalker::makerName(outcome.maker);
    const std::string model = trimmed(outcome.model);
    if (model.empty()) return maker + " camera";
    if (maker.empty() || startsWithAnyCase(model, maker)) return model;
    return maker + " " + model;
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

std::string reasonForNoCount(const tiffwalker::ReadingOutcome& outcome) {
    const std::string software = trimmed(outcome.software);
    switch (outcome.cause) {
        case ReadingCause::None: return {};
        case ReadingCause::OpenFailed:
            return "cannot be opened: " + std::generic_category().message(outcome.systemError);
        case ReadingCause::Folder: return "a folder, not a file";
        case ReadingCause::NotRegularFile: return "not a regular file (a device, pipe or socket)";
        case ReadingCause::EmptyFile: return "the file is empty";
        case ReadingCause::NeitherTiffNorJpeg:
            return "not a camera file of a kind Frametally reads (JPEG, TIFF and the raw files built on it, HEIF, CR3, "
                   "RAF)";
        case ReadingCause::UnknownJpegLayout:
            return "a JPEG file whose first segment is neither APP0 nor APP1, where the EXIF data must begin";
        case ReadingCause::NoExifSegment: return "a JPEG file without an EXIF segment: it holds no camera data at all";
        case ReadingCause::NoExifInContainer:
            return "no EXIF data where this HEIF, CR3 or RAF file keeps it (none, or none that lies inside the file)";
        case ReadingCause::NoDirectory: return "no readable TIFF directory in the file";
        case ReadingCause::NoMake:
            return "no Make entry, so the file names no camera maker and its maker notes are not read";
        case ReadingCause::MakeNotNikon:
            // A Make entry cut short or left blank names no camera at all.
            if (trimmed(outcome.make).empty()) {
                return "an empty Make entry, so the file names no camera maker and its maker notes are not read";
            }
            return "Make is \"" + shownMake(outcome.make) + "\", not \"" + kNikonMake +
                   "\" (a Coolpix or another maker's camera): no shutter count is recorded";
        case ReadingCause::UnknownMaker:
            return "Make is \"" + shownMake(outcome.make) +
                   "\", a maker whose files Frametally reads no count from (it reads Nikon, Sony, Pentax, Canon "
                   "and Fujifilm cameras)";
        case ReadingCause::NoExifDirectory: return "no EXIF directory, so no maker notes" + written(software);
        case ReadingCause::NoMakerNotes: return "maker notes missing" + written(software);
        case ReadingCause::MakerNoteHeaderRefused:
            return "maker-note header refused: the maker notes do not hold a valid TIFF header of their own";
        case ReadingCause::MakerNoteDirectoryUnreadable:
            return "maker-note directory unreadable: it lies outside the file or is malformed";
        case ReadingCause::NoShutterCountEntry:
            return "maker notes present but without a ShutterCount entry (not every model records one)";
        case ReadingCause::EmptyShutterCount: return "the maker notes' ShutterCount entry is empty";
        case ReadingCause::MakerRecordsNone:
            if (outcome.maker == tiffwalker::Maker::Phone) return "phones record no shutter count in their files";
            return std::string(tiffwalker::makerName(outcome.maker)) +
                   " cameras record no shutter count in their files";
        case ReadingCause::ModelRecordsNone:
            return "this model (" + named(outcome) + ") records no shutter count in its files";
        case ReadingCause::UnknownModel:
            if (trimmed(outcome.model).empty()) {
                return "the file names no " + std::string(tiffwalker::makerName(outcome.maker)) +
                       " model, so where its count lies is not known";
            }
            return "the " + named(outcome) +
                   " is a model whose count Frametally does not know where to find, so it shows none rather "
                   "than a guess";
        case ReadingCause::DisplacedMakerNote:
            return "the maker-note data looks displaced (an editing program moved it without mending its "
                   "offsets): the count found there is implausible" +
                   written(software);
        case ReadingCause::MakerNoteLayoutUnknown:
            return "the maker notes begin in a way no " + std::string(tiffwalker::makerName(outcome.maker)) +
                   " maker note known to Frametally does";
        case ReadingCause::CountEntryMalformed:
            return "the maker notes' count entry is too short, or a value needed to read it is missing";
        case ReadingCause::RaisedError:
            return "the reading raised an error: " + oneLine(withLineBreaks(outcome.message));
    }
    return {};
}

}  // namespace frametally
