#include "storage/SqlStatement.h"

#include <sqlite3.h>

#include "storage/DatabaseError.h"

namespace trawlix {

void SqlStatement::Finalizer::operator()(sqlite3_stmt* statement) const {
  sqlite3_finalize(statement);
}

SqlStatement::SqlStatement(sqlite3* connection, const char* sql) : connection_(connection) {
  sqlite3_stmt* statement = nullptr;
  const int code = sqlite3_prepare_v2(connection, sql, -1, &statement, nullptr);
  if (code != SQLITE_OK) throw DatabaseError(code, sqlite3_errmsg(connection));
  statement_.reset(statement);
}

SqlStatement& SqlStatement::Reset() {
  sqlite3_reset(statement_.get());
  return *this;
}

SqlStatement& SqlStatement::Bind(int index, const std::string& text) {
  Check(sqlite3_bind_text(statement_.get(), index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT));
  return *this;
}

SqlStatement& SqlStatement::BindBlob(int index, const std::string& bytes) {
  Check(sqlite3_bind_blob(statement_.get(), index, bytes.data(), static_cast<int>(bytes.size()),
                          SQLITE_TRANSIENT));
  return *this;
}

SqlStatement& SqlStatement::Bind(int index, std::int64_t value) {
  Check(sqlite3_bind_int64(statement_.get(), index, value));
  return *this;
}

bool SqlStatement::Step() {
  const int code = sqlite3_step(statement_.get());
  if (code == SQLITE_ROW) return true;
  if (code != SQLITE_DONE) Check(code);
  return false;
}

int SqlStatement::Run() {
  Step();
  sqlite3_reset(statement_.get());
  return sqlite3_changes(connection_);
}

std::string SqlStatement::Text(int column) const {
  const auto* bytes = sqlite3_column_blob(statement_.get(), column);
  const int size = sqlite3_column_bytes(statement_.get(), column);
  return bytes == nullptr
             ? std::string()
             : std::string(static_cast<const char*>(bytes), static_cast<std::size_t>(size));
}

std::int64_t SqlStatement::Integer(int column) const {
  return sqlite3_column_int64(statement_.get(), column);
}

void SqlStatement::Check(int code) const {
  if (code != SQLITE_OK) throw DatabaseError(code, sqlite3_errmsg(connection_));
}

}  // namespace trawlix
