#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace trawlix::exchange::testing {

// Hand-built record images: a zeroed buffer with values poked in at fixed offsets.
class ByteImage {
 public:
  explicit ByteImage(std::size_t size) : bytes_(size, '\0') {}

  ByteImage& Int(std::size_t offset, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    bytes_[offset] = static_cast<char>(bits & 0xFF);
    bytes_[offset + 1] = static_cast<char>((bits >> 8) & 0xFF);
    bytes_[offset + 2] = static_cast<char>((bits >> 16) & 0xFF);
    bytes_[offset + 3] = static_cast<char>((bits >> 24) & 0xFF);
    return *this;
  }
  ByteImage& Text(std::size_t offset, std::string_view text) {
    bytes_.replace(offset, text.size(), text);
    return *this;
  }
  const std::string& str() const { return bytes_; }

 private:
  std::string bytes_;
};

inline std::int32_t IntAt(std::string_view bytes, std::size_t offset) {
  std::uint32_t bits = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    bits |= std::uint32_t{static_cast<unsigned char>(bytes[offset + i])} << (8 * i);
  }
  return static_cast<std::int32_t>(bits);
}

}  // namespace trawlix::exchange::testing
