#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace trawlix {

// The addresses of the "url(...)" references in a style sheet or a "style" attribute, in
// their order: quotes and blanks around them removed, comments skipped, "data:" addresses
// (pictures inlined in the sheet, nothing to fetch) left out.
std::vector<std::string> CssUrls(std::string_view css);

}  // namespace trawlix
