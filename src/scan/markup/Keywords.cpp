#include "scan/markup/Keywords.h"

#include <algorithm>

#include "base/Text.h"

namespace trawlix {

namespace {

bool ContainsAnyEntry(std::string_view candidate, const std::vector<std::string>& entries) {
  const std::string lower = ToLowerAscii(candidate);
  return std::any_of(entries.begin(), entries.end(), [&](const std::string& entry) {
    return lower.find(ToLowerAscii(entry)) != std::string::npos;
  });
}

}  // namespace

void ParseCommaList(std::string_view text, std::vector<std::string>& list) {
  std::string all(text);
  ReplaceAll(all, ",,", "");
  ReplaceAll(all, ", ", ",");
  if (all.empty() || all.back() != ',') all += ',';
  std::size_t start = 0;
  for (std::size_t comma; (comma = all.find(',', start)) != std::string::npos; start = comma + 1) {
    std::string entry = Trim(std::string_view(all).substr(start, comma - start));
    if (!entry.empty()) list.push_back(std::move(entry));
  }
}

bool ContainsAnyKeyword(std::string_view url, const std::vector<std::string>& keywords) {
  return ContainsAnyEntry(url, keywords);
}

bool IsSkippedFile(std::string_view linkText, const std::vector<std::string>& skipList) {
  return ContainsAnyEntry(linkText, skipList);
}

}  // namespace trawlix
