#include "storage/RecordColumns.h"

#include <charconv>

namespace trawlix {

namespace {

template <class Number>
bool ParseWhole(std::string_view text, Number& value) {
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) return false;
  }
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  Number parsed = 0;
  auto [ptr, ec] = std::from_chars(text.data(), end, parsed);
  if (ec != std::errc{} || ptr != end) return false;
  value = parsed;
  return true;
}

}  // namespace

bool ParseWholeInt(std::string_view text, int& value) {
  return ParseWhole(text, value);
}

bool ParseWholeInt(std::string_view text, std::int64_t& value) {
  return ParseWhole(text, value);
}

std::string FlagRangeProblem(std::string_view column, int value) {
  return std::string(column) + " must be 0 (off) or 1 (on), not " + std::to_string(value) + ".";
}

}  // namespace trawlix
