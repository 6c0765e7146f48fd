#pragma once

#include <vector>

#include "storage/RecordTable.h"

namespace trawlix {

// The loaded rows of a table as the rest of the program sees them: the cache as it is,
// already decoded once by the load.
template <class Record>
std::vector<Record> HandOutRecords(const RecordTable<Record>& table) {
  return table.Records();
}

}  // namespace trawlix
