#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/MessageBox.h"
#include "storage/Database.h"

namespace trawlix {

class DatabaseError;

// What the four table classes share: the database path, the open flag, the cache of the
// last load with its current index, and the rule that no database exception leaves an
// operation. A failure is shown as "Code (%d): %s" and the operation returns its failure
// value.
template <class Record>
class RecordTable : public Database {
 public:
  // A copy of the current record as cached; false when there is none.
  bool GetCurrent(Record& record) const;
  // Index of the cached record with that id, or -1.
  int FindIndexById(int id) const;
  bool GetById(int id, Record& record) const;

  // The cache as loaded. Texts are decoded exactly once, here, and nowhere else.
  const std::vector<Record>& Records() const { return cache_; }
  int CurrentIndex() const { return currentIndex_; }
  void SetCurrentIndex(int index) { currentIndex_ = index; }
  bool IsTableOpen() const { return open_; }
  const std::string& Path() const { return path_; }

 protected:
  RecordTable(std::string path, MessageSink& messages, std::string_view tableName,
              std::string_view createStatement);

  // Opens the file and creates the table when it is missing.
  bool OpenTableImpl();
  // Replaces the cache with the rows of `sql`; false (and an empty cache) on failure.
  bool Load(const std::string& sql);
  // One statement through ExecuteUpdate: its changed-row count, or nullopt on failure.
  std::optional<int> Update(const std::string& sql);
  std::optional<int> Scalar(const std::string& sql);
  // Shapes the record's values into a statement: `format` takes, in column order, the
  // record's columns after Id (texts encoded), followed by `extra`.
  std::string FormatWithRecord(std::string_view format, const Record& record,
                               std::optional<int> extra = std::nullopt) const;
  void BeginTransaction();
  void CommitTransaction();
  void Report(const DatabaseError& error);

  static int& IdOf(Record& record);
  static int IdOf(const Record& record);
  static void DecodeTexts(Record& record);

  std::vector<Record> cache_;

 private:
  std::string path_;
  MessageSink& messages_;
  std::string_view tableName_;
  std::string_view createStatement_;
  int currentIndex_ = -1;
  bool open_ = false;
};

}  // namespace trawlix
