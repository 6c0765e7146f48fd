#include "scan/markup/PhotoLinkTest.h"

#include <algorithm>
#include <array>
#include <string>

#include "base/Text.h"

namespace trawlix {

namespace {

constexpr std::array<std::string_view, 27> kKnownFileExtensions = {
    ".gif",   ".jpg", ".jpeg", ".jpgx", ".webp", ".avif", ".png",   ".tif",  ".tiff",
    ".bmp",   ".htm", ".html", ".css",  ".cgi",  ".pl",   ".js",    ".java", ".class",
    ".jhtml", ".asp", ".aspx", ".cfm",  ".cfml", ".shtm", ".shtml", ".php",  ".php3"};

// Photo names followed by a blank: how a name that ends right before a "?" is recognised.
constexpr std::array<std::string_view, 9> kPhotoNamesBeforeQuery = {
    ".jpg ", ".png ", ".bmp ", ".gif ", ".tif ", ".tiff ", ".jpeg ", ".webp ", ".avif "};

struct FormatExtension {
  std::string_view extension;
  bool PhotoFormats::*enabled;
};

// ".jpeg" counts as JPEG: sites use both spellings, and a user who wants JPEG photos wants both.
// WebP and AVIF photos are stored as JPEG, so they come with JPEG too.
constexpr std::array<FormatExtension, 10> kFormatExtensions = {{
    {".jpg", &PhotoFormats::jpeg},
    {".jpeg", &PhotoFormats::jpeg},
    {".jpgx", &PhotoFormats::jpeg},
    {".webp", &PhotoFormats::jpeg},
    {".avif", &PhotoFormats::jpeg},
    {".png", &PhotoFormats::png},
    {".gif", &PhotoFormats::gif},
    {".bmp", &PhotoFormats::bmp},
    {".tif", &PhotoFormats::tif},
    {".tiff", &PhotoFormats::tif},
}};

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

}  // namespace

std::string_view WithoutPhotoQuery(std::string_view url) {
  const std::size_t q = url.find('?');
  if (q == std::string_view::npos) return url;
  const std::string head = ToLowerAscii(Trim(url.substr(0, q))) + " ";
  const bool photo =
      std::any_of(kPhotoNamesBeforeQuery.begin(), kPhotoNamesBeforeQuery.end(),
                  [&](std::string_view name) { return head.find(name) != std::string::npos; });
  return photo ? url.substr(0, q) : url;
}

bool IsPhotoLink(const PhotoFormats& formats, std::string_view linkText) {
  std::string link = ToLowerAscii(Trim(linkText));
  // An onclick handler names its photo inside a call, like a script link does.
  const bool script = link.find("javascript:") != std::string::npos || link.starts_with("onclick=");
  // A fragment is never part of the file's name; a script's argument may hold a "#".
  if (!script) link.erase(std::min(link.find('#'), link.size()));
  link = Trim(WithoutPhotoQuery(link));

  const bool photo = std::any_of(
      kFormatExtensions.begin(), kFormatExtensions.end(), [&](const FormatExtension& f) {
        if (!(formats.*f.enabled)) return false;
        return script ? link.find(f.extension) != std::string::npos : EndsWith(link, f.extension);
      });
  return photo || link.find(".jpg.html") != std::string::npos;
}

bool NamesAnyPhoto(std::string_view linkText) {
  constexpr PhotoFormats kEvery{true, true, true, true, true, false};
  return IsPhotoLink(kEvery, linkText);
}

bool LooksLikeFileLink(std::string_view linkText) {
  const std::string link = ToLowerAscii(linkText);
  if (link.find_first_of("?=") != std::string::npos) return true;
  return std::any_of(kKnownFileExtensions.begin(), kKnownFileExtensions.end(),
                     [&](std::string_view ext) { return link.find(ext) != std::string::npos; });
}

}  // namespace trawlix
