#include "scan/markup/OptimizedAddresses.h"

#include <curl/curl.h>

#include <array>
#include <memory>

#include "base/Text.h"

namespace trawlix {

namespace {

struct Optimizer {
  std::string_view path;       // the end of the optimizer's path
  std::string_view parameter;  // the query parameter that holds the original
};

constexpr std::array<Optimizer, 3> kOptimizers = {{
    {"/_next/image", "url"},
    {"/_vercel/image", "url"},
    {"/.netlify/images", "url"},
}};

std::string Decoded(std::string_view text) {
  int length = 0;
  const std::unique_ptr<char, void (*)(void*)> decoded(
      curl_easy_unescape(nullptr, text.data(), static_cast<int>(text.size()), &length), curl_free);
  if (!decoded || length <= 0) return {};
  return std::string(decoded.get(), static_cast<std::size_t>(length));
}

// The value of `name` in the query, undecoded.
std::optional<std::string_view> Parameter(std::string_view query, std::string_view name) {
  while (!query.empty()) {
    const std::size_t end = std::min(query.find('&'), query.size());
    const std::string_view pair = query.substr(0, end);
    if (pair.size() > name.size() && pair[name.size()] == '=' &&
        EqualsNoCase(pair.substr(0, name.size()), name))
      return pair.substr(name.size() + 1);
    query.remove_prefix(std::min(end + 1, query.size()));
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> OptimizedOriginal(std::string_view url) {
  const std::size_t mark = url.find('?');
  if (mark == std::string_view::npos) return std::nullopt;
  const std::string path = ToLowerAscii(url.substr(0, mark));
  std::string_view query = url.substr(mark + 1);
  query = query.substr(0, query.find('#'));
  for (const Optimizer& optimizer : kOptimizers) {
    if (!path.ends_with(optimizer.path)) continue;
    const std::optional<std::string_view> value = Parameter(query, optimizer.parameter);
    if (!value) return std::nullopt;
    std::string original = Trim(Decoded(*value));
    if (original.empty()) return std::nullopt;
    return original;
  }
  return std::nullopt;
}

}  // namespace trawlix
