#pragma once

#include <array>
#include <string>
#include <string_view>

namespace trawlix {

// A URL cut into scheme ("http://"), host, path (from the first "/" after the host to the last
// "/" before the file, always beginning with "/") and file (file name and query). Scheme + host
// + path + file rebuilds it.
struct UrlParts {
  UrlParts() = default;
  explicit UrlParts(std::string_view url);

  std::string Rebuild() const { return scheme + host + path + file; }

  static constexpr std::array<std::string_view, 19> kExtensions = {
      ".gif",   ".jpg", ".png",  ".tif", ".htm",  ".html", ".cgi",   ".pl",  ".js",  ".java",
      ".class", ".asp", ".aspx", ".cfm", ".cfml", ".shtm", ".shtml", ".php", ".php3"};

  std::string full;
  std::string scheme;
  std::string host;
  std::string path;
  std::string file;
};

// Replaces "//" by "/" in one pass, but only before the first "?": an address carried in a
// query ("go.php?to=http://x/") must reach the server as written.
void CollapseDoubleSlashes(std::string& url);

}  // namespace trawlix
