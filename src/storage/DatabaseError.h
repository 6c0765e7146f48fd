#pragma once

#include <exception>
#include <memory>
#include <string_view>

namespace trawlix {

// Error code of failures raised by the database layer itself rather than by SQLite.
inline constexpr int kDatabaseLayerError = 1000;

// The only exception of the database layer. Its message reads "NAME[code]: detail" and
// lives in an SQLite allocation; each copy owns its own.
class DatabaseError : public std::exception {
 public:
  DatabaseError(int code, std::string_view detail);
  DatabaseError(const DatabaseError& other);
  DatabaseError& operator=(const DatabaseError& other);
  ~DatabaseError() override = default;

  int Code() const { return code_; }
  const char* Message() const { return message_.get(); }
  const char* what() const noexcept override { return message_.get(); }

  // "SQLITE_BUSY" for 5, "CPPSQLITE_ERROR" for 1000, "UNKNOWN_ERROR" for codes not listed.
  static const char* ErrorCodeAsString(int code);

 private:
  struct SqliteFree {
    void operator()(char* text) const;
  };
  using SqliteText = std::unique_ptr<char, SqliteFree>;
  static SqliteText Format(const char* format, const char* text);

  int code_;
  SqliteText message_;
};

}  // namespace trawlix
