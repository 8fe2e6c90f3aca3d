#include "walk/record_lookup.h"

#include "walk/reading_state.h"

namespace tiffwalker {

const CTagRecord* findFirstRecord(const RecordList& records, uint16_t tag) {
    for (const CTagRecord& record : records) {
        if (record.ifde.tag == tag) return &record;
    }
    return nullptr;
}

const std::string& getDisplayStringData(ReadingState& state, uint16_t tag) {
    const CTagRecord* record = findFirstRecord(state.records, tag);
    state.foundDisplayText = record != nullptr ? record->displayStringData : std::string();
    return state.foundDisplayText;
}

const std::string& getStringData(ReadingState& state, uint16_t tag) {
    const CTagRecord* record = findFirstRecord(state.records, tag);
    state.foundValueText = record != nullptr ? record->stringData : std::string();
    return state.foundValueText;
}

void prepareRecords(RecordList& list) {
    list.clear();
    // A camera file makes a few hundred records; room for them up front spares
    // the reading its reallocations.
    constexpr size_t kTypicalRecords = 256;
    if (list.capacity() < kTypicalRecords) list.reserve(kTypicalRecords);
}

}  // namespace tiffwalker
