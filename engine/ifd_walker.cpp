// The directory walker: one record per entry, depth first, descending through
// the pointer entries into sub-images, EXIF, the Nikon maker notes and the
// maker notes' thumbnail directory.
#include <algorithm>
#include <cctype>
#include <ostream>

#include "byte_order.h"
#include "file_stream.h"
#include "name_tables.h"
#include "reading_budget.h"
#include "reading_limits.h"
#include "tag_numbers.h"
#include "tiffwalker.h"

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
void printListing(const char* banner, const std::string& strType) {
    std::ostream& out = engineOutput();
    out << "\n"
        << "Size of List                = " << recordCount() << "\n";
    out << banner << strType;
    for (const CTagRecord& record : records()) {
        if (!readingBudget().spendListingBytes(listedBytes(record))) {
            out << kListingCut;
            break;
        }
        record.dump();
    }
}

void printProblemReport(int32_t offset, int32_t additional_offset, const std::string& strType, int32_t numType) {
    std::ostream& out = engineOutput();
    out << "\nThe following file has a problem with this data:\n";
    out << "\noffset: " << offset << "\nadditional_offset: " << additional_offset << "\nstrType: " << strType
        << "\nnumType: " << numType << "\n";
    out.flush();
}

// Sub-image directories beyond the fourth continue past the named IFD types,
// so that none of them is taken for EXIF, GPS, thumbnail or maker notes.
int32_t subIfdType(uint32_t index) {
    return index < 4 ? static_cast<int32_t>(kSubIfd0 + index) : static_cast<int32_t>(10 + index - 4);
}

bool modelHasMakerNoteThumbnail() {
    // Only the first ten characters decide: a Model text can be 64 KiB long,
    // and this test runs for every 0x0011 entry.
    std::string model = getDisplayStringData(tags::kModel).substr(0, 10);
    std::transform(model.begin(), model.end(), model.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return model.starts_with("NIKON D100") || model.starts_with("NIKON D2H");
}

void walkThumbnailDirectory(FileStream& file, const IFDENTRY& entry) {
    const bool bigEndian = isBigEndian();
    const int64_t position = file.tell();
    const uint32_t header = engineState().makerNoteHeaderOffset;
    const bool trace = isTraceOn();
    if (trace)
        engineOutput() << "\n================Starting ThumbnailImageIFDOffset================"
                       << "\n";
    dumpImageFileDirectory(file, addOffsets(header, entry.valofs), static_cast<int32_t>(header), "THUMB_IFD",
                           kThumbIfd);
    if (trace) {
        engineOutput() << "\n=================Ending ThumbnailImageIFDOffset================="
                       << "\n"
                       << "\n"
                       << "Resuming: "
                       << "THUMB_IFD"
                       << "\n";
    }
    file.seek(position);
    setBigEndian(bigEndian);
}

void walkSubDirectories(FileStream& file, const IFDENTRY& entry, const std::string& strType) {
    const int64_t position = file.tell();
    const bool trace = isTraceOn();
    std::ostream& out = engineOutput();
    const uint32_t product = static_cast<uint32_t>(getTypeSize(entry.type)) * entry.count;
    if (product <= 4) {
        if (trace)
            out << "\n"
                << "================Starting SUB_IFD0"
                << "================"
                << "\n";
        dumpImageFileDirectory(file, static_cast<int32_t>(entry.valofs), 0, "SUB_IFD0", kSubIfd0);
        if (trace)
            out << "\n"
                << "================Ending SUB_IFD0"
                << "================="
                << "\n";
    } else {
        // The list can hold no more offsets than the file has room for.
        const int64_t listStart = entry.valofs;
        const int64_t room = listStart < file.size() ? (file.size() - listStart) / 4 : 0;
        const uint32_t count = static_cast<uint32_t>(std::min<int64_t>(entry.count, room));
        file.seek(listStart);
        // Offsets may repeat, or name directories met before: the reading's
        // directory requests bound the loop as well as its walks.
        const ReadingBudget& budget = readingBudget();
        for (uint32_t j = 0; j < count && budget.canWalkMoreDirectories() && budget.canRequestDirectory(); ++j) {
            unsigned char bytes[4] = {};
            file.read(bytes, sizeof bytes);
            const auto offset = static_cast<int32_t>(get32(bytes));
            const std::string label = "SUB_IFD" + std::to_string(j);
            if (trace)
                out << "\n"
                    << "================Starting SUB_IFD" << j << "================"
                    << "\n";
            dumpImageFileDirectory(file, offset, 0, label, subIfdType(j));
            if (trace)
                out << "\n"
                    << "================Ending SUB_IFD" << j << "================="
                    << "\n";
        }
    }
    if (trace)
        out << "\n"
            << "Resuming: " << strType << "\n";
    file.seek(position);
}

void walkMakerNotes(FileStream& file, const std::string& strType) {
    if (getDisplayStringData(tags::kMake).compare(0, 17, "NIKON CORPORATION") != 0) return;
    const bool bigEndian = isBigEndian();
    const int64_t position = file.tell();
    const uint32_t header = engineState().makerNoteHeaderOffset;
    const bool trace = isTraceOn();
    file.seek(static_cast<int32_t>(header));
    if (trace)
        engineOutput() << "\n================Starting MAKER_NOTES================"
                       << "\n";
    const int32_t first = findFirstIFD(file, FirstIfdMode::Tiff);
    if (first != -1) {
        dumpImageFileDirectory(file, addOffsets(header, static_cast<uint32_t>(first)), 0, "MAKER_NOTES", kMakerNotes);
    }
    if (trace) {
        engineOutput() << "\n=================Ending MAKER_NOTES================="
                       << "\n"
                       << "\n"
                       << "Resuming: " << strType << "\n";
    }
    file.seek(position);
    setBigEndian(bigEndian);
}

void walkExifDirectory(FileStream& file, const IFDENTRY& entry) {
    const int64_t position = file.tell();
    const bool trace = isTraceOn();
    if (trace)
        engineOutput() << "\n================Starting EXIF================"
                       << "\n";
    dumpImageFileDirectory(file, addOffsets(static_cast<uint32_t>(getTiffBaseOffset()), entry.valofs), 0, "EXIF",
                           kIfdExif);
    if (trace) {
        engineOutput() << "\n=================Ending EXIF================="
                       << "\n"
                       << "\n"
                       << "Resuming: "
                       << "EXIF"
                       << "\n";
    }
    file.seek(position);
}

void descend(FileStream& file, const IFDENTRY& entry, const std::string& strType) {
    switch (entry.tag) {
        case tags::kThumbnailImageIfdOffset:
            if (modelHasMakerNoteThumbnail()) walkThumbnailDirectory(file, entry);
            break;
        case tags::kSubIfdOffsets: walkSubDirectories(file, entry, strType); break;
        case tags::kMakerNoteOffset: walkMakerNotes(file, strType); break;
        case tags::kExifOffset: walkExifDirectory(file, entry); break;
        default: break;
    }
}

void traceEntryRecord(const CTagRecord& record, const std::string& strType) {
    std::ostream& out = engineOutput();
    if (record.ifde.tag != tags::kExposureBracketValue) {
        // Repeated for every entry, so these count against the listing bytes too.
        const std::string& raw = getStringData(tags::kExposureBracketValue);
        const std::string& converted = getDisplayStringData(tags::kExposureBracketValue);
        if (readingBudget().spendListingBytes(raw.size() + converted.size())) {
            out << "\nExposureBracketValue (0x19) Raw      : " << raw;
            out << "\nExposureBracketValue (0x19) Converted: " << converted;
        } else {
            out << kListingCut;
        }
    }
    out << "\nJust set data, just before list insert: " << strType;
    record.dump();
}

// Keeps the walk's depth count right on every way out of a directory.
class DirectoryScope {
public:
    DirectoryScope() = default;
    ~DirectoryScope() {
        if (entered_) readingBudget().leaveDirectory();
    }
    bool enter(int64_t position) { return entered_ = readingBudget().enterDirectory(position); }
    DirectoryScope(const DirectoryScope&) = delete;
    DirectoryScope& operator=(const DirectoryScope&) = delete;

private:
    bool entered_ = false;
};

}  // namespace

