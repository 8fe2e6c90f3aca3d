#pragma once
// The record list: the records of the file being read, in the order the walk
// met them, preceded by the reader's three pseudo records. The operations
// below work on the engine-wide context's list, which is empty between
// readings.
#include <cstdint>
#include <string>
#include <vector>

#include "export.h"
#include "tag_record.h"

namespace tiffwalker {

using RecordList = std::vector<CTagRecord>;

TIFFWALKER_API void appendRecord(const CTagRecord& record);
TIFFWALKER_API void appendRecord(CTagRecord&& record);
TIFFWALKER_API void clearRecords();
TIFFWALKER_API size_t recordCount();

// displayStringData (or stringData) of the first record with this tag, from
// any directory; empty when there is none. Each lookup keeps its answer in a
// text of its own until its next call.
TIFFWALKER_API const std::string& getDisplayStringData(uint16_t tag);
TIFFWALKER_API const std::string& getStringData(uint16_t tag);

}  // namespace tiffwalker
