#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace trawlix {

// The original photo an image optimizer's address names in its query ("/_next/image?url=
// %2Fphotos%2Fred.jpg&w=1920" names "/photos/red.jpg"), decoded, to be resolved like any link
// of the page; none for any other address. Only optimizers whose parameter always holds the
// original are known: a larger photo than the one the optimizer makes of it.
std::optional<std::string> OptimizedOriginal(std::string_view url);

}  // namespace trawlix
