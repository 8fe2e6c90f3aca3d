// The reader driver: recognises the file, finds IFD0, starts the walk and
// answers the shutter count.
#include "tiffwalker.h"

#include <climits>
#include <cstring>
#include <ostream>

#include "byte_order.h"
#include "file_stream.h"
#include "name_tables.h"
#include "reading_budget.h"
#include "tag_numbers.h"
#include "text_format.h"

namespace tiffwalker {

namespace {

constexpr const char* kProgramName = "tiffwalker";
constexpr const char* kProgramVersion = "1.00";
constexpr const char* kProgramDate = "Fri Jan  6 08:00:00 UTC 2006";

bool notReadableMessageSuppressed() { return isOptionOn(2) || isOptionOn(3) || isOptionOn(6) || isOptionOn(7); }

bool noExifMessageSuppressed() { return isOptionOn(6) || isOptionOn(7); }

void writeNotReadable(const char* path) {
    if (!notReadableMessageSuppressed()) engineOutput() << "\nFile not readable: " << path << "\n\n";
}

bool isTiffMark(const unsigned char* mark) {
    return (mark[0] == 'I' && mark[1] == 'I') || (mark[0] == 'M' && mark[1] == 'M');
}

CTagRecord makePseudoRecord(uint16_t tag) {
    CTagRecord record(IFDENTRY{tag, 2, 0, 0}, kIfdSpecial);
    const EngineState& state = engineState();
    record.iImageType = getTiffBaseOffset();
    record.ulMakerNoteHeaderOffset = state.makerNoteHeaderOffset;
    record.iFileType = state.fileKind;
    record.iASCILabelSkipLength = 8;
    return record;
}

void appendPseudoRecords(const char* path) {
    CTagRecord program = makePseudoRecord(tags::kProgramVersion);
    program.programName = kProgramName;
    program.programVersion = kProgramVersion;
    program.programDate = kProgramDate;
    appendRecord(std::move(program));

    CTagRecord fileName = makePseudoRecord(tags::kFileName);
    fileName.fileName = path;
    appendRecord(std::move(fileName));

    CTagRecord fileSize = makePseudoRecord(tags::kFileSize);
    fileSize.fileName = path;
    fileSize.lFileSize = engineState().fileSize;
    appendRecord(std::move(fileSize));
}

// Closes the file and empties the main record list on every way out of a
// reading, a raised error included; hands the records over first when asked.
class ReadingScope {
public:
    ReadingScope(FileStream& file, RecordList* recordsOut) : file_(file), recordsOut_(recordsOut) {
        if (recordsOut_ != nullptr) recordsOut_->clear();  // keeps its storage for the exchange
        clearRecords();
        readingBudget().reset();
    }
    ~ReadingScope() {
        file_.close();
        clearRecords();
    }
    void handOverRecords() {
        if (recordsOut_ != nullptr) takeRecords(*recordsOut_);
    }
    ReadingScope(const ReadingScope&) = delete;
    ReadingScope& operator=(const ReadingScope&) = delete;

private:
    FileStream& file_;
    RecordList* recordsOut_;
};

const std::string& readImage(const char* path, RecordList* recordsOut) {
    EngineState& state = engineState();
    state.resultText.clear();
    if (path == nullptr) path = "";

    FileStream file;
    ReadingScope scope(file, recordsOut);
    // Only a regular file has a length to read within; a directory or a device
    // is as unreadable as a missing file.
    if (!file.open(path) || !file.isRegularFile()) {
        writeNotReadable(path);
        state.resultText = kNotReadable;
        return state.resultText;
    }

    TIFFHEADER header;
    header.read(file);
    if (header.isValid()) {
        state.fileKind = kFileKindTiff;
        state.layoutCode = kLayoutTiff;
    } else if (!isJpegFile(file)) {
        writeNotReadable(path);
        if (isOptionOn(7)) --state.failureCounter;
        state.resultText = kNotReadable;
        return state.resultText;
    } else {
        state.fileKind = kFileKindJpeg;
        state.layoutCode = kLayoutJpegApp0First;
        if (!hasExifSegment(file)) {
            if (!noExifMessageSuppressed())
                engineOutput() << "\n"
                               << "No EXIF data found: " << path << "\n";
            if (isOptionOn(7)) --state.failureCounter;
            state.resultText = kNoExifData;
            return state.resultText;
        }
    }

    if (isTraceOn()) {
        engineOutput() << "Listing of image file: " << path << "\n";
        if (state.fileKind == kFileKindTiff) header.print();
    }

    state.fileSize = static_cast<int32_t>(std::min<int64_t>(file.size(), INT32_MAX));
    appendPseudoRecords(path);

    int32_t ifd0 = 0;
    if (state.fileKind == kFileKindTiff) {
        ifd0 = static_cast<int32_t>(header.ifdofs);
    } else {
        file.seek(0);
        ifd0 = findFirstIFD(file, FirstIfdMode::Jpeg);
        if (ifd0 == -1) {
            state.resultText = kNotReadable;
            return state.resultText;
        }
    }

    dumpImageFileDirectory(file, ifd0, 0, "IFD0", kIfd0);

    state.resultText = getDisplayStringData(kShutterCountTag);
    if (state.resultText.empty()) state.resultText = kNoCount;
    scope.handOverRecords();
    return state.resultText;
}

}  // namespace

const std::string& getImageShutterCount(const char* path) { return readImage(path, nullptr); }

const std::string& readImageRecords(const char* path, RecordList& recordsOut) { return readImage(path, &recordsOut); }

int32_t getTiffBaseOffset() {
    switch (engineState().layoutCode) {
        case kLayoutJpegApp0First: return 30;
        case kLayoutJpegApp1First: return 12;
        case kLayoutTiff: return 0;
        default: return -1;
    }
}

bool isJpegFile(FileStream& file) {
    const int64_t position = file.tell();
    file.seek(0);
    unsigned char marker[2] = {};
    file.read(marker, sizeof marker);
    file.seek(position);
    return marker[0] == 0xFF && marker[1] == 0xD8;
}

bool hasExifSegment(FileStream& file) {
    const int64_t position = file.tell();
    file.seek(2);
    bool found = false;
    for (;;) {
        unsigned char segment[10] = {};
        const size_t got = file.read(segment, sizeof segment);
        if (std::memcmp(segment + 4, "Exif\0", 5) == 0) {
            found = true;
            break;
        }
        // The end of the file, or a length too short to move the search
        // forward, ends it: there is no EXIF segment to find.
        const uint16_t length = get16(segment + 2);
        if (got < sizeof segment || length < 8) break;
        file.seekRelative(length - 8);
        if (segment[1] == 0xDA || file.tell() >= file.size()) break;
    }
    file.seek(position);
    return found;
}

int32_t findFirstIFD(FileStream& file, FirstIfdMode mode) {
    if (mode == FirstIfdMode::Tiff) {
        unsigned char header[8];
        if (file.read(header, sizeof header) < sizeof header) return -1;
        setByteOrderFromMark(header);
        if (isTiffMark(header) && get16(header + 2) == 42) return static_cast<int32_t>(get32(header + 4));
        engineOutput() << "\nFile type is not NEF/Nikon RAW\n\n";
        return -1;
    }

    unsigned char start[4];
    if (file.read(start, sizeof start) < sizeof start) return 0;
    if (start[0] != 0xFF || start[1] != 0xD8 || start[2] != 0xFF) return -1;
    file.seek(0);
    if (start[3] == 0xE0) {
        engineState().layoutCode = kLayoutJpegApp0First;
        file.seek(18);
    } else if (start[3] == 0xE1) {
        engineState().layoutCode = kLayoutJpegApp1First;
    } else {
        if (!notReadableMessageSuppressed()) {
            engineOutput() << "\n" << formatText("Fourth byte is unknown: %x", unsigned{start[3]}) << "\n";
        }
        return -1;
    }
    return readExifHeader(file, getTiffBaseOffset());
}

int32_t readExifHeader(FileStream& file, int32_t base) {
    unsigned char block[20] = {};
    if (file.read(block, sizeof block) < sizeof block) {
        reportFileError(file);
        return 0;
    }
    if (std::memcmp(block + 6, "Exif\0", 5) != 0) reportNotJpeg("EXIF header text incorrect");
    setByteOrderFromMark(block + 12);
    if (!isTiffMark(block + 12) || get16(block + 14) != 42) {
        throwTiffwalkerException("File type is not Nikon JPG");
    }
    return static_cast<int32_t>(static_cast<uint32_t>(base) + get32(block + 16));
}

}  // namespace tiffwalker
