#pragma once
// The record lookups of one reading.
#include <cstdint>
#include <string>

#include <tiffwalker/record_list.h>

namespace tiffwalker {

struct ReadingState;

const CTagRecord* findFirstRecord(const RecordList& records, uint16_t tag);
// displayStringData (or stringData) of the reading's first record with this
// tag; empty when there is none. Each keeps its answer in the reading's state
// until its next call.
const std::string& getDisplayStringData(ReadingState& state, uint16_t tag);
const std::string& getStringData(ReadingState& state, uint16_t tag);
// Empties the list, keeping room for a camera file's records.
void prepareRecords(RecordList& list);

}  // namespace tiffwalker
