// The reader driver: recognises the file, finds IFD0, starts the walk and
// answers the shutter count, with the cause of a result without one.
#include "reading/image_reading.h"

#include <tiffwalker/field_types.h>
#include <tiffwalker/ifd_types.h>
#include <tiffwalker/tag_numbers.h>
#include <tiffwalker/tiffwalker_exception.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <ostream>

#include "container/container_finder.h"
#include "io/file_stream.h"
#include "name_tables.h"
#include "reading/original_jpeg_detection.h"
#include "text/text_format.h"
#include "walk/first_directory.h"
#include "walk/ifd_walker.h"
#include "walk/record_lookup.h"

namespace tiffwalker {

namespace {

constexpr const char* kProgramName = "tiffwalker";
constexpr const char* kProgramVersion = "1.00";
constexpr const char* kProgramDate = "Fri Jan  6 08:00:00 UTC 2006";

bool noExifMessageSuppressed(const ReadingState& state) {
    return state.isOptionOn(kQuietFailuresSwitch) || state.isOptionOn(kCountFailuresSwitch);
}

void writeNotReadable(ReadingState& state, const char* path) {
    if (!notReadableMessageSuppressed(state)) state.out() << "\nFile not readable: " << path << "\n\n";
}

CTagRecord makePseudoRecord(const ReadingState& state, uint16_t tag) {
    CTagRecord record(IFDENTRY{tag, kAscii, 0, 0}, kIfdSpecial);
    record.iImageType = tiffBaseOffset(state);
    record.ulMakerNoteHeaderOffset = state.makerNoteHeaderOffset;
    record.iFileType = state.fileKind;
    record.iASCILabelSkipLength = 8;
    return record;
}

void appendPseudoRecords(ReadingState& state, const char* path) {
    CTagRecord program = makePseudoRecord(state, tags::kProgramVersion);
    program.programName = kProgramName;
    program.programVersion = kProgramVersion;
    program.programDate = kProgramDate;
    state.records.push_back(std::move(program));

    CTagRecord fileName = makePseudoRecord(state, tags::kFileName);
    fileName.fileName = path;
    state.records.push_back(std::move(fileName));

    CTagRecord fileSize = makePseudoRecord(state, tags::kFileSize);
    fileSize.fileName = path;
    fileSize.lFileSize = state.fileSize;
    state.records.push_back(std::move(fileSize));
}

// Closes the file and empties the record list on every way out of a reading,
// a raised error included; hands the records over first when asked.
class ReadingScope {
public:
    ReadingScope(ReadingState& state, RecordList* recordsOut) : state_(state), recordsOut_(recordsOut) {
        if (recordsOut_ != nullptr) recordsOut_->clear();  // keeps its storage for the exchange
        state_.beginReading();
    }
    ~ReadingScope() {
        state_.file.close();
        prepareRecords(state_.records);
    }
    void handOverRecords() {
        if (recordsOut_ == nullptr) return;
        recordsOut_->clear();
        recordsOut_->swap(state_.records);
    }
    ReadingScope(const ReadingScope&) = delete;
    ReadingScope& operator=(const ReadingScope&) = delete;

private:
    ReadingState& state_;
    RecordList* recordsOut_;
};

const std::string& finish(ReadingState& state, ReadingStatus status, ReadingCause cause, const char* result) {
    state.outcome.status = status;
    state.outcome.cause = cause;
    state.outcome.result = result;
    state.resultText = result;
    return state.resultText;
}

// The text of the first record with this tag in this kind of directory.
std::string valueTextIn(const RecordList& records, uint16_t tag, int32_t directory) {
    for (const CTagRecord& record : records) {
        if (record.ifde.tag == tag && record.iIFDType == directory) return record.stringData;
    }
    return {};
}

// The result of a reading whose directories have been walked; with every
// maker's count read, standalone is the maker note that a container keeps as
// a TIFF structure of its own, if it has one.
const std::string& finishWalk(ReadingState& state, ReadingScope& scope, MakersRead makers,
                              const StandaloneMakerNote* standalone = nullptr) {
    const CTagRecord* make = findFirstRecord(state.records, tags::kMake);
    if (make != nullptr) state.outcome.make = make->displayStringData;
    state.outcome.software = valueTextIn(state.records, tags::kSoftware, kIfd0);
    readCount(state, makers, standalone);
    scope.handOverRecords();
    return state.resultText;
}

const std::string& finishWithoutExif(ReadingState& state, const char* path,
                                     ReadingCause cause = ReadingCause::NoExifSegment) {
    if (!noExifMessageSuppressed(state))
        state.out() << "\n"
                    << "No EXIF data found: " << path << "\n";
    if (state.isOptionOn(kCountFailuresSwitch)) --state.failureCounter;
    return finish(state, ReadingStatus::NoExif, cause, kNoExifData);
}

// A reading of the TIFF structures a container holds, each read through a
// window on the file that shows it as a TIFF file of its own. A maker note
// kept as a structure of its own (CR3's CMT3) goes to its maker's reader, not
// through the walk, whose maker-note directories are Nikon's.
const std::string& readContainer(ReadingState& state, const char* path, const container::ContainerFinding& found,
                                 ReadingScope& scope, MakersRead makers) {
    using container::TiffRole;
    if (found.structures.empty()) return finishWithoutExif(state, path, ReadingCause::NoExifInContainer);
    FileStream& file = state.file;
    state.fileKind = kFileKindTiff;
    state.layoutCode = kLayoutTiff;
    const bool trace = state.isTraceOn();
    if (trace) state.out() << "Listing of image file: " << path << "\n";
    state.fileSize = static_cast<int32_t>(std::min<int64_t>(file.size(), INT32_MAX));
    appendPseudoRecords(state, path);
    const container::TiffLocation* makerNote = nullptr;
    for (const container::TiffLocation& structure : found.structures) {
        file.openWindow(structure.offset, structure.length);
        TIFFHEADER header;
        header.read(file, state.order);
        if (trace) {
            state.out() << "TIFF structure found at byte " << structure.offset << " of the "
                        << container::containerName(found.kind) << " file, " << structure.length
                        << " bytes long: " << structure.label << "\n";
            header.print(state.out());
        }
        const auto ifd0 = static_cast<int32_t>(header.ifdofs);
        switch (structure.role) {
            case TiffRole::Main:
                state.structureOrder = state.order;
                dumpImageFileDirectory(state, file, ifd0, 0, "IFD0", kIfd0);
                break;
            case TiffRole::ExifDirectory: dumpImageFileDirectory(state, file, ifd0, 0, "EXIF", kIfdExif); break;
            case TiffRole::MakerNote: makerNote = &structure; break;
        }
    }
    if (makerNote == nullptr) return finishWalk(state, scope, makers);
    file.openWindow(makerNote->offset, makerNote->length);
    const StandaloneMakerNote standalone{0, file.size(), found.kind == container::ContainerKind::Cr3};
    return finishWalk(state, scope, makers, &standalone);
}

const std::string& readImageOnce(ReadingState& state, const char* path, ByteSource* source, RecordList* recordsOut,
                                 MakersRead makers) {
    ReadingScope scope(state, recordsOut);
    FileStream& file = state.file;

    if (source != nullptr) {
        file.open(*source);
    } else if (!file.open(path)) {
        writeNotReadable(state, path);
        state.outcome.systemError = file.openError();
        return finish(state, ReadingStatus::NotReadable, ReadingCause::OpenFailed, kNotReadable);
    }
    // Only a regular file has a length to read within; a directory or a device
    // is as unreadable as a missing file.
    if (!file.isRegularFile()) {
        writeNotReadable(state, path);
        return finish(state, ReadingStatus::NotReadable,
                      file.isFolder() ? ReadingCause::Folder : ReadingCause::NotRegularFile, kNotReadable);
    }

    // An empty file (a failed copy from a card, say) holds no image at all:
    // without this it would pass for a TIFF file without directories and be
    // answered "No Count", as if the camera had recorded no count.
    if (file.size() == 0) {
        writeNotReadable(state, path);
        return finish(state, ReadingStatus::NotReadable, ReadingCause::EmptyFile, kNotReadable);
    }

    TIFFHEADER header;
    header.read(file, state.order);
    // Every file type's reading looks in the containers for what the
    // original detection does not find: it keeps the files it reads.
    if (!header.isValid() && makers == MakersRead::Every && !hasOriginalJpegLayout(file)) {
        const container::ContainerFinding found = container::findTiffStructures(file.wholeFile());
        // A JPEG without an EXIF segment to read keeps the original
        // detection's answer and texts; the other containers are answered
        // here, with or without EXIF data.
        const bool answered = found.kind == container::ContainerKind::Jpeg
                                  ? !found.structures.empty()
                                  : found.kind != container::ContainerKind::Unknown;
        if (answered) return readContainer(state, path, found, scope, makers);
    }
    if (header.isValid()) {
        state.fileKind = kFileKindTiff;
        state.layoutCode = kLayoutTiff;
    } else if (!isJpegFile(file)) {
        writeNotReadable(state, path);
        if (state.isOptionOn(kCountFailuresSwitch)) --state.failureCounter;
        return finish(state, ReadingStatus::NotReadable, ReadingCause::NeitherTiffNorJpeg, kNotReadable);
    } else {
        state.fileKind = kFileKindJpeg;
        state.layoutCode = kLayoutJpegApp0First;
        if (!hasExifSegment(state, file)) return finishWithoutExif(state, path);
    }

    if (state.isTraceOn()) {
        state.out() << "Listing of image file: " << path << "\n";
        if (state.fileKind == kFileKindTiff) header.print(state.out());
    }

    state.fileSize = static_cast<int32_t>(std::min<int64_t>(file.size(), INT32_MAX));
    appendPseudoRecords(state, path);

    int32_t ifd0 = 0;
    if (state.fileKind == kFileKindTiff) {
        ifd0 = static_cast<int32_t>(header.ifdofs);
    } else {
        file.seek(0);
        ifd0 = findFirstIFD(state, file, FirstIfdMode::Jpeg);
        if (ifd0 == -1) return finish(state, ReadingStatus::NotReadable, ReadingCause::UnknownJpegLayout, kNotReadable);
    }

    // The byte order of the file's own TIFF structure, which the walk changes
    // on its way through Nikon's maker notes.
    state.structureOrder = state.order;
    dumpImageFileDirectory(state, file, ifd0, 0, "IFD0", kIfd0);
    return finishWalk(state, scope, makers);
}

// A reading that makes the wanted texts only writes to the held output, which
// goes on to the caller's stream when the reading stands (a raised error
// included) and is dropped when the reading is made again with every text.
class HeldOutput {
public:
    explicit HeldOutput(ReadingState& state) : state_(state), output_(state.output) {
        state_.heldOutput.str(std::string());
        state_.output = &state_.heldOutput;
        state_.wantedTextsOnly = true;
    }
    ~HeldOutput() {
        state_.output = output_;
        state_.wantedTextsOnly = false;
        if (!dropped_ && state_.heldOutput.tellp() > 0) *output_ << state_.heldOutput.str();
    }
    void drop() { dropped_ = true; }
    HeldOutput(const HeldOutput&) = delete;
    HeldOutput& operator=(const HeldOutput&) = delete;

private:
    ReadingState& state_;
    std::ostream* output_;
    bool dropped_ = false;
};

}  // namespace

// Most of a reading's work is the texts of its records; a caller that looks
// at a few of them has only theirs made, unless the reading gives that up.
const std::string& readImage(ReadingState& state, const char* path, ByteSource* source, RecordList* recordsOut,
                             MakersRead makers) {
    if (path == nullptr) path = "";
    state.everyKind = makers == MakersRead::Every;
    if (state.mayLeaveTextsOut()) {
        const int32_t failureCounter = state.failureCounter;
        HeldOutput held(state);
        try {
            return readImageOnce(state, path, source, recordsOut, makers);
        } catch (const EveryTextNeeded&) {
            held.drop();
            state.failureCounter = failureCounter;
        }
    }
    return readImageOnce(state, path, source, recordsOut, makers);
}

}  // namespace tiffwalker
