#pragma once

#include <exception>
#include <memory>
#include <string_view>

namespace trawlix {

// Error code of failures raised by the database layer itself rather than by SQLite.
inline constexpr int kSQL3LayerError = 1000;

// The only exception of the database layer. Its message reads "NAME[code]: detail" and
// lives in an SQLite allocation; each copy owns its own.
class CSQL3Exception : public std::exception {
 public:
  CSQL3Exception(int code, std::string_view detail);
  CSQL3Exception(const CSQL3Exception& other);
  CSQL3Exception& operator=(const CSQL3Exception& other);
  ~CSQL3Exception() override = default;

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
