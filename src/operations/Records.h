#pragma once

#include <vector>

#include "storage/RecordTable.h"

namespace trawlix {

// The loaded rows of a table as the rest of the program sees them.
template <class Record>
std::vector<Record> HandOutRecords(CRecordTable<Record>& table) {
  std::vector<Record> records;
  const int count = static_cast<int>(table.Records().size());
  for (int i = 0; i < count; ++i) {
    table.SetCurrentIndex(i);
    Record record;
    if (table.GetCurrent(record)) records.push_back(std::move(record));
  }
  return records;
}

}  // namespace trawlix
