#include "storage/DatabaseQuery.h"

#include <sqlite3.h>

#include <utility>

#include "storage/DatabaseError.h"

namespace trawlix {

namespace {
const char* LastMessage(sqlite3* connection) {
  const char* message = connection ? sqlite3_errmsg(connection) : nullptr;
  return message ? message : "";
}
}  // namespace

DatabaseQuery::DatabaseQuery(sqlite3* connection, sqlite3_stmt* statement, bool atEnd)
    : connection_(connection),
      statement_(statement),
      atEnd_(atEnd),
      columnCount_(sqlite3_column_count(statement)),
      ownsStatement_(true) {}

DatabaseQuery::DatabaseQuery(DatabaseQuery&& other) noexcept
    : connection_(other.connection_),
      statement_(std::exchange(other.statement_, nullptr)),
      atEnd_(other.atEnd_),
      columnCount_(other.columnCount_),
      ownsStatement_(other.ownsStatement_) {}

DatabaseQuery& DatabaseQuery::operator=(DatabaseQuery&& other) noexcept {
  if (this != &other) {
    FinalizeQuietly();
    connection_ = other.connection_;
    statement_ = std::exchange(other.statement_, nullptr);
    atEnd_ = other.atEnd_;
    columnCount_ = other.columnCount_;
    ownsStatement_ = other.ownsStatement_;
  }
  return *this;
}

DatabaseQuery::~DatabaseQuery() {
  FinalizeQuietly();
}

void DatabaseQuery::FinalizeQuietly() noexcept {
  try {
    Finalize();
  } catch (const DatabaseError&) {
    // A destroyed or overwritten query has nobody left to tell.
  }
}

void DatabaseQuery::CheckStatement() const {
  if (statement_ == nullptr)
    throw DatabaseError(kDatabaseLayerError, "Null Virtual Machine pointer");
}

void DatabaseQuery::CheckColumn(int column) const {
  CheckStatement();
  if (column < 0 || column >= columnCount_) {
    throw DatabaseError(kDatabaseLayerError, "Invalid field index requested");
  }
}

bool DatabaseQuery::AtEnd() const {
  CheckStatement();
  return atEnd_;
}

int DatabaseQuery::ColumnCount() const {
  CheckStatement();
  return columnCount_;
}

void DatabaseQuery::NextRow() {
  CheckStatement();
  const int result = sqlite3_step(statement_);
  if (result == SQLITE_DONE) {
    atEnd_ = true;
  } else if (result != SQLITE_ROW) {
    const int code = sqlite3_finalize(std::exchange(statement_, nullptr));
    throw DatabaseError(code, LastMessage(connection_));
  }
}

const char* DatabaseQuery::ColumnText(int column) const {
  CheckColumn(column);
  return reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
}

const char* DatabaseQuery::ColumnName(int column) const {
  CheckColumn(column);
  return sqlite3_column_name(statement_, column);
}

void DatabaseQuery::Finalize() {
  if (statement_ == nullptr || !ownsStatement_) return;
  const int code = sqlite3_finalize(std::exchange(statement_, nullptr));
  if (code != SQLITE_OK) throw DatabaseError(code, LastMessage(connection_));
}

}  // namespace trawlix