int32_t dumpImageFileDirectory(FileStream& file, int32_t offset, int32_t additional_offset, const std::string& strType,
                               int32_t numType) {
    // Every call is a request for a directory, an empty or refused one too;
    // past the reading's budget of them the walker answers at once.
    if (!readingBudget().requestDirectory()) {
        if (offset == 0) return 0;
        if (isOptionOn(kProblemReportSwitch)) printProblemReport(offset, additional_offset, strType, numType);
        return -1;
    }
    const int64_t startPosition = file.tell();
    const bool trace = isTraceOn();
    DirectoryScope scope;
    if (offset != 0) {
        if (trace && recordCount() > 0) printListing("\nEntering dumpImageFileDirectory: ", strType);

        // A directory met before (a loop), nested too deep, or beyond the
        // reading's directory budget is refused like an oversized one.
        bool refused = !scope.enter(offset);
        uint32_t count = 0;
        if (!refused) {
            file.seek(offset);
            unsigned char countBytes[2];
            // A count that cannot be read leaves the directory empty.
            if (file.read(countBytes, sizeof countBytes) == sizeof countBytes) count = get16(countBytes);
            refused = count > limits::kMaxEntriesPerDirectory;
        }
        if (refused) {
            if (isOptionOn(kProblemReportSwitch)) printProblemReport(offset, additional_offset, strType, numType);
            file.seek(startPosition);
            return -1;
        }

        if (trace)
            engineOutput() << "\n"
                           << "IFD at Offset " << offset << " has " << count << " Entries.....\n";

        for (uint32_t i = 0; i < count; ++i) {
            IFDENTRY entry{};
            entry.read(file);
            if (trace) {
                engineOutput() << "\n";
                entry.print();
            }
            EngineState& state = engineState();
            if (entry.tag == tags::kMakerNoteOffset) {
                state.makerNoteHeaderOffset = static_cast<uint32_t>(getTiffBaseOffset()) + entry.valofs + 10;
            }
            // The record is made in its place at the end of the list, where a
            // copy would otherwise go: nothing looks at the list while its
            // value is read, and no reading makes a record only to drop it.
            CTagRecord& record = appendNewRecord(entry, numType);
            record.ulValueWriteOffset = entry.valofs;
            record.ulMakerNoteHeaderOffset = state.makerNoteHeaderOffset;
            record.iFileType = state.fileKind;
            record.iImageType = getTiffBaseOffset();
            record.iASCILabelSkipLength = 8;
            setData(record, file);
            if (trace) traceEntryRecord(record, strType);
            descend(file, entry, strType);  // appends further records: `record` is not used after this
        }
    }
    if (trace) printListing("\nExiting dumpImageFileDirectory: ", strType);
    file.seek(startPosition);
    return 0;
}

}  // namespace tiffwalker
