#pragma once

#include <string>
#include <vector>

#include "cli/JsonWriter.h"
#include "operations/Records.h"
#include "storage/RecordColumns.h"

namespace trawlix::cli {

// A row as a JSON object keyed by the table's column names, in the table's order.
template <class Record>
JsonObject RecordToJson(const Record& record) {
  JsonObject object;
  for (const auto& column : ColumnsOf<Record>()) {
    if (column.kind == ColumnKind::Text) {
      object.emplace_back(std::string(column.name), record.*column.text);
    } else {
      object.emplace_back(std::string(column.name), IntegerValue(record, column));
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
