#include <tiffwalker/tag_record.h>

#include <ostream>

#include "text/text_format.h"
#include "walk/display_text.h"

namespace tiffwalker {

CTagRecord::CTagRecord(const IFDENTRY& entry, int32_t ifdType) : ifde(entry), iIFDType(ifdType) {}

const std::string& CTagRecord::setDisplayStringData(const std::string& valueText) {
    displayStringData = displayTextFor(ifde.tag, valueText, lensStringData);
    return displayStringData;
}

const std::string& CTagRecord::makeLensString(const std::string& valueText) {
    lensStringData = lensDescription(valueText);
    return lensStringData;
}

std::string CTagRecord::cutAfterPoint(const std::string& text, int n) { return tiffwalker::cutAfterPoint(text, n); }

int CTagRecord::getFocalCut(const std::string& text) { return tiffwalker::getFocalCut(text); }

namespace {
std::string offsetField(uint32_t value) { return formatText("%d(0x%x)", static_cast<int32_t>(value), value); }
}  // namespace

void CTagRecord::dump(std::ostream& out) const {
    out << "\n\nData List Start:";
    out << "\nifde.tag               : " << formatText("%d(0x%x)", unsigned{ifde.tag}, unsigned{ifde.tag});
    out << "\nifde.type              : " << ifde.type;
    out << "\nifde.count             : " << ifde.count;
    out << "\nifde.valofs            : " << offsetField(ifde.valofs);
    out << "\nlAdjustedOffset        : " << offsetField(static_cast<uint32_t>(lAdjustedOffset));
    out << "\nulTagWriteOffset       : " << offsetField(ulTagWriteOffset);
    out << "\nulValueWriteOffset     : " << offsetField(ulValueWriteOffset);
    out << "\nulMakerNoteHeaderOffset: " << offsetField(ulMakerNoteHeaderOffset);
    out << "\nlFileSize              : " << offsetField(static_cast<uint32_t>(lFileSize));
    out << "\niIFDType               : " << iIFDType;
    out << "\nisWantedValue          : " << (isWantedValue ? 1 : 0);
    out << "\nisLessThanFourBytes    : " << (isLessThanFourBytes ? 1 : 0);
    out << "\niFileType              : " << iFileType;
    out << "\niImageType             : " << iImageType;
    out << "\niASCILabelSkipLength   : " << iASCILabelSkipLength;
    out << "\nprogramName            : " << programName;
    out << "\nprogramVersion         : " << programVersion;
    out << "\nprogramDate            : " << programDate;
    out << "\nfileName               : " << fileName;
    out << "\nstringData             : " << stringData;
    out << "\ndisplayStringData      : " << displayStringData;
    out << "\nrawData                : [";
    out.write(rawData.data(), static_cast<std::streamsize>(rawData.size()));
    out << "]";
    out << "\nData List End.\n";
}

}  // namespace tiffwalker
