#include "scan/store/MirroredFolder.h"

#include <algorithm>
#include <filesystem>
#include <string_view>

#include "base/Text.h"

namespace trawlix {

namespace {

std::string Normal(const std::string& folder) {
  std::string normal = std::filesystem::path(folder).lexically_normal().string();
  while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
  return normal;
}

}  // namespace

std::string MirroredFolder(const std::string& saveTo, const std::string& pageFolderPath,
                           const std::string& startFolderPath,
                           const std::vector<std::string>& copyFolders) {
  std::vector<std::string> reserved;
  for (const std::string& copies : copyFolders)
    if (!copies.empty()) reserved.push_back(Normal(copies));
  std::string relative = pageFolderPath;
  if (!startFolderPath.empty()) ReplaceAll(relative, startFolderPath, "/");
  for (const char* blank : {"%20", "+", "%2B", "_"}) ReplaceAll(relative, blank, " ");

  std::string folder = saveTo;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  std::string_view rest = relative;
  while (!rest.empty()) {
    const auto slash = rest.find('/');
    const std::string_view segment = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash + 1);
    if (segment.empty() || segment == "." || segment == "..") continue;
    if (folder != "/") folder += '/';
    folder += segment;
    if (std::find(reserved.begin(), reserved.end(), Normal(folder)) != reserved.end())
      folder += " (site)";
  }
  return folder;
}

}  // namespace trawlix
