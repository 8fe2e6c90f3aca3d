#pragma once
// What one reading came to, in a form a program can act on: the result text,
// its status, and the cause the reader found for a result without a count.
#include <string>

namespace tiffwalker {

enum class ReadingStatus {
    Count,        // the result is the shutter count
    NotReadable,  // "Not Readable"
    NoExif,       // "No EXIF data"
    NoCount,      // "No Count"
    Error,        // the reading raised an error; message says which
};

enum class ReadingCause {
    None,                          // a count
    OpenFailed,                    // systemError holds the system's error number
    Folder,                        // the path names a folder
    NotRegularFile,                // a device, pipe or socket
    EmptyFile,                     // a regular file of no bytes
    NeitherTiffNorJpeg,            // no TIFF header and no JPEG start-of-image marker
    UnknownJpegLayout,             // the JPEG's first segment is neither APP0 nor APP1
    NoExifSegment,                 // a JPEG file without an "Exif" segment
    NoDirectory,                   // no TIFF directory with an entry could be read
    NoMake,                        // no Make entry, so no maker notes are read
    MakeNotNikon,                  // make holds the Make text
    NoExifDirectory,               // software holds the Software text
    NoMakerNotes,                  // software holds the Software text
    MakerNoteHeaderRefused,        // the maker notes hold no valid TIFF header of their own
    MakerNoteDirectoryUnreadable,  // the maker-note directory lies outside the file or is malformed
    NoShutterCountEntry,           // maker notes read, without a ShutterCount entry
    EmptyShutterCount,             // a ShutterCount entry whose text is empty
    RaisedError,                   // message holds the error's text
};

struct ReadingOutcome {
    ReadingStatus status = ReadingStatus::NotReadable;
    ReadingCause cause = ReadingCause::None;
    std::string result;    // the result text; empty for a raised error
    std::string message;   // a raised error's message, as raised
    int systemError = 0;   // for OpenFailed
    std::string make;      // the Make entry's text, as read
    std::string software;  // the Software entry's text, as read
};

}  // namespace tiffwalker
