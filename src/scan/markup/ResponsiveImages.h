#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trawlix {

// One candidate of a "srcset": its URL and what its descriptor says about its size.
struct ImageCandidate {
  std::string url;
  double width = 0;    // "640w"; 0 when the candidate has no width descriptor
  double density = 1;  // "2x"; a candidate without descriptor is 1x
};

// The candidates of a "srcset" in their order. `truncated` says the text was cut off, so its
// last candidate may be a piece of a URL and is dropped.
std::vector<ImageCandidate> ParseSrcset(std::string_view srcset, bool truncated = false);

// Whether `a` shows the photo larger than `b`: widths decide when both have one, a width
// beats a bare density, densities decide otherwise.
bool IsLarger(const ImageCandidate& a, const ImageCandidate& b);

// The largest candidate of a "srcset" (the first of equals), if it has any.
std::optional<ImageCandidate> LargestCandidate(std::string_view srcset, bool truncated = false);

}  // namespace trawlix
