#include "scan/engine/LinkFilter.h"

#include <algorithm>

#include "base/Text.h"
#include "scan/markup/Keywords.h"
#include "scan/markup/URLResolver.h"

namespace trawlix {

namespace {

bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsSchemeChar(char c) {
  return IsLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

// Folder rule: the start folder itself, or (with sub-folders) any path that contains it.
bool InStartFolder(const UrlParts& resolved, const ScanScope& scope) {
  if (!scope.searchSubFolders) return resolved.path == scope.start.path;
  return ToLowerAscii(resolved.path).find(ToLowerAscii(scope.start.path)) != std::string::npos;
}

bool InScope(const std::string& url, std::string_view base, const ScanScope& scope) {
  const UrlParts resolved(url);
  const bool keyword = ContainsAnyKeyword(url, scope.keywords);
  if (!InStartFolder(resolved, scope) && !keyword) return false;
  if (resolved.host != UrlParts(base).host && !keyword) return false;
  if (resolved.file.find("https:") != std::string::npos) return false;
  return keyword || scope.keywords.empty() || !scope.keywordMustExist;
}

}  // namespace

bool IsURL(std::string_view url) {
  const std::size_t colon = url.find(':');
  // One letter before the colon would be a drive, not a scheme.
  if (colon == std::string_view::npos || colon < 2 || colon + 1 == url.size()) return false;
  const std::string_view scheme = url.substr(0, colon);
  if (!IsLetter(scheme[0]) || !std::all_of(scheme.begin(), scheme.end(), IsSchemeChar)) {
    return false;
  }
  return std::none_of(url.begin(), url.end(),
                      [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == '\x7f'; });
}

std::optional<std::string> AcceptPageLink(std::string_view base, std::string_view link,
                                          LinkKind kind, ScanScope& scope) {
  std::string resolved = ResolveURL(base, link, scope);
  if (scope.social.active && !AcceptSocialLink(resolved, scope.social)) return std::nullopt;
  if (resolved.empty() || resolved.find('\'') != std::string::npos || !IsURL(resolved)) {
    return std::nullopt;
  }
  if (kind == LinkKind::Photo || InScope(resolved, base, scope)) return resolved;
  return std::nullopt;
}

std::optional<PhotoLink> AcceptPhotoLink(std::string_view link, std::string_view base,
                                         ScanScope& scope, PhotoSource source) {
  if (IsSkippedFile(link, scope.skipList)) return std::nullopt;
  const std::optional<std::string> resolved = AcceptPageLink(base, link, LinkKind::Photo, scope);
  if (!resolved) return std::nullopt;
  const std::string file = UrlParts(*resolved).file;
  const bool named = IsPhotoLink(scope.formats, file);
  const bool byAnswer = !named && source == PhotoSource::Image && !NamesAnyPhoto(file);
  if (!named && !byAnswer) return std::nullopt;

  // The query stays: a size or format asked for in it is the photo the page shows.
  PhotoLink photo;
  photo.url = Trim(*resolved);
  ReplaceAll(photo.url, "///", "/");
  photo.fileName = UrlParts(photo.url).file;
  photo.fileName.erase(std::min(photo.fileName.find_first_of("?#"), photo.fileName.size()));
  photo.byAnswer = byAnswer;
  return photo;
}

}  // namespace trawlix
