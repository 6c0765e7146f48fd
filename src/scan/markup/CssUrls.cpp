#include "scan/markup/CssUrls.h"

#include "base/Text.h"

namespace trawlix {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsIdentChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_';
}

// After "url(": the address up to the closing ")" (or quote), with CSS escapes undone.
std::string ReadUrl(std::string_view css, std::size_t& i) {
  while (i < css.size() && IsBlank(css[i])) ++i;
  char quote = 0;
  if (i < css.size() && (css[i] == '"' || css[i] == '\'')) quote = css[i++];
  std::string url;
  for (; i < css.size(); ++i) {
    const char c = css[i];
    if (quote != 0 ? c == quote : (c == ')' || IsBlank(c))) break;
    if (quote == 0 && (c == '"' || c == '\'' || c == '(')) return {};  // not a valid url token
    if (c == '\\' && i + 1 < css.size()) {
      url += css[++i];
      continue;
    }
    url += c;
  }
  return Trim(url);
}

}  // namespace

std::vector<std::string> CssUrls(std::string_view css) {
  std::vector<std::string> urls;
  for (std::size_t i = 0; i < css.size();) {
    if (css.substr(i, 2) == "/*") {
      const std::size_t end = css.find("*/", i + 2);
      i = end == std::string_view::npos ? css.size() : end + 2;
      continue;
    }
    // "url(" as a function of its own, not the end of a longer name.
    const bool function = i + 4 <= css.size() && EqualsNoCase(css.substr(i, 4), "url(") &&
                          (i == 0 || !IsIdentChar(css[i - 1]));
    if (!function) {
      ++i;
      continue;
    }
    i += 4;
    std::string url = ReadUrl(css, i);
    if (!url.empty() && !ToLowerAscii(url).starts_with("data:")) urls.push_back(std::move(url));
  }
  return urls;
}

}  // namespace trawlix
