#include "plain_reason.h"

#include "no_count_reason.h"
#include "text_shape.h"

namespace frametally {

namespace {

using tiffwalker::ReadingCause;

constexpr const char* kDamagedNotes =
    "The camera's notes in this file are damaged, so the count cannot be read. Try another file from the same "
    "camera.";

constexpr const char* kNamesNoCamera = "The file does not say which camera took it, so no count can be read.";

// Maker notes gone: the program that saved the file last, when it was not the camera.
std::string notesMissing(const FileDetails& details) {
    std::string text = "The camera's own notes, where the count is kept, are not in this file";
    if (!details.software.empty() && !isCameraFirmware(details.software))
        text += ": it was saved by \"" + details.software + "\", and editing programs often leave them out";
    return text + ". Use a file straight from the camera's card.";
}

}  // namespace

std::string plainReason(const Inspection& inspection) {
    switch (inspection.cause) {
        case ReadingCause::None: return {};
        case ReadingCause::OpenFailed:
            return "The file could not be opened (it may have been moved, renamed or deleted).";
        case ReadingCause::Folder: return "This is a folder, not a picture file.";
        case ReadingCause::NotRegularFile: return "This is not an ordinary file.";
        case ReadingCause::EmptyFile:
            return "The file is empty: nothing was copied into it. Copy it from the card again.";
        case ReadingCause::NeitherTiffNorJpeg: return "This is not a picture file of a kind Frametally reads.";
        case ReadingCause::UnknownJpegLayout:
            return "This JPEG file is not laid out as cameras write them, so it holds no camera data that can be read.";
        case ReadingCause::NoExifSegment:
            return "This JPEG file holds no camera data at all: it was most likely saved by a program, not the "
                   "camera.";
        case ReadingCause::NoExifInContainer:
            return "This file holds no camera data where its kind of file keeps it: it may have been saved by a "
                   "program, not the camera, or be cut short.";
        case ReadingCause::NoDirectory: return "The file holds no picture data that can be read: it may be damaged.";
        case ReadingCause::NoMake: return kNamesNoCamera;
        case ReadingCause::UnknownMaker:
            return "The camera that took it (\"" + inspection.details.make +
                   "\") is of a maker whose files Frametally reads no count from.";
        case ReadingCause::MakeNotNikon:
            if (trimmed(inspection.details.make).empty()) {
                return "The file's camera name is blank, so it does not say which camera took it and no count can be "
                       "read.";
            }
            return "The camera that took it (\"" + inspection.details.make +
                   "\") does not record a shutter count in its files: Coolpix and other makers' cameras do not.";
        case ReadingCause::MakerRecordsNone:
            if (inspection.maker == tiffwalker::Maker::Phone)
                return "Phones do not record a shutter count in their files.";
            return std::string(tiffwalker::makerName(inspection.maker)) +
                   " cameras do not record a shutter count in their files.";
        case ReadingCause::ModelRecordsNone:
            return "This camera model (" + inspection.details.model + ") does not record a shutter count in its files.";
        case ReadingCause::UnknownModel:
            return "Frametally does not know where this camera model (" + inspection.details.model +
                   ") keeps its count, so it shows none rather than a guess.";
        case ReadingCause::DisplacedMakerNote:
            return "An editing program moved the camera's notes in this file without mending them, so the count "
                   "found there cannot be trusted. Use a file straight from the camera's card.";
        case ReadingCause::MakerNoteLayoutUnknown:
            return "The camera's notes in this file are in a form Frametally does not know, so the count cannot be "
                   "read.";
        case ReadingCause::CountEntryMalformed: return kDamagedNotes;
        case ReadingCause::NoExifDirectory:
        case ReadingCause::NoMakerNotes: return notesMissing(inspection.details);
        case ReadingCause::MakerNoteHeaderRefused:
        case ReadingCause::MakerNoteDirectoryUnreadable: return kDamagedNotes;
        case ReadingCause::NoShutterCountEntry:
            return "This camera model does not record a shutter count in its files.";
        case ReadingCause::EmptyShutterCount: return "The camera left the shutter count in this file empty.";
        case ReadingCause::RaisedError:
            return "The file is damaged where the camera's data should be, so it could not be read.";
    }
    return inspection.reason;
}

}  // namespace frametally
