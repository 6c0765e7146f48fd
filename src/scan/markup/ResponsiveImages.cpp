#include "scan/markup/ResponsiveImages.h"

#include <charconv>

namespace trawlix {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// "640w", "1.5x" or "2X"; descriptors of other kinds ("100h") and malformed ones are ignored.
void ApplyDescriptor(std::string_view descriptor, ImageCandidate& candidate) {
  if (descriptor.size() < 2) return;
  const char unit = descriptor.back();
  const std::string_view number = descriptor.substr(0, descriptor.size() - 1);
  double value = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error != std::errc() || end != number.data() + number.size() || !(value > 0)) return;
  if (unit == 'w' || unit == 'W') candidate.width = value;
  if (unit == 'x' || unit == 'X') candidate.density = value;
}

}  // namespace

// The HTML candidate walk: a URL is a run of non-blanks (commas may belong to it, trailing
// ones end it); its descriptors run to the next comma outside parentheses.
std::vector<ImageCandidate> ParseSrcset(std::string_view srcset, bool truncated) {
  std::vector<ImageCandidate> candidates;
  std::size_t i = 0;
  const std::size_t n = srcset.size();
  bool cutShort = false;
  while (i < n) {
    while (i < n && (IsBlank(srcset[i]) || srcset[i] == ',')) ++i;
    if (i >= n) break;
    const std::size_t urlStart = i;
    while (i < n && !IsBlank(srcset[i])) ++i;
    std::string_view url = srcset.substr(urlStart, i - urlStart);
    ImageCandidate candidate;
    if (url.back() == ',') {
      while (!url.empty() && url.back() == ',') url.remove_suffix(1);
      cutShort = false;
    } else {
      bool inParens = false;
      std::size_t descriptorStart = std::string_view::npos;
      for (; i <= n; ++i) {
        const char c = i < n ? srcset[i] : ',';
        const bool ends = i == n || (!inParens && (IsBlank(c) || c == ','));
        if (ends && descriptorStart != std::string_view::npos) {
          ApplyDescriptor(srcset.substr(descriptorStart, i - descriptorStart), candidate);
          descriptorStart = std::string_view::npos;
        }
        if (i < n && !inParens && c == ',') break;
        if (c == '(') inParens = true;
        if (c == ')') inParens = false;
        if (!ends && descriptorStart == std::string_view::npos) descriptorStart = i;
      }
      cutShort = i >= n;
    }
    if (url.empty()) continue;
    candidate.url = std::string(url);
    candidates.push_back(std::move(candidate));
  }
  if (truncated && cutShort && !candidates.empty()) candidates.pop_back();
  return candidates;
}

bool IsLarger(const ImageCandidate& a, const ImageCandidate& b) {
  if (a.width > 0 && b.width > 0) return a.width > b.width;
  if (a.width > 0 || b.width > 0) return a.width > 0;
  return a.density > b.density;
}

std::optional<ImageCandidate> LargestCandidate(std::string_view srcset, bool truncated) {
  std::optional<ImageCandidate> largest;
  for (ImageCandidate& candidate : ParseSrcset(srcset, truncated)) {
    if (!largest || IsLarger(candidate, *largest)) largest = std::move(candidate);
  }
  return largest;
}

}  // namespace trawlix
