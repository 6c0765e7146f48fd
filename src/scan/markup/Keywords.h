#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace trawlix {

// Appends the entries of a comma-separated text to `list`. Two commas in a row vanish and join
// their neighbours into one entry; entries are trimmed and empty ones skipped.
void ParseCommaList(std::string_view text, std::vector<std::string>& list);

// True when the URL contains any keyword, ignoring letter case. An empty list matches nothing.
bool ContainsAnyKeyword(std::string_view url, const std::vector<std::string>& keywords);

// True when the link text contains any entry of the files-to-ignore list, ignoring letter case.
bool IsSkippedFile(std::string_view linkText, const std::vector<std::string>& skipList);

}  // namespace trawlix
