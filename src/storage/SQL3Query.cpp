#include "storage/SQL3Query.h"

#include <sqlite3.h>

#include <utility>

#include "storage/SQL3Exception.h"

namespace trawlix {

namespace {
const char* LastMessage(sqlite3* connection) {
  const char* message = connection ? sqlite3_errmsg(connection) : nullptr;
  return message ? message : "";
}
}  // namespace

CSQL3Query::CSQL3Query(sqlite3* connection, sqlite3_stmt* statement, bool atEnd)
    : connection_(connection),
      statement_(statement),
      atEnd_(atEnd),
      columnCount_(sqlite3_column_count(statement)),
      ownsStatement_(true) {}

CSQL3Query::CSQL3Query(CSQL3Query&& other) noexcept
    : connection_(other.connection_),
      statement_(std::exchange(other.statement_, nullptr)),
      atEnd_(other.atEnd_),
      columnCount_(other.columnCount_),
      ownsStatement_(other.ownsStatement_) {}

CSQL3Query& CSQL3Query::operator=(CSQL3Query&& other) noexcept {
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

CSQL3Query::~CSQL3Query() {
  FinalizeQuietly();
}

void CSQL3Query::FinalizeQuietly() noexcept {
  try {
    Finalize();
  } catch (const CSQL3Exception&) {
    // A destroyed or overwritten query has nobody left to tell.
  }
}

void CSQL3Query::CheckStatement() const {
  if (statement_ == nullptr) throw CSQL3Exception(kSQL3LayerError, "Null Virtual Machine pointer");
}

void CSQL3Query::CheckColumn(int column) const {
  CheckStatement();
  if (column < 0 || column >= columnCount_) {
    throw CSQL3Exception(kSQL3LayerError, "Invalid field index requested");
  }
}

bool CSQL3Query::AtEnd() const {
  CheckStatement();
  return atEnd_;
}

int CSQL3Query::ColumnCount() const {
  CheckStatement();
  return columnCount_;
}

void CSQL3Query::NextRow() {
  CheckStatement();
  const int result = sqlite3_step(statement_);
  if (result == SQLITE_DONE) {
    atEnd_ = true;
  } else if (result != SQLITE_ROW) {
    const int code = sqlite3_finalize(std::exchange(statement_, nullptr));
    throw CSQL3Exception(code, LastMessage(connection_));
  }
}

const char* CSQL3Query::ColumnText(int column) const {
  CheckColumn(column);
  return reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
}

const char* CSQL3Query::ColumnName(int column) const {
  CheckColumn(column);
  return sqlite3_column_name(statement_, column);
}

void CSQL3Query::Finalize() {
  if (statement_ == nullptr || !ownsStatement_) return;
  const int code = sqlite3_finalize(std::exchange(statement_, nullptr));
  if (code != SQLITE_OK) throw CSQL3Exception(code, LastMessage(connection_));
}

}  // namespace trawlix
