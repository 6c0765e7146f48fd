#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "scan/engine/ScanScope.h"

namespace trawlix {

// Longest base URL that can be resolved against.
inline constexpr std::size_t kMaxBaseURL = 2047;

// Turns raw link text (relative, root-relative, "../" chains, script calls, hash-bang
// addresses) into an absolute URL without its "#fragment", or an empty text when the link
// cannot be resolved. `base` may be empty (the start URL). In social mode the site's links are
// rewritten first and the owner id may be learnt, hence the non-const scope.
std::string ResolveURL(std::string_view base, std::string_view link, ScanScope& scope);

// Scan start (and every step of a multi-link scan): clears the social state, detects social mode
// on the start URL, resolves it without a base and keeps its parts as the start parts. Returns
// the resolved start URL, the first page to file (empty when it cannot be resolved).
std::string SetScanStart(ScanScope& scope, std::string_view startURL);

// A "base" tag's address taken against the page it stands on, as a browser takes it: a
// relative one ("../photos/", "/static/") would otherwise be no address at all. An absolute
// or empty one is returned as it stands.
std::string ResolveBaseHref(std::string_view pageURL, std::string_view href);

// Removes "." and ".." segments from the path of an absolute URL, as a browser does.
std::string RemoveDotSegments(std::string_view url);

}  // namespace trawlix
