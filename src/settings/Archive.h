#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace trawlix {

// The settings file's value encoding: little-endian 32- and 64-bit integers (flags as 0 or 1
// in 32 bits), and strings
// with a 1-, 3- or 7-byte length prefix (below 255: one byte; below 65534: 0xFF and two
// bytes; otherwise 0xFF, 0xFFFF and four bytes).
class ArchiveWriter {
 public:
  void Int(std::int32_t value);
  void Int64(std::int64_t value);
  void String(std::string_view text);
  void Flag(bool flag) { Int(flag ? 1 : 0); }

  const std::string& bytes() const { return bytes_; }

 private:
  void Unsigned(std::uint64_t value, int size);
  std::string bytes_;
};

// Reads values back. A read past the end or a malformed length marks the reader failed;
// from then on every read leaves its target unchanged.
class ArchiveReader {
 public:
  explicit ArchiveReader(std::string_view bytes) : bytes_(bytes) {}

  void Int(std::int32_t& value);
  void Int64(std::int64_t& value);
  void String(std::string& text);
  // A flag is stored as a 32-bit integer; any value but 0 reads as on.
  void Flag(bool& flag);

  bool ok() const { return ok_; }
  std::size_t remaining() const { return bytes_.size() - pos_; }

 private:
  bool Unsigned(int size, std::uint64_t& value);
  std::string_view bytes_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

}  // namespace trawlix
