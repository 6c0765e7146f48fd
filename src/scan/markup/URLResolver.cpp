#include "scan/markup/URLResolver.h"

#include <vector>

#include "base/Text.h"
#include "scan/markup/PhotoLinkTest.h"

namespace trawlix {

namespace {

constexpr auto npos = std::string::npos;

bool StartsWith(std::string_view text, std::string_view head) {
  return text.substr(0, head.size()) == head;
}

bool IsAbsolute(std::string_view link) {
  return StartsWith(link, "http://") || StartsWith(link, "https://");
}

// Schemes compare case-insensitively; the rules below look for them in lower case.
void LowerLeadingScheme(std::string& link) {
  for (std::string_view scheme : {"http://", "https://"}) {
    if (EqualsNoCase(std::string_view(link).substr(0, scheme.size()), scheme)) {
      link.replace(0, scheme.size(), scheme);
    }
  }
}

// An https link found while scanning a site entered as http is fetched over http.
void DowngradeHttps(std::string& link, const ScanScope& scope) {
  if (UrlParts(link).scheme == scope.start.scheme) return;
  if (link.find("https://") == npos || scope.projectURL.find("https://") != npos) return;
  ReplaceAll(link, "https://", "http://");
}

// The text between the first and second `quote` (to the end when there is no second one);
// false when there is no `quote` or the text does not look like a file.
bool CutBetween(std::string& link, char quote) {
  const std::size_t open = link.find(quote);
  if (open == npos) return false;
  const std::size_t close = link.find(quote, open + 1);
  link = Trim(link.substr(open + 1, close == npos ? npos : close - open - 1));
  return LooksLikeFileLink(link);
}

// Script links ("javascript:...", "onclick=...") give the file name they quote.
bool CutScriptLink(std::string& link) {
  if (FindNoCase(link, "javascript:") != npos && !CutBetween(link, '"')) return false;
  if (FindNoCase(link, "javascript:") != npos || FindNoCase(link, "onclick") != npos) {
    return CutBetween(link, '\'');
  }
  return true;
}

// The base path without its last `levels` segments, keeping the final "/".
std::string ParentPath(std::string path, int levels) {
  if (!path.empty() && path.back() == '/') path.pop_back();
  for (int i = 0; i < levels; ++i) {
    const std::size_t slash = path.rfind('/');
    path.erase(slash == npos ? 0 : slash);
  }
  return path + "/";
}

// Leading "../../", "../", ".//" and "./" are taken against the base path.
void ApplyBasePath(std::string& link, const UrlParts& base) {
  if (link.size() >= 7 && StartsWith(link, "../../")) {
    link = ParentPath(base.path, 2) + link.substr(6);
  } else if (StartsWith(link, "../")) {
    link = ParentPath(base.path, 1) + link.substr(3);
  }
  if (StartsWith(link, ".//")) link = base.path + link.substr(3);
  if (StartsWith(link, "./")) link = base.path + link.substr(2);
}

// Whether the first segment of a link without scheme names a host ("www.site.com/a.html").
bool StartsWithHostName(std::string link) {
  ReplaceAll(link, "http://", "");
  ReplaceAll(link, "https://", "");
  if (link.find('/', 1) != npos) {
    const std::string first = link.substr(0, link.find('/'));
    return first.find('.') != npos && first.find('?') == npos;
  }
  return !LooksLikeFileLink(link) && link.find('.') != npos;
}

std::string MakeAbsolute(std::string link, const UrlParts& base) {
  const std::string scheme = base.scheme.empty() ? "http://" : base.scheme;
  if (StartsWith(link, "//")) return scheme + link.substr(2);  // same scheme, other host
  if (StartsWith(link, "/")) return scheme + base.host + link;
  if (IsAbsolute(link)) return link;
  if (StartsWithHostName(link)) return scheme + link;
  std::string rest = base.host + base.path + "/" + link;
  CollapseDoubleSlashes(rest);
  return scheme + rest;
}

std::string WithoutFragment(std::string url) {
  url.erase(std::min(url.find('#'), url.size()));
  return url;
}

}  // namespace

std::string RemoveDotSegments(std::string_view url) {
  const std::size_t schemeEnd = url.find("://");
  const std::size_t pathStart = url.find('/', schemeEnd == npos ? 0 : schemeEnd + 3);
  if (pathStart == npos) return std::string(url);
  const std::size_t pathEnd = std::min(url.find('?', pathStart), url.size());
  const std::string_view path = url.substr(pathStart + 1, pathEnd - pathStart - 1);

  std::vector<std::string_view> kept;
  bool dotSegment = false;
  std::size_t from = 0;
  for (bool more = true; more;) {
    const std::size_t slash = path.find('/', from);
    more = slash != npos;
    const std::string_view segment = path.substr(from, more ? slash - from : npos);
    from = slash + 1;
    dotSegment = segment == "." || segment == "..";
    if (segment == ".." && !kept.empty()) kept.pop_back();
    if (!dotSegment) kept.push_back(segment);
  }
  if (dotSegment) kept.emplace_back();  // "a/.." names the folder: keep its trailing "/"

  std::string out(url.substr(0, pathStart));
  for (std::string_view segment : kept) (out += '/') += segment;
  if (kept.empty()) out += '/';
  out += url.substr(pathEnd);
  return out;
}

std::string ResolveURL(std::string_view base, std::string_view link, ScanScope& scope) {
  std::string baseText(base);
  std::string linkText(link);
  if (scope.social.active) {
    IsSocialURL(baseText, scope.social);
    IsSocialURL(linkText, scope.social);
    baseText = RewriteSocialLink(baseText);
    linkText = RewriteSocialLink(linkText);
  }
  if (baseText.size() > kMaxBaseURL) return {};
  const UrlParts baseParts = baseText.empty() ? UrlParts() : UrlParts(baseText);

  linkText = Trim(linkText);
  if (linkText.empty()) return {};
  // "#", "#top": a place in the base document, which is that document.
  if (linkText[0] == '#') return WithoutFragment(baseText.empty() ? "" : baseParts.Rebuild());
  if (linkText.back() == '#') RemoveAll(linkText, '#');

  LowerLeadingScheme(linkText);
  ReplaceAll(linkText, "http://", "http://////");
  ReplaceAll(linkText, "https://", "https://////");
  ReplaceAll(linkText, "///", "/");
  DowngradeHttps(linkText, scope);
  if (!CutScriptLink(linkText)) return {};
  linkText = WithoutFragment(std::move(linkText));
  if (linkText.empty()) return WithoutFragment(baseText.empty() ? "" : baseParts.Rebuild());

  ApplyBasePath(linkText, baseParts);
  const UrlParts parts(RemoveDotSegments(MakeAbsolute(std::move(linkText), baseParts)));
  if (parts.host.empty()) return {};  // nothing to fetch it from
  return WithoutFragment(parts.Rebuild());
}

std::string ResolveBaseHref(std::string_view pageURL, std::string_view href) {
  std::string link = Trim(href);
  LowerLeadingScheme(link);
  // Empty, or with a scheme of its own ("http:", "mailto:"): nothing to take against the page.
  const std::size_t colon = link.find(':');
  if (link.empty() || (colon != npos && colon < link.find('/'))) return std::string(href);
  const UrlParts page{std::string(pageURL)};
  if (page.host.empty()) return std::string(href);
  const std::string scheme = page.scheme.empty() ? "http://" : page.scheme;
  if (StartsWith(link, "//")) return RemoveDotSegments(scheme + link.substr(2));
  if (StartsWith(link, "/")) return RemoveDotSegments(scheme + page.host + link);
  std::string folder = page.path;
  if (folder.empty() || folder.back() != '/') folder += '/';
  return RemoveDotSegments(scheme + page.host + folder + link);
}

std::string SetScanStart(ScanScope& scope, std::string_view startURL) {
  const std::string start = Trim(startURL);
  scope.social = SocialState();
  DetectSocialScan(start, scope.social);
  scope.start = UrlParts();
  std::string resolved = ResolveURL("", start, scope);
  scope.start = UrlParts(resolved);
  return resolved;
}

}  // namespace trawlix
