#pragma once
// One decoded directory entry, or one record of the reader's own: the entry as
// read, where it came from, and its value as raw bytes, value text and display
// text.
#include <cstdint>
#include <iosfwd>
#include <string>

#include <tiffwalker/export.h>
#include <tiffwalker/tiff_structures.h>

namespace tiffwalker {

class TIFFWALKER_API CTagRecord {
public:
    CTagRecord() = default;
    CTagRecord(const IFDENTRY& entry, int32_t ifdType);

    // The display text of valueText for this record's tag; stored in
    // displayStringData (and, for the Lens tag, the description in
    // lensStringData) and returned.
    const std::string& setDisplayStringData(const std::string& valueText);
    // The lens description of a Lens value text, stored in lensStringData.
    const std::string& makeLensString(const std::string& valueText);
    static std::string cutAfterPoint(const std::string& text, int n);
    static int getFocalCut(const std::string& text);

    // The diagnostic dump of every member.
    void dump(std::ostream& out) const;
    void dump() const;  // to the engine's output

    IFDENTRY ifde{0, 0, 0, 0};
    int32_t iIFDType = 0;
    int32_t lAdjustedOffset = 0;
    bool isWantedValue = false;
    bool isLessThanFourBytes = false;
    uint32_t ulTagWriteOffset = 0;
    uint32_t ulValueWriteOffset = 0;
    uint32_t ulMakerNoteHeaderOffset = 0;
    int32_t iFileType = 0;
    int32_t iImageType = 0;
    int32_t iASCILabelSkipLength = 0;
    int32_t lFileSize = 0;
    std::string programName;
    std::string programVersion;
    std::string programDate;
    std::string fileName;
    std::string stringData;
    std::string displayStringData;
    std::string rawData;
    std::string lensStringData;
};

}  // namespace tiffwalker
