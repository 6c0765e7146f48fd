// Any bytes as "base\nlink": URL parsing, resolution, classification, optimizer addresses and
// the link filters must neither crash nor resolve to a URL that still carries a fragment.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "scan/engine/LinkFilter.h"
#include "scan/markup/OptimizedAddresses.h"
#include "scan/markup/PhotoLinkTest.h"
#include "scan/markup/URLResolver.h"
#include "scan/markup/UrlParts.h"

namespace {

trawlix::ScanScope MakeScope(bool social) {
  trawlix::ScanScope scope;
  scope.projectURL = social ? std::string(trawlix::kSocialHome) + "album.php?aid=1&id=2"
                            : "http://fuzz.test/gallery/index.html";
  scope.formats = {true, true, true, true, true};
  scope.keywords = {"beach"};
  scope.skipList = {"skip.jpg"};
  trawlix::DetectSocialScan(scope.projectURL, scope.social);
  scope.start = trawlix::UrlParts(trawlix::ResolveURL("", scope.projectURL, scope));
  return scope;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t newline = input.find('\n');
  const std::string_view base = newline == std::string_view::npos ? "" : input.substr(0, newline);
  const std::string_view link =
      newline == std::string_view::npos ? input : input.substr(newline + 1);

  (void)trawlix::UrlParts(link).Rebuild();
  (void)trawlix::IsPhotoLink({true, true, true, true, true}, link);
  (void)trawlix::LooksLikeFileLink(link);
  (void)trawlix::OptimizedOriginal(link);
  for (bool social : {false, true}) {
    trawlix::ScanScope scope = MakeScope(social);
    if (trawlix::ResolveURL(base, link, scope).find('#') != std::string::npos) std::abort();
    (void)trawlix::AcceptPageLink(base, link, trawlix::LinkKind::Page, scope);
    (void)trawlix::AcceptPhotoLink(link, base, scope);
    (void)trawlix::AcceptPhotoLink(link, base, scope, trawlix::PhotoSource::Image);
  }
  return 0;
}
