#pragma once
// The record list: the records of the file being read, in the order the walk
// met them, preceded by the reader's three pseudo records.
#include <vector>

#include <tiffwalker/export.h>
#include <tiffwalker/tag_record.h>

namespace tiffwalker {

using RecordList = std::vector<CTagRecord>;

}  // namespace tiffwalker
