#include "storage/SQL3Exception.h"

#include <sqlite3.h>

#include <new>
#include <string>

namespace trawlix {

void CSQL3Exception::SqliteFree::operator()(char* text) const {
  sqlite3_free(text);
}

CSQL3Exception::SqliteText CSQL3Exception::Format(const char* format, const char* text) {
  SqliteText result(sqlite3_mprintf(format, text));
  if (!result) throw std::bad_alloc();
  return result;
}

CSQL3Exception::CSQL3Exception(int code, std::string_view detail) : code_(code) {
  const std::string detailText(detail);
  message_.reset(sqlite3_mprintf("%s[%d]: %s", ErrorCodeAsString(code), code, detailText.c_str()));
  if (!message_) throw std::bad_alloc();
}

CSQL3Exception::CSQL3Exception(const CSQL3Exception& other)
    : std::exception(other), code_(other.code_), message_(Format("%s", other.message_.get())) {}

CSQL3Exception& CSQL3Exception::operator=(const CSQL3Exception& other) {
  if (this != &other) {
    message_ = Format("%s", other.message_.get());
    code_ = other.code_;
  }
  return *this;
}

const char* CSQL3Exception::ErrorCodeAsString(int code) {
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
    case kSQL3LayerError:
      return "CPPSQLITE_ERROR";
    default:
      return "UNKNOWN_ERROR";
  }
}

}  // namespace trawlix
