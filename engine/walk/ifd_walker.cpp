// The directory walker: one record per entry, depth first, descending through
// the pointer entries into sub-images, EXIF, the Nikon maker notes and the
// maker notes' thumbnail directory.
#include "walk/ifd_walker.h"

#include <tiffwalker/tag_numbers.h>

#include <algorithm>
#include <cctype>
#include <ostream>

#include "io/file_stream.h"
#include "makernote/maker_note_layouts.h"
#include "name_tables.h"
#include "walk/camera_identity.h"
#include "walk/first_directory.h"
#include "walk/reading_limits.h"
#include "walk/record_lookup.h"
#include "walk/value_extraction.h"

namespace tiffwalker {

namespace {

// Positions are 32-bit in the file format; offsets add up with 32-bit wrap.
int32_t addOffsets(uint32_t a, uint32_t b) { return static_cast<int32_t>(a + b); }

// What a record's dump costs of the reading's listing bytes: its texts and raw
// bytes, and a kilobyte for the labels.
size_t listedBytes(const CTagRecord& record) {
    return 1024 + record.rawData.size() + record.stringData.size() + record.displayStringData.size() +
           record.fileName.size();
}

constexpr const char* kListingCut = "\n(listing cut short: the listings of this file have reached their size limit)\n";

// The whole record list, on entering and leaving a directory. A listing only
// dumps the records that the reading's listing bytes still cover.
void printListing(ReadingState& state, const char* banner, const std::string& strType) {
    std::ostream& out = state.out();
    out << "\n"
        << "Size of List                = " << state.records.size() << "\n";
    out << banner << strType;
    for (const CTagRecord& record : state.records) {
        if (!state.budget.spendListingBytes(listedBytes(record))) {
            out << kListingCut;
            break;
        }
        record.dump(out);
    }
}

void printProblemReport(ReadingState& state, int32_t offset, int32_t additional_offset, const std::string& strType,
                        int32_t numType) {
    std::ostream& out = state.out();
    out << "\nThe following file has a problem with this data:\n";
    out << "\noffset: " << offset << "\nadditional_offset: " << additional_offset << "\nstrType: " << strType
        << "\nnumType: " << numType << "\n";
    out.flush();
}

// A walk into the directories below an entry, from its start banner to its
// end: the file position (and, where the walk reads a header of its own, the
// byte order) is put back on the way out, and the trace shows where the walk
// went in, came out and resumed.
class Descent {
public:
    // name: the banners' name (none without); resume: the directory the walk
    // goes back to (no line without).
    Descent(ReadingState& state, FileStream& file, const char* name, std::string resume, bool restoresByteOrder)
        : state_(state),
          file_(file),
          name_(name),
          resume_(std::move(resume)),
          position_(file.tell()),
          order_(state.order),
          restoresByteOrder_(restoresByteOrder) {
        if (state_.isTraceOn() && name_ != nullptr) {
            state_.out() << "\n================Starting " << name_ << "================"
                         << "\n";
        }
    }
    ~Descent() {
        if (state_.isTraceOn()) {
            if (name_ != nullptr)
                state_.out() << "\n=================Ending " << name_ << "================="
                             << "\n";
            if (!resume_.empty())
                state_.out() << "\n"
                             << "Resuming: " << resume_ << "\n";
        }
        file_.seek(position_);
        if (restoresByteOrder_) state_.order = order_;
    }
    Descent(const Descent&) = delete;
    Descent& operator=(const Descent&) = delete;

private:
    ReadingState& state_;
    FileStream& file_;
    const char* name_;
    std::string resume_;
    int64_t position_;
    ByteOrder order_;
    bool restoresByteOrder_;
};

bool modelHasMakerNoteThumbnail(ReadingState& state) {
    // Only the first ten characters decide: a Model text can be 64 KiB long,
    // and this test runs for every 0x0011 entry.
    const CTagRecord* record = findFirstRecord(state.records, tags::kModel);
    std::string model = record != nullptr ? record->displayStringData.substr(0, 10) : std::string();
    std::transform(model.begin(), model.end(), model.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return model.starts_with("NIKON D100") || model.starts_with("NIKON D2H");
}

void walkThumbnailDirectory(ReadingState& state, FileStream& file, const IFDENTRY& entry) {
    const Descent descent(state, file, "ThumbnailImageIFDOffset", "THUMB_IFD", true);
    const uint32_t header = state.makerNoteHeaderOffset;
    dumpImageFileDirectory(state, file, addOffsets(header, entry.valofs), static_cast<int32_t>(header), "THUMB_IFD",
                           kThumbIfd);
}

// Sub-image directories beyond the fourth continue past the named IFD types.
int32_t subIfdType(uint32_t index) {
    return index < 4 ? static_cast<int32_t>(kSubIfd0 + index) : static_cast<int32_t>(kSubIfd4 + index - 4);
}

void walkSubDirectory(ReadingState& state, FileStream& file, int32_t offset, uint32_t index) {
    const bool trace = state.isTraceOn();
    std::ostream& out = state.out();
    if (trace)
        out << "\n"
            << "================Starting SUB_IFD" << index << "================"
            << "\n";
    dumpImageFileDirectory(state, file, offset, 0, "SUB_IFD" + std::to_string(index), subIfdType(index));
    if (trace)
        out << "\n"
            << "================Ending SUB_IFD" << index << "================="
            << "\n";
}

void walkSubDirectories(ReadingState& state, FileStream& file, const IFDENTRY& entry, const std::string& strType) {
    const Descent descent(state, file, nullptr, strType, false);
    const uint32_t product = static_cast<uint32_t>(getTypeSize(entry.type)) * entry.count;
    if (product <= 4) {
        walkSubDirectory(state, file, static_cast<int32_t>(entry.valofs), 0);
        return;
    }
    // The list can hold no more offsets than the file has room for.
    const int64_t listStart = entry.valofs;
    const int64_t room = listStart < file.size() ? (file.size() - listStart) / 4 : 0;
    const auto count = static_cast<uint32_t>(std::min<int64_t>(entry.count, room));
    file.seek(listStart);
    // Offsets may repeat, or name directories met before: the reading's
    // directory requests bound the loop as well as its walks.
    const ReadingBudget& budget = state.budget;
    for (uint32_t j = 0; j < count && budget.canWalkMoreDirectories() && budget.canRequestDirectory(); ++j) {
        unsigned char bytes[4] = {};
        file.read(bytes, sizeof bytes);
        walkSubDirectory(state, file, static_cast<int32_t>(state.order.get32(bytes)), j);
    }
}

void walkMakerNotes(ReadingState& state, FileStream& file, const std::string& strType) {
    // The walk lists Nikon's maker notes only, as it always has; the count of
    // every maker, Nikon's too, is read from its maker note after the walk.
    if (state.maker != Maker::Nikon) return;
    const Descent descent(state, file, "MAKER_NOTES", strType, true);
    const uint32_t header = state.makerNoteHeaderOffset;
    file.seek(static_cast<int32_t>(header));
    const int32_t first = findFirstIFD(state, file, FirstIfdMode::Tiff);
    if (first == -1) return;
    dumpImageFileDirectory(state, file, addOffsets(header, static_cast<uint32_t>(first)), 0, "MAKER_NOTES",
                           kMakerNotes);
}

void walkExifDirectory(ReadingState& state, FileStream& file, const IFDENTRY& entry) {
    const Descent descent(state, file, "EXIF", "EXIF", false);
    dumpImageFileDirectory(state, file, addOffsets(static_cast<uint32_t>(tiffBaseOffset(state)), entry.valofs), 0,
                           "EXIF", kIfdExif);
}

void descend(ReadingState& state, FileStream& file, const IFDENTRY& entry, const std::string& strType) {
    switch (entry.tag) {
        case tags::kThumbnailImageIfdOffset:
            if (modelHasMakerNoteThumbnail(state)) walkThumbnailDirectory(state, file, entry);
            break;
        case tags::kSubIfdOffsets: walkSubDirectories(state, file, entry, strType); break;
        case tags::kMakerNoteOffset: walkMakerNotes(state, file, strType); break;
        case tags::kExifOffset: walkExifDirectory(state, file, entry); break;
        default: break;
    }
}

void traceEntryRecord(ReadingState& state, const CTagRecord& record, const std::string& strType) {
    std::ostream& out = state.out();
    if (record.ifde.tag != tags::kExposureBracketValue) {
        // Repeated for every entry, so these count against the listing bytes too.
        const std::string& raw = getStringData(state, tags::kExposureBracketValue);
        const std::string& converted = getDisplayStringData(state, tags::kExposureBracketValue);
        if (state.budget.spendListingBytes(raw.size() + converted.size())) {
            out << "\nExposureBracketValue (0x19) Raw      : " << raw;
            out << "\nExposureBracketValue (0x19) Converted: " << converted;
        } else {
            out << kListingCut;
        }
    }
    out << "\nJust set data, just before list insert: " << strType;
    record.dump(out);
}

// Keeps the walk's depth count right on every way out of a directory.
class DirectoryScope {
public:
    explicit DirectoryScope(ReadingBudget& budget) : budget_(budget) {}
    ~DirectoryScope() {
        if (entered_) budget_.leaveDirectory();
    }
    bool enter(int64_t position) { return entered_ = budget_.enterDirectory(position); }
    DirectoryScope(const DirectoryScope&) = delete;
    DirectoryScope& operator=(const DirectoryScope&) = delete;

private:
    ReadingBudget& budget_;
    bool entered_ = false;
};

}  // namespace

int32_t dumpImageFileDirectory(ReadingState& state, FileStream& file, int32_t offset, int32_t additional_offset,
                               const std::string& strType, int32_t numType) {
    // Every call is a request for a directory, an empty or refused one too;
    // past the reading's budget of them the walker answers at once.
    if (!state.budget.requestDirectory()) {
        if (offset == 0) return 0;
        if (state.isOptionOn(kProblemReportSwitch)) {
            printProblemReport(state, offset, additional_offset, strType, numType);
        }
        return -1;
    }
    const int64_t startPosition = file.tell();
    const bool trace = state.isTraceOn();
    DirectoryScope scope(state.budget);
    if (offset != 0) {
        if (trace && !state.records.empty()) printListing(state, "\nEntering dumpImageFileDirectory: ", strType);

        // A directory met before (a loop), nested too deep, or beyond the
        // reading's directory budget is refused like an oversized one.
        // Directories are told apart by their place in the whole file: the
        // TIFF structures of a container each count from their own header.
        bool refused = !scope.enter(file.origin() + offset);
        uint32_t count = 0;
        if (!refused) {
            file.seek(offset);
            unsigned char countBytes[2];
            // A count that cannot be read leaves the directory empty.
            if (file.read(countBytes, sizeof countBytes) == sizeof countBytes) count = state.order.get16(countBytes);
            refused = count > limits::kMaxEntriesPerDirectory;
        }
        if (refused) {
            if (state.isOptionOn(kProblemReportSwitch)) {
                printProblemReport(state, offset, additional_offset, strType, numType);
            }
            file.seek(startPosition);
            return -1;
        }

        if (trace)
            state.out() << "\n"
                        << "IFD at Offset " << offset << " has " << count << " Entries.....\n";

        for (uint32_t i = 0; i < count; ++i) {
            IFDENTRY entry{};
            entry.read(file, state.order);
            if (trace) {
                state.out() << "\n";
                entry.print(state.out());
            }
            if (entry.tag == tags::kMakerNoteOffset) {
                state.makerNoteHeaderOffset =
                    static_cast<uint32_t>(tiffBaseOffset(state)) + entry.valofs + makernote::kNikonEmbeddedHeaderAt;
            }
            // The record is made in its place at the end of the list, where a
            // copy would otherwise go: nothing looks at the list while its
            // value is read, and no reading makes a record only to drop it.
            CTagRecord& record = state.records.emplace_back(entry, numType);
            record.ulValueWriteOffset = entry.valofs;
            record.ulMakerNoteHeaderOffset = state.makerNoteHeaderOffset;
            record.iFileType = state.fileKind;
            record.iImageType = tiffBaseOffset(state);
            record.iASCILabelSkipLength = 8;
            setData(state, record, file);
            if (entry.tag == tags::kMake || entry.tag == tags::kModel) identifyCamera(state, record);
            if (trace) traceEntryRecord(state, record, strType);
            descend(state, file, entry, strType);  // appends further records: `record` is not used after this
        }
    }
    if (trace) printListing(state, "\nExiting dumpImageFileDirectory: ", strType);
    file.seek(startPosition);
    return 0;
}

}  // namespace tiffwalker
