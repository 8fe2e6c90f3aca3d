#include "walk/reading_state.h"

#include <iostream>

#include "walk/record_lookup.h"

namespace tiffwalker {

ReadingState::ReadingState() : output(&std::cout) {}

void ReadingState::beginReading() {
    file.close();
    order = ByteOrder();
    structureOrder = ByteOrder();
    layoutCode = kLayoutJpegApp0First;
    fileKind = kFileKindJpeg;
    fileSize = 0;
    makerNoteHeaderOffset = 0;
    makeText.clear();
    modelText.clear();
    makeSeen = false;
    modelSeen = false;
    maker = Maker::Unknown;
    budget.reset();
    prepareRecords(records);
    resultText.clear();
    outcome = ReadingOutcome();
}

}  // namespace tiffwalker
