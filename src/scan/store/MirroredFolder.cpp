#include "scan/store/MirroredFolder.h"

#include <string_view>

#include "base/Text.h"

namespace trawlix {

std::string MirroredFolder(const std::string& saveTo, const std::string& pageFolderPath,
                           const std::string& startFolderPath) {
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
  }
  return folder;
}

}  // namespace trawlix
