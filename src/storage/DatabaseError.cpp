#include "storage/DatabaseError.h"

#include <sqlite3.h>

#include <new>
#include <string>

namespace trawlix {

void DatabaseError::SqliteFree::operator()(char* text) const {
  sqlite3_free(text);
}

DatabaseError::SqliteText DatabaseError::Format(const char* format, const char* text) {
  SqliteText result(sqlite3_mprintf(format, text));
  if (!result) throw std::bad_alloc();
  return result;
}

DatabaseError::DatabaseError(int code, std::string_view detail) : code_(code) {
  const std::string detailText(detail);
  message_.reset(sqlite3_mprintf("%s[%d]: %s", ErrorCodeAsString(code), code, detailText.c_str()));
  if (!message_) throw std::bad_alloc();
}

DatabaseError::DatabaseError(const DatabaseError& other)
    : std::exception(other), code_(other.code_), message_(Format("%s", other.message_.get())) {}

DatabaseError& DatabaseError::operator=(const DatabaseError& other) {
  if (this != &other) {
    message_ = Format("%s", other.message_.get());
    code_ = other.code_;
  }
  return *this;
}

const char* DatabaseError::ErrorCodeAsString(int code) {
  static const char* const kSqliteNames[] = {
      "SQLITE_OK",       "SQLITE_ERROR",     "SQLITE_INTERNAL", "SQLITE_PERM",
      "SQLITE_ABORT",    "SQLITE_BUSY",      "SQLITE_LOCKED",   "SQLITE_NOMEM",
      "SQLITE_READONLY", "SQLITE_INTERRUPT", "SQLITE_IOERR",    "SQLITE_CORRUPT",
      "SQLITE_NOTFOUND", "SQLITE_FULL",      "SQLITE_CANTOPEN", "SQLITE_PROTOCOL",
      "SQLITE_EMPTY",    "SQLITE_SCHEMA",    "SQLITE_TOOBIG",   "SQLITE_CONSTRAINT",
      "SQLITE_MISMATCH", "SQLITE_MISUSE",    "SQLITE_NOLFS",    "SQLITE_AUTH",
      "SQLITE_FORMAT",   "SQLITE_RANGE",
  };
  constexpr int kNamedCount = static_cast<int>(std::size(kSqliteNames));
  if (code >= 0 && code < kNamedCount) return kSqliteNames[code];
  switch (code) {
    case 100:
      return "SQLITE_ROW";
    case 101:
      return "SQLITE_DONE";
    case kDatabaseLayerError:
      return "CPPSQLITE_ERROR";
    default:
      return "UNKNOWN_ERROR";
  }
}

}  // namespace trawlix
