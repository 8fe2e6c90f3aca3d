#pragma once
// Every text a person is shown of one file, made once here so that the
// command line, both desktop dialogs and the page say the same thing in the
// same words. The texts keep the file's bytes: a front end that needs valid
// UTF-8 makes it so (shownAsUtf8), and the command line escapes for its
// terminal.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "readout.h"

namespace frametally {

struct ShownTexts {
    std::string result;  // the count, "Not Readable", "No EXIF data", "No Count"; "" for a raised error
    std::string camera;
    std::string serialNumber;
    std::string dateTaken;
    std::string lens;
    std::string reason;           // why there is no count; "" for a count
    std::string countKind;        // what the count counts, in words; "" without a count
    std::string mechanicalCount;  // the mechanical releases recorded beside the count; "" where none
    std::string ratedLife;        // the share of the rated life; "" where no rating is known
};

ShownTexts shownTextsOf(const Inspection& inspection);

// The date a picture was taken as it is shown: EXIF's "2025:01:10 10:10:00"
// as "2025-01-10 10:10:00" when it is a real date and time of day; nothing
// for a date the camera left blank (spaces and colons, "    :  :     :  :  ",
// or the zeros EXIF writes for an unknown date); any other text as the file
// has it, trimmed.
std::string dateShown(std::string_view exifDate);
// The same date and time for a machine, "2025-01-10T10:10:00" (local time, no
// zone), or "" where dateShown() gives no real date.
std::string dateTimeValue(std::string_view exifDate);

// Some bodies write their serial number as "NO= 3001234": the number alone.
std::string serialShown(std::string_view serialNumber);

// The words for what the count counts ("mechanical releases", ...), for a
// count of every maker; "" for a file without one.
std::string countKindShown(const Inspection& inspection);

// The mechanical releases as a number, where the body records them beside a
// count of another kind; "" otherwise.
std::string mechanicalCountShown(const Inspection& inspection);

// One camera body of a run, for the summary at its end: the highest count its
// files hold, what that count counts and the file that holds it.
struct BodySummary {
    std::string camera;
    std::string serialNumber;
    std::uint64_t highestCount = 0;
    tiffwalker::CountKind countKind = tiffwalker::CountKind::None;
    std::string path;
    std::size_t files = 0;
};

// "NIKON D70, serial 2012345", "NIKON D70 (no serial number)", "unknown
// camera, serial 12".
std::string bodyName(std::string_view camera, std::string_view serialNumber);
// "NIKON D70, serial 2012345: 3619, mechanical releases, in DSC_0001.NEF":
// the count always with what it counts, since the makers count different things.
std::string bodySummaryLine(const BodySummary& body);

}  // namespace frametally
