#pragma once

struct sqlite3;
struct sqlite3_stmt;

namespace trawlix {

// A forward-only result of one SELECT. Owns its compiled statement and finalises it when
// destroyed; must not outlive the connection that compiled it.
class DatabaseQuery {
 public:
  DatabaseQuery() = default;
  // Takes ownership of `statement`, which has already been stepped once.
  DatabaseQuery(sqlite3* connection, sqlite3_stmt* statement, bool atEnd);
  DatabaseQuery(DatabaseQuery&& other) noexcept;
  DatabaseQuery& operator=(DatabaseQuery&& other) noexcept;
  DatabaseQuery(const DatabaseQuery&) = delete;
  DatabaseQuery& operator=(const DatabaseQuery&) = delete;
  virtual ~DatabaseQuery();

  bool AtEnd() const;
  void NextRow();
  int ColumnCount() const;
  // The value as SQLite's text form; nullptr for NULL.
  const char* ColumnText(int column) const;
  const char* ColumnName(int column) const;
  void Finalize();

 private:
  void CheckStatement() const;
  void CheckColumn(int column) const;
  void FinalizeQuietly() noexcept;

  sqlite3* connection_ = nullptr;
  sqlite3_stmt* statement_ = nullptr;
  bool atEnd_ = true;
  int columnCount_ = 0;
  bool ownsStatement_ = false;
};

}  // namespace trawlix
