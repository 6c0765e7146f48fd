#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "scan/markup/PhotoLinkTest.h"

namespace trawlix {

// Bytes of script and data one page may have read for addresses (inline scripts, JSON
// blocks, JSON in data-* attributes); the rest of the page's scripts is not read.
inline constexpr std::size_t kMaxScriptBytesPerPage = std::size_t{4} * 1024 * 1024;
// Photo addresses one page may name in its scripts and data.
inline constexpr std::size_t kMaxScriptAddressesPerPage = 1000;

// The photos a page names only in its scripts and data, as a browser's scripts would find
// them: the image, contentUrl, url and thumbnailUrl of JSON-LD blocks, every string of
// "application/json" blocks and of JSON in data-* attributes, and the string literals of
// inline scripts (a literal holding JSON is read as JSON). Escapes (\/, \u002F) and, in
// attributes, character references are undone. Only addresses of a wanted photo format are
// kept, each once, in the page's order, unresolved.
std::vector<std::string> ScriptPhotoAddresses(std::string_view page, const PhotoFormats& formats);

}  // namespace trawlix
