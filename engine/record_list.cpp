#include "record_list.h"

namespace tiffwalker {

namespace {

RecordList& mainRecordList() {
    static RecordList list;
    return list;
}

const CTagRecord* findFirst(uint16_t tag) {
    for (const CTagRecord& record : mainRecordList()) {
        if (record.ifde.tag == tag) return &record;
    }
    return nullptr;
}

}  // namespace

void appendRecord(const CTagRecord& record) { mainRecordList().push_back(record); }
void appendRecord(CTagRecord&& record) { mainRecordList().push_back(std::move(record)); }

CTagRecord& appendNewRecord(const IFDENTRY& entry, int32_t ifdType) {
    return mainRecordList().emplace_back(entry, ifdType);
}

void clearRecords() {
    RecordList& list = mainRecordList();
    list.clear();
    // A camera file makes a few hundred records; room for them up front spares
    // the reading its reallocations.
    constexpr size_t kTypicalRecords = 256;
    if (list.capacity() < kTypicalRecords) list.reserve(kTypicalRecords);
}

size_t recordCount() { return mainRecordList().size(); }

const RecordList& records() { return mainRecordList(); }

void takeRecords(RecordList& out) {
    out.clear();
    out.swap(mainRecordList());
}

const std::string& getDisplayStringData(uint16_t tag) {
    static std::string result;
    const CTagRecord* record = findFirst(tag);
    result = record != nullptr ? record->displayStringData : std::string();
    return result;
}

const std::string& getStringData(uint16_t tag) {
    static std::string result;
    const CTagRecord* record = findFirst(tag);
    result = record != nullptr ? record->stringData : std::string();
    return result;
}

}  // namespace tiffwalker
