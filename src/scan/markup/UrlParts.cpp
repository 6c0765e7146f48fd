#include "scan/markup/UrlParts.h"

#include <algorithm>

#include "base/Text.h"

namespace trawlix {

namespace {

constexpr auto npos = std::string::npos;

// Takes the query out of `text` when a "?" has no "/" after it.
std::string SplitTrailingQuery(std::string& text) {
  const std::size_t q = text.find('?');
  if (q == npos || text.find('/', q) != npos) return {};
  std::string query = text.substr(q);
  text.erase(q);
  return query;
}

// A scheme counts only at the start, before any "/" or "?".
std::string SplitScheme(std::string& text) {
  const std::size_t p = text.find("://");
  if (p == npos || p > text.find_first_of("/?")) return {};
  std::string scheme = text.substr(0, p + 3);
  text.erase(0, p + 3);
  return scheme;
}

// Queries whose "?" has a "/" after it: an embedded address keeps its slashes out of the path.
std::string SplitEmbeddedQuery(std::string& text) {
  std::size_t cut = text.find("/?");
  if (cut != npos) {
    ++cut;
  } else if (text.find('?') != npos) {
    const std::string lower = ToLowerAscii(text);
    cut = lower.find("=http:");
    if (cut == npos) cut = lower.find("=www.");
    if (cut == npos) cut = text.find('?');
  } else {
    return {};
  }
  std::string query = text.substr(cut);
  text.erase(cut);
  return query;
}

std::string CleanPath(std::string path) {
  ReplaceAll(path, "../", "/");
  ReplaceAll(path, "//", "");
  ReplaceAll(path, "//", "/");
  path = Trim(path);
  if (!path.empty() && path[0] == '/') return path;
  // Built by appending: GCC 12 reports a false -Wrestrict for inserting at the front.
  std::string rooted(1, '/');
  rooted += path;
  return rooted;
}

}  // namespace

void CollapseDoubleSlashes(std::string& url) {
  const std::size_t q = url.find('?');
  if (q == npos) {
    ReplaceAll(url, "//", "/");
    return;
  }
  std::string head = url.substr(0, q);
  ReplaceAll(head, "//", "/");
  url.replace(0, q, head);
}

UrlParts::UrlParts(std::string_view url) : full(url) {
  std::string text(url);
  ReplaceAll(text, "??", "?");
  std::string query = SplitTrailingQuery(text);
  scheme = SplitScheme(text);

  const std::size_t hostEnd = std::min(text.find_first_of("/?"), text.size());
  host = text.substr(0, hostEnd);
  text.erase(0, hostEnd);
  CollapseDoubleSlashes(text);
  if (query.empty()) query = SplitEmbeddedQuery(text);

  ReplaceAll(text, ".//", "/");
  // The path spans [0, pathEnd) of the rest; the file is what follows it.
  std::size_t pathStart = 0;
  std::size_t pathEnd = 0;
  const std::size_t q = text.find('?');
  if (q != npos && text.find('/', q) == npos) {
    const std::size_t slash = text.rfind('/', q);
    pathEnd = slash == npos ? 0 : slash + 1;
    path = text.substr(0, pathEnd);
    if (path.empty() || path.back() != '/') path += '/';
  } else {
    pathStart = text.find('/');
    if (pathStart != npos) pathEnd = text.rfind('/') + 1;
    path = pathStart == npos ? std::string() : text.substr(pathStart, pathEnd - pathStart);
  }
  path = CleanPath(std::move(path));
  if (path != "/" && pathStart != npos) text.erase(pathStart, pathEnd - pathStart);

  file = Trim(text) + query;
  CollapseDoubleSlashes(file);
  file = Trim(file);
  if (!file.empty() && file[0] == '/') file.erase(0, 1);
}

}  // namespace trawlix
