#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "scan/engine/ScanScope.h"

namespace trawlix {

enum class LinkKind { Page, Photo };

// Resolves a link found on the page `base` and decides whether the scan may follow it: the
// social-network rules, a well-formed URL, then (for pages only) the folder, host and keyword
// scope. Returns the resolved URL when accepted.
std::optional<std::string> AcceptPageLink(std::string_view base, std::string_view link,
                                          LinkKind kind, ScanScope& scope);

struct PhotoLink {
  std::string url;       // absolute, without a query after the photo's name
  std::string fileName;  // the URL's file part
};

// Decides whether a photo link is downloaded. `base` is the last base tag's address when the
// scan has seen one, else the page on which the link was found.
std::optional<PhotoLink> AcceptPhotoLink(std::string_view link, std::string_view base,
                                         ScanScope& scope);

// A URL with a scheme ("http:") and no blanks or control characters.
bool IsURL(std::string_view url);

}  // namespace trawlix
