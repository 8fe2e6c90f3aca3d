#pragma once
// What one reading came to, in a form a program can act on: the result text,
// its status, the cause the reader found for a result without a count, and
// whose camera it is and what its count counts.
#include <cstdint>
#include <optional>
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
    MakeNotNikon,                  // make holds the Make text: empty, or "NIKON..." of a body without a count
    NoExifDirectory,               // software holds the Software text
    NoMakerNotes,                  // software holds the Software text
    MakerNoteHeaderRefused,        // the maker notes hold no valid TIFF header of their own
    MakerNoteDirectoryUnreadable,  // the maker-note directory lies outside the file or is malformed
    NoShutterCountEntry,           // maker notes read, without a ShutterCount entry
    EmptyShutterCount,             // a ShutterCount entry whose text is empty
    RaisedError,                   // message holds the error's text
    // Causes that only the reading of every maker's count (ReadingContext::read) gives:
    MakerRecordsNone,        // the maker (maker says which) records no count in its files
    ModelRecordsNone,        // this body (model) of a maker that records counts records none
    UnknownModel,            // a body (model) whose count's place is not known: no guess is made
    DisplacedMakerNote,      // the count read is implausible: an editing program moved the maker notes
    MakerNoteLayoutUnknown,  // the maker notes begin with a header of no known layout of the maker
    CountEntryMalformed,     // the entry that holds the count is too short, or a value it needs is missing
    NoExifInContainer,       // a HEIF, CR3 or RAF file without a TIFF structure where its container keeps one
    UnknownMaker,            // make holds the Make text, of a maker whose files Frametally reads no count from
};

// The makers whose files Frametally knows of. Those up to Fujifilm record a
// count; the others are known to record none.
enum class Maker { Unknown, Nikon, Sony, Pentax, Canon, Fujifilm, Olympus, Panasonic, Leica, Samsung, Phone };

// What a count counts.
enum class CountKind {
    None,                // no count
    MechanicalReleases,  // the shutter's mechanical releases over the body's life
    AllExposures,        // every exposure over the body's life, electronic-shutter ones included
    ImageCount,          // images taken; the camera may start it again (a firmware update)
    AllReleases,         // every release, electronic-shutter ones included, of a body that also
                         // records its mechanical releases apart (ReadingOutcome::mechanicalCount)
};

// "Nikon", "Sony", ...; "" for Unknown; "a phone maker" for Phone.
inline const char* makerName(Maker maker) {
    switch (maker) {
        case Maker::Unknown: return "";
        case Maker::Nikon: return "Nikon";
        case Maker::Sony: return "Sony";
        case Maker::Pentax: return "Pentax";
        case Maker::Canon: return "Canon";
        case Maker::Fujifilm: return "Fujifilm";
        case Maker::Olympus: return "Olympus";
        case Maker::Panasonic: return "Panasonic";
        case Maker::Leica: return "Leica";
        case Maker::Samsung: return "Samsung";
        case Maker::Phone: return "a phone maker";
    }
    return "";
}

struct ReadingOutcome {
    ReadingStatus status = ReadingStatus::NotReadable;
    ReadingCause cause = ReadingCause::None;
    std::string result;    // the result text; empty for a raised error
    std::string message;   // a raised error's message, as raised
    int systemError = 0;   // for OpenFailed
    std::string make;      // the Make entry's text, as read
    std::string software;  // the Software entry's text, as read
    // Filled in for every file whose directories were read: whose camera it is
    // (decided once per reading, by the maker-note registry), and what its
    // count counts.
    Maker maker = Maker::Unknown;           // from the Make (and Model) entries
    std::string model;                      // the Model entry's text, without padding
    CountKind countKind = CountKind::None;  // for a count
    // The shutter's mechanical releases, where the body records them beside the
    // count (the count then counts AllReleases); empty where none is recorded.
    std::optional<std::uint32_t> mechanicalCount;
};

// The result texts of readings without a count.
inline constexpr const char* kNotReadable = "Not Readable";
inline constexpr const char* kNoExifData = "No EXIF data";
inline constexpr const char* kNoCount = "No Count";

}  // namespace tiffwalker
