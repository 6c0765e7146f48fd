#include <gtest/gtest.h>

#include <set>

#include "storage/RecordColumns.h"

namespace trawlix {
namespace {

template <class Record>
void ExpectEveryMemberMappedOnce(std::size_t expectedCount) {
  auto columns = ColumnsOf<Record>();
  ASSERT_EQ(columns.size(), expectedCount);
  std::set<std::string_view> names;
  for (const auto& column : columns) {
    EXPECT_TRUE(names.insert(column.name).second) << column.name;
    EXPECT_EQ(column.kind == ColumnKind::Integer, column.integer != nullptr) << column.name;
    EXPECT_EQ(column.kind == ColumnKind::BigInteger, column.bigInteger != nullptr) << column.name;
    EXPECT_EQ(column.kind == ColumnKind::Text, column.text != nullptr) << column.name;
    EXPECT_EQ(column.kind == ColumnKind::Flag, column.flag != nullptr) << column.name;
  }
  // Setting one column changes that column alone: no two columns share a member.
  const Record cleared;
  for (const auto& set : columns) {
    Record record;
    std::string error;
    ASSERT_TRUE(SetColumnFromText(record, set.name, "1", error)) << error;
    for (const auto& column : columns) {
      const bool changed = ColumnValueText(record, column) != ColumnValueText(cleared, column);
      EXPECT_EQ(changed, &column == &set) << set.name << " changed " << column.name;
    }
  }
}

TEST(RecordColumns, EveryRecordMemberHasExactlyOneColumn) {
  ExpectEveryMemberMappedOnce<ProjectsRecord>(48);
  ExpectEveryMemberMappedOnce<ProjectLinksRecord>(10);
  ExpectEveryMemberMappedOnce<ScanHistoryRecord>(16);
  ExpectEveryMemberMappedOnce<CategoriesRecord>(2);
}

TEST(RecordColumns, ClearedRecordsHoldMinusOneFlagsOffAndEmptyTexts) {
  ProjectsRecord record;
  record.padding = 3;
  record.title = "x";
  ClearRecord(record);
  for (const auto& column : kProjectsColumns) {
    const char* expected = column.kind == ColumnKind::Text   ? ""
                           : column.kind == ColumnKind::Flag ? "0"
                                                             : "-1";
    EXPECT_EQ(ColumnValueText(record, column), expected) << column.name;
  }
}

TEST(RecordColumns, SetFieldByNameChecksColumnAndValue) {
  struct Case {
    const char* column;
    const char* value;
    bool accepted;
  };
  const Case cases[] = {
      {"padding", "-7", true},      {"MinimumSize", "+350", true},
      {"Title", "It's 1.0", true},  {"Padding", "", false},
      {"Padding", "3x", false},     {"Padding", " 3", false},
      {"Padding", "+-3", false},    {"Padding", "99999999999", false},
      {"NoSuchColumn", "1", false}, {"JPEG", "1", true},
      {"JPEG", "0", true},          {"JPEG", "2", false},
      {"JPEG", "-1", false},        {"JPEG", "yes", false},
  };
  for (const auto& c : cases) {
    ProjectsRecord record;
    std::string error;
    EXPECT_EQ(SetColumnFromText(record, c.column, c.value, error), c.accepted)
        << c.column << "=" << c.value;
    if (!c.accepted) {
      EXPECT_FALSE(error.empty());
      EXPECT_EQ(record, ProjectsRecord{}) << "a refused value must leave the record alone";
    }
  }
  ProjectsRecord record;
  std::string error;
  EXPECT_FALSE(SetColumnFromText(record, "Bogus", "1", error));
  EXPECT_NE(error.find("Bogus"), std::string::npos);
}

}  // namespace
}  // namespace trawlix
