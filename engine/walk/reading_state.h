#pragma once
// Everything one reading uses, in one object handed down through the driver,
// the walker and value extraction. The switches and the output stream are the
// caller's and last across readings; the rest is made anew by every reading.
#include <bitset>
#include <cstdint>
#include <iosfwd>
#include <sstream>
#include <string>

#include <tiffwalker/engine_options.h>
#include <tiffwalker/reading_outcome.h>
#include <tiffwalker/record_list.h>
#include "io/byte_order.h"
#include "io/file_stream.h"
#include "walk/reading_budget.h"

namespace tiffwalker {

// Layout codes of the file being read.
inline constexpr int32_t kLayoutJpegApp0First = 0;
inline constexpr int32_t kLayoutJpegApp1First = 1;
inline constexpr int32_t kLayoutTiff = 99;

// File kinds, as copied into every record.
inline constexpr int32_t kFileKindJpeg = 0;
inline constexpr int32_t kFileKindTiff = 1;

struct ReadingState {
    ReadingState();

    // The caller's: switches and where the engine writes.
    unsigned char options[kOptionCount] = {};
    std::ostream* output;
    bool isOptionOn(int option) const { return option >= 0 && option < kOptionCount && options[option] != 0; }
    bool isTraceOn() const { return options[kTraceSwitch] != 0; }
    std::ostream& out() const { return *output; }

    // Counts failures while kCountFailuresSwitch is on, across readings.
    int32_t failureCounter = 0;

    // The caller's: the tags whose texts it looks at (every tag when
    // everyText), and whether a reading may make only theirs.
    bool everyText = true;
    std::bitset<65536> wantedTags;
    bool mayLeaveTextsOut() const { return !everyText && !isTraceOn() && !isOptionOn(kProblemReportSwitch); }
    // Set while a reading makes texts only for the wanted tags and those the
    // reading acts on itself.
    bool wantedTextsOnly = false;
    bool isTextWanted(uint16_t tag) const { return !wantedTextsOnly || wantedTags.test(tag); }
    // What such a reading writes is held here until it is sure to stand.
    std::ostringstream heldOutput;

    // The reading's own, reset by beginReading().
    FileStream file;
    ByteOrder order;
    ByteOrder structureOrder;  // that of the file's TIFF structure
    int32_t layoutCode = kLayoutJpegApp0First;
    int32_t fileKind = kFileKindJpeg;
    int32_t fileSize = 0;
    uint32_t makerNoteHeaderOffset = 0;
    // The camera, as its first Make and Model entries name it (without their
    // padding), and its maker: decided by the maker-note registry as those
    // entries are read, for the walk and the count alike.
    std::string makeText;
    std::string modelText;
    bool makeSeen = false;
    bool modelSeen = false;
    Maker maker = Maker::Unknown;
    // The reading reads every file type and every maker's count
    // (ReadingContext::read); otherwise it is one of the context-free
    // operations, with their detection and their texts.
    bool everyKind = false;
    ReadingBudget budget;
    RecordList records;
    std::string resultText;
    ReadingOutcome outcome;
    // The answers of the two record lookups, each kept until its next call.
    std::string foundDisplayText;
    std::string foundValueText;

    void beginReading();
};

// Raised inside a reading that makes the wanted texts only once it can no
// longer be sure that its limits cut nothing short where a reading of every
// text would have been cut (only crafted files come near them); the reading
// is then made again with every text.
struct EveryTextNeeded {};

// Whether the "File not readable" texts are left out of the output.
inline bool notReadableMessageSuppressed(const ReadingState& state) {
    return state.isOptionOn(kQuietNotReadableSwitch) || state.isOptionOn(kQuietNotReadableSwitch2) ||
           state.isOptionOn(kQuietFailuresSwitch) || state.isOptionOn(kCountFailuresSwitch);
}

}  // namespace tiffwalker
