#pragma once

#include <string>
#include <vector>

#include "cli/JsonWriter.h"
#include "storage/RecordColumns.h"
#include "storage/RecordTable.h"

namespace trawlix::cli {

// The loaded rows of a table as the rest of the program sees them (texts decoded twice).
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

// A row as a JSON object keyed by the table's column names, in the table's order.
template <class Record>
JsonObject RecordToJson(const Record& record) {
  JsonObject object;
  for (const auto& column : ColumnsOf<Record>()) {
    if (column.kind == ColumnKind::Integer) {
      object.emplace_back(std::string(column.name), std::int64_t{record.*column.integer});
    } else {
      object.emplace_back(std::string(column.name), record.*column.text);
    }
  }
  return object;
}

template <class Record>
void WriteRecordsJson(std::ostream& out, const std::vector<Record>& records) {
  std::vector<JsonObject> objects;
  objects.reserve(records.size());
  for (const auto& record : records) objects.push_back(RecordToJson(record));
  WriteJsonArray(out, objects);
}

}  // namespace trawlix::cli
