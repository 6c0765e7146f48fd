#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>

#include "scan/markup/PhotoLinkTest.h"

namespace trawlix {

// One link found on a page. The texts are cut to kMaxText bytes and stay valid only during the
// receiver's call.
struct LinkMessage {
  static constexpr std::size_t kMaxText = 2046;

  bool photo = false;  // sent as a photo link rather than a page link
  bool image = false;  // an image element's address (src, srcset, lazy, picture sources)
  std::string_view pageURL;
  std::string_view linkText;  // cleaned, as found in the page
};

// Where the extractor delivers what it finds. The calls come from the extracting thread; the
// scan controller carries each one synchronously onto the UI thread.
class LinkReceiver {
 public:
  virtual ~LinkReceiver() = default;
  virtual void OnPageLink(const LinkMessage& link) = 0;
  virtual void OnPhotoLink(const LinkMessage& link) = 0;
  // The "href" of a "base" tag: the scan's new base address for photo links.
  virtual void OnBaseHref(std::string_view href) = 0;
};

// Removes the comment and noscript markers, so that links inside comments and noscript
// sections are found like any others.
void PreparePage(std::string& page);

// Whether an anchor's address names a photo itself: a photo name with a query after it is a
// page that shows the photo.
bool IsPhotoAnchor(const PhotoFormats& formats, std::string_view href);

// Tokenizes a prepared page and delivers every link of its "base", "frame", "img", "area" and
// "a" tags, the largest version of each photo a responsive or lazily loaded image or a
// "picture" offers (once), the photos of CSS "url(...)" references in style attributes and
// style blocks, and the page's "og:image" and "image_src" photos; then the photos its scripts
// and data name (ScriptPhotoAddresses). A relative base address is delivered taken against the
// page. Returns early once `stop` is non-zero.
void ExtractLinks(std::string_view page, std::string_view pageURL, const PhotoFormats& formats,
                  LinkReceiver& receiver, const std::atomic<int>& stop);

}  // namespace trawlix
