#include "settings/Archive.h"

namespace trawlix {

void ArchiveWriter::Unsigned(std::uint64_t value, int size) {
  for (int i = 0; i < size; ++i) bytes_.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void ArchiveWriter::Int(std::int32_t value) {
  Unsigned(static_cast<std::uint32_t>(value), 4);
}

void ArchiveWriter::Int64(std::int64_t value) {
  Unsigned(static_cast<std::uint64_t>(value), 8);
}

void ArchiveWriter::String(std::string_view text) {
  const std::uint64_t length = text.size();
  if (length < 0xFF) {
    Unsigned(length, 1);
  } else if (length < 0xFFFE) {
    Unsigned(0xFF, 1);
    Unsigned(length, 2);
  } else {
    Unsigned(0xFF, 1);
    Unsigned(0xFFFF, 2);
    Unsigned(length, 4);  // settings texts never come near 4 GB
  }
  bytes_.append(text);
}

bool ArchiveReader::Unsigned(int size, std::uint64_t& value) {
  if (!ok_ || remaining() < static_cast<std::size_t>(size)) {
    ok_ = false;
    return false;
  }
  value = 0;
  for (int i = 0; i < size; ++i) {
    value |= std::uint64_t{static_cast<unsigned char>(bytes_[pos_ + i])} << (8 * i);
  }
  pos_ += static_cast<std::size_t>(size);
  return true;
}

void ArchiveReader::Int(std::int32_t& value) {
  std::uint64_t raw = 0;
  if (Unsigned(4, raw)) value = static_cast<std::int32_t>(static_cast<std::uint32_t>(raw));
}

void ArchiveReader::Flag(bool& flag) {
  std::int32_t value = flag ? 1 : 0;
  Int(value);
  flag = value != 0;
}

void ArchiveReader::Int64(std::int64_t& value) {
  std::uint64_t raw = 0;
  if (Unsigned(8, raw)) value = static_cast<std::int64_t>(raw);
}

void ArchiveReader::String(std::string& text) {
  std::uint64_t length = 0;
  if (!Unsigned(1, length)) return;
  if (length == 0xFF) {
    if (!Unsigned(2, length)) return;
    // 0xFFFE marks a wide-character string, which this file never holds.
    if (length == 0xFFFE) ok_ = false;
    if (length == 0xFFFF && !Unsigned(4, length)) return;
  }
  if (!ok_ || length > remaining()) {
    ok_ = false;
    return;
  }
  text.assign(bytes_.substr(pos_, static_cast<std::size_t>(length)));
  pos_ += static_cast<std::size_t>(length);
}

}  // namespace trawlix
