#include "scan/markup/LazyAttributes.h"

#include <array>
#include <utility>

#include "base/Text.h"

namespace trawlix {

namespace {

constexpr std::array<std::pair<std::string_view, ImageAttribute>, 22> kImageAttributes = {{
    {"src", ImageAttribute::Source},
    {"srcset", ImageAttribute::Srcset},
    {"data-src", ImageAttribute::LazySource},
    {"data-original", ImageAttribute::LazySource},
    {"data-lazy-src", ImageAttribute::LazySource},
    {"data-lazy", ImageAttribute::LazySource},
    {"data-echo", ImageAttribute::LazySource},
    {"data-url", ImageAttribute::LazySource},
    {"data-img", ImageAttribute::LazySource},
    {"data-image", ImageAttribute::LazySource},
    {"data-pagespeed-lazy-src", ImageAttribute::LazySource},
    {"data-srcset", ImageAttribute::Srcset},
    {"data-lazy-srcset", ImageAttribute::Srcset},
    {"data-original-set", ImageAttribute::Srcset},
    {"data-full", ImageAttribute::LargeSource},
    {"data-full-src", ImageAttribute::LargeSource},
    {"data-large", ImageAttribute::LargeSource},
    {"data-large-src", ImageAttribute::LargeSource},
    {"data-large_image", ImageAttribute::LargeSource},
    {"data-hi-res", ImageAttribute::LargeSource},
    {"data-hires", ImageAttribute::LargeSource},
    {"data-zoom-image", ImageAttribute::LargeSource},
}};

}  // namespace

ImageAttribute ImageAttributeOf(std::string_view name) {
  for (const auto& [attribute, kind] : kImageAttributes) {
    if (EqualsNoCase(name, attribute)) return kind;
  }
  return ImageAttribute::None;
}

}  // namespace trawlix
