#pragma once

#include <string_view>

namespace trawlix {

// What an attribute of an "img" or "source" tag says about the photo it shows.
enum class ImageAttribute {
  None,
  Source,       // "src": often only a placeholder until a script swaps in the real photo
  LazySource,   // the photo a lazy loader puts into "src"
  Srcset,       // "srcset" or the srcset a lazy loader puts in place
  LargeSource,  // a larger version kept for zooming or a lightbox
};

// Looks the attribute name up (case-insensitive) in the one table of the attributes that
// browsers and the common lazy loaders use.
ImageAttribute ImageAttributeOf(std::string_view name);

}  // namespace trawlix
