#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace trawlix {

// One prepared statement with values bound by position, from 1. Prepared once, it may be run
// again and again: each use starts with Reset. Must not outlive its connection. Every
// failure raises DatabaseError.
class SqlStatement {
 public:
  SqlStatement(sqlite3* connection, const char* sql);

  // Ends any run in progress, so that values can be bound again.
  SqlStatement& Reset();
  SqlStatement& Bind(int index, const std::string& text);
  SqlStatement& BindBlob(int index, const std::string& bytes);
  SqlStatement& Bind(int index, std::int64_t value);

  // True while there is a row to read.
  bool Step();
  // Runs a statement that returns no rows; the rows it changed.
  int Run();

  std::string Text(int column) const;
  std::int64_t Integer(int column) const;

 private:
  struct Finalizer {
    void operator()(sqlite3_stmt* statement) const;
  };
  void Check(int code) const;

  sqlite3* connection_;
  std::unique_ptr<sqlite3_stmt, Finalizer> statement_;
};

}  // namespace trawlix
