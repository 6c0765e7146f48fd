#include "storage/Database.h"

#include <sqlite3.h>

#include <cctype>
#include <limits>

#include "storage/DatabaseError.h"

namespace trawlix {

namespace {
const char* LastMessage(sqlite3* connection) {
  const char* message = sqlite3_errmsg(connection);
  return message ? message : "";
}
}  // namespace

Database::~Database() {
  Close();
}

void Database::Open(const std::string& path) {
  Close();
  sqlite3* connection = nullptr;
  const int code = sqlite3_open(path.c_str(), &connection);
  if (code != SQLITE_OK) {
    // A failed open may still hand back a handle that holds the message and must be closed.
    const DatabaseError error(code, connection ? LastMessage(connection) : "");
    sqlite3_close(connection);
    throw error;
  }
  connection_ = connection;
  SetBusyTimeout(busyTimeoutMs_);
}

void Database::Close() {
  if (connection_ == nullptr) return;
  // A query still alive keeps the handle valid until it finalises its statement.
  sqlite3_close_v2(connection_);
  connection_ = nullptr;
}

void Database::SetBusyTimeout(int milliseconds) {
  busyTimeoutMs_ = milliseconds;
  if (connection_ != nullptr) sqlite3_busy_timeout(connection_, milliseconds);
}

void Database::CheckOpen() const {
  if (connection_ == nullptr) throw DatabaseError(kDatabaseLayerError, "Database not open");
}

int Database::ExecuteUpdate(const std::string& sql) {
  CheckOpen();
  char* errorText = nullptr;
  const int code = sqlite3_exec(connection_, sql.c_str(), nullptr, nullptr, &errorText);
  if (code != SQLITE_OK) {
    const DatabaseError error(code, errorText ? errorText : "");
    sqlite3_free(errorText);
    throw error;
  }
  return sqlite3_changes(connection_);
}

DatabaseQuery Database::ExecuteQuery(const std::string& sql) {
  CheckOpen();
  sqlite3_stmt* statement = nullptr;
  const int code = sqlite3_prepare_v2(connection_, sql.c_str(), -1, &statement, nullptr);
  if (code != SQLITE_OK) throw DatabaseError(code, "");
  // Text holding only blanks or comments compiles to no statement at all.
  if (statement == nullptr)
    throw DatabaseError(kDatabaseLayerError, "Null Virtual Machine pointer");
  const int step = sqlite3_step(statement);
  if (step == SQLITE_DONE || step == SQLITE_ROW) {
    return DatabaseQuery(connection_, statement, step == SQLITE_DONE);
  }
  const int finalizeCode = sqlite3_finalize(statement);
  throw DatabaseError(finalizeCode, LastMessage(connection_));
}

int Database::ExecuteScalar(const std::string& sql) {
  DatabaseQuery query = ExecuteQuery(sql);
  if (query.AtEnd() || query.ColumnCount() < 1) {
    throw DatabaseError(kDatabaseLayerError, "Invalid scalar query");
  }
  return TextToInt(query.ColumnText(0));
}

bool Database::TableExists(const std::string& table) {
  return ExecuteScalar("select count(*) from sqlite_master where type='table' and name='" + table +
                       "'") > 0;
}

std::string DatabaseReadProblem(const std::string& path) {
  // Read-only, so that a damaged file is left exactly as it is.
  sqlite3* connection = nullptr;
  int code = sqlite3_open_v2(path.c_str(), &connection, SQLITE_OPEN_READONLY, nullptr);
  if (code == SQLITE_OK) {
    code =
        sqlite3_exec(connection, "select count(*) from sqlite_master", nullptr, nullptr, nullptr);
  }
  std::string reason;
  if (code != SQLITE_OK) reason = connection ? LastMessage(connection) : sqlite3_errstr(code);
  sqlite3_close(connection);
  return reason;
}

namespace {

// Leading blanks, a sign and digits, as atoi reads them, held within [min, max].
long long TextToClampedInteger(const char* text, long long min, long long max) {
  if (text == nullptr) return 0;
  while (std::isspace(static_cast<unsigned char>(*text))) ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') negative = (*text++ == '-');
  const unsigned long long limit =
      negative ? 0ull - static_cast<unsigned long long>(min) : static_cast<unsigned long long>(max);
  unsigned long long value = 0;
  for (; std::isdigit(static_cast<unsigned char>(*text)); ++text) {
    const auto digit = static_cast<unsigned long long>(*text - '0');
    value = value > (limit - digit) / 10 ? limit : value * 10 + digit;
  }
  if (!negative) return static_cast<long long>(value);
  return value == limit ? min : -static_cast<long long>(value);
}

}  // namespace

int TextToInt(const char* text) {
  return static_cast<int>(
      TextToClampedInteger(text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

std::int64_t TextToInt64(const char* text) {
  return TextToClampedInteger(text, std::numeric_limits<std::int64_t>::min(),
                              std::numeric_limits<std::int64_t>::max());
}

}  // namespace trawlix
