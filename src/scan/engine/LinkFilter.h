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
  std::string url;       // absolute, with its query: the photo the page names
  std::string fileName;  // the URL's file part, without the query
  // Names no photo extension: what the server answers decides whether it is a photo.
  bool byAnswer = false;
};

// Where a photo link was found. An image element's address is a photo whatever it ends in,
// unless it names a photo of a format the project does not want; any other link must name a
// photo of a wanted format.
enum class PhotoSource { Link, Image };

// Decides whether a photo link is downloaded. `base` is the last base tag's address when the
// scan has seen one, else the page on which the link was found.
std::optional<PhotoLink> AcceptPhotoLink(std::string_view link, std::string_view base,
                                         ScanScope& scope, PhotoSource source = PhotoSource::Link);

// A URL with a scheme ("http:") and no blanks or control characters.
bool IsURL(std::string_view url);

}  // namespace trawlix
