#include "storage/RecordColumns.h"

#include <charconv>

namespace trawlix {

bool ParseWholeInt(std::string_view text, int& value) {
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) return false;
  }
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  int parsed = 0;
  auto [ptr, ec] = std::from_chars(text.data(), end, parsed);
  if (ec != std::errc{} || ptr != end) return false;
  value = parsed;
  return true;
}

}  // namespace trawlix
