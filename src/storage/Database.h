#pragma once

#include <cstdint>
#include <string>

#include "storage/DatabaseQuery.h"

struct sqlite3;

namespace trawlix {

// One connection to an SQLite database file. Every failure raises DatabaseError.
class Database {
 public:
  Database() = default;
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  virtual ~Database();

  // Opens or creates the file, then applies the busy time-out.
  void Open(const std::string& path);
  void Close();
  bool IsOpen() const { return connection_ != nullptr; }

  // 0 or less removes the busy handler.
  void SetBusyTimeout(int milliseconds);

  // Runs every statement of the text; the rows changed by the last one.
  int ExecuteUpdate(const std::string& sql);
  // Positioned on the first row, or at the end when there is none.
  DatabaseQuery ExecuteQuery(const std::string& sql);
  // The first column of the first row as a whole number (non-numeric text gives 0).
  int ExecuteScalar(const std::string& sql);
  // For the fixed table names of this program only: the name goes into the SQL as is.
  bool TableExists(const std::string& table);

  static constexpr int kDefaultBusyTimeoutMs = 60000;

 protected:
  // For statements with bound values; null until opened.
  sqlite3* Connection() const { return connection_; }

 private:
  void CheckOpen() const;

  sqlite3* connection_ = nullptr;
  int busyTimeoutMs_ = kDefaultBusyTimeoutMs;
};

// Empty when the file opens as a database and its schema can be read; otherwise SQLite's own
// text ("file is not a database"). The file is not changed.
std::string DatabaseReadProblem(const std::string& path);

// Decimal text to int the way the stored columns are read: leading blanks and a sign are
// accepted, conversion stops at the first non-digit, no digits (or null) give 0, and values
// beyond the 32-bit range are clamped.
int TextToInt(const char* text);
// The same for 64-bit columns (byte counts).
std::int64_t TextToInt64(const char* text);

}  // namespace trawlix
