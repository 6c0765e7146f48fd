#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "storage/RecordColumns.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

namespace trawlix::testing {

// A record with every column but the id set to something distinct. Texts carry every
// character the database encoding replaces.
template <class Record>
Record Filled() {
  Record record;
  int n = 0;
  for (const auto& column : ColumnsOf<Record>()) {
    ++n;
    if (column.name == "Id") continue;
    if (column.integer != nullptr) record.*column.integer = n;
    if (column.bigInteger != nullptr) record.*column.bigInteger = n;
    if (column.flag != nullptr) record.*column.flag = n % 2 == 1;
    if (column.text != nullptr) {
      record.*column.text = std::string(column.name) + " it's a-b/c.d:(e),f & " + std::to_string(n);
    }
  }
  return record;
}

inline ProjectsRecord SampleProject(const std::string& title, int categoryId = 1) {
  ProjectsRecord record = Filled<ProjectsRecord>();
  record.catId = categoryId;
  record.title = title;
  return record;
}

// The ids of the records a table holds, in order.
template <class Table>
std::vector<int> Ids(const Table& table) {
  std::vector<int> ids;
  for (const auto& record : table.Records()) ids.push_back(record.id);
  return ids;
}

// A fresh database path and a recording message sink for each test.
class TableTest : public ::testing::Test {
 protected:
  std::string DbPath() const { return (dir / "Projects_v2.4.txdb").string(); }

  TempDir dir;
  RecordingMessageSink messages;
};

}  // namespace trawlix::testing
