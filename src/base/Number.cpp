#include "base/Number.h"

#include <array>

#include "base/Text.h"

namespace trawlix {

std::string FormatThousands(std::int64_t value) {
  std::string digits = Format("%lld", static_cast<long long>(value));
  std::size_t first = (!digits.empty() && digits[0] == '-') ? 1 : 0;
  for (std::size_t pos = digits.size(); pos > first + 3;) {
    pos -= 3;
    digits.insert(pos, 1, ',');
  }
  return digits;
}

namespace {

__extension__ using Wide = unsigned __int128;

struct ByteSizeUnit {
  const char* name;
  int shift;  // log2 of the unit's size in bytes
};

constexpr std::array<ByteSizeUnit, 6> kUnits{
    {{"KB", 10}, {"MB", 20}, {"GB", 30}, {"TB", 40}, {"PB", 50}, {"EB", 60}}};

}  // namespace

std::string ByteSizeText(std::int64_t bytes) {
  if (bytes < 1024) return Format("%d bytes", bytes < 0 ? 0 : static_cast<int>(bytes));
  const auto size = static_cast<std::uint64_t>(bytes);
  // Below ten units two decimals, below a hundred one, below a thousand none; then the
  // next unit. Exabytes are the last unit and always show two decimals.
  for (std::size_t i = 0; i < kUnits.size(); ++i) {
    const ByteSizeUnit& unit = kUnits[i];
    const std::uint64_t one = std::uint64_t{1} << unit.shift;
    const bool last = i + 1 == kUnits.size();
    int places = 2;
    if (!last && size >= 10 * one) places = size >= 100 * one ? 0 : 1;
    if (!last && size >= 1000 * one) continue;
    const std::uint64_t scale = places == 2 ? 100 : places == 1 ? 10 : 1;
    // Truncated, never rounded up, and exact for any 64-bit count.
    const auto scaled = static_cast<std::uint64_t>((Wide{size} * scale) >> unit.shift);
    const std::uint64_t whole = scaled / scale;
    if (places == 0) return Format("%llu %s", static_cast<unsigned long long>(whole), unit.name);
    return Format("%llu.%0*llu %s", static_cast<unsigned long long>(whole), places,
                  static_cast<unsigned long long>(scaled % scale), unit.name);
  }
  return {};
}

std::string FormatByteSize(std::int64_t bytes) {
  std::string text = Trim(ByteSizeText(bytes));
  RemoveAll(text, ' ');
  return text;
}

}  // namespace trawlix
