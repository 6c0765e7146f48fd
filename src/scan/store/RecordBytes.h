#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trawlix {

// Fields of variable length, each written as four length bytes (little-endian) and the
// bytes themselves: the form of the scan's journal and of a page's remembered links.
inline void AppendField(std::string& out, std::string_view field) {
  const auto size = static_cast<std::uint32_t>(field.size());
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((size >> shift) & 0xFF);
  out.append(field);
}

// The next field of `in`, which moves past it; none when `in` ends within it.
inline std::optional<std::string_view> ReadField(std::string_view& in) {
  if (in.size() < 4) return std::nullopt;
  std::uint32_t size = 0;
  for (int i = 3; i >= 0; --i) size = (size << 8) | static_cast<unsigned char>(in[i]);
  if (in.size() - 4 < size) return std::nullopt;
  const std::string_view field = in.substr(4, size);
  in.remove_prefix(4 + std::size_t{size});
  return field;
}

}  // namespace trawlix
