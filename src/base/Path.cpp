#include "base/Path.h"

#include "base/Text.h"

namespace trawlix {

PathParts SplitPath(std::string_view path) {
  PathParts parts;
  std::size_t slash = path.rfind('/');
  std::string_view name = path;
  if (slash != std::string_view::npos) {
    parts.folder = std::string(path.substr(0, slash + 1));
    name = path.substr(slash + 1);
  }
  std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) {
    parts.title = std::string(name);
  } else {
    parts.title = std::string(name.substr(0, dot));
    parts.extension = std::string(name.substr(dot));
  }
  return parts;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

std::string NormalizeFolderPath(std::string_view path, TrailingSlash slash, LetterCase letterCase) {
  std::string out = Trim(path);
  if (letterCase == LetterCase::Lower) out = ToLowerAscii(out);
  if (out.empty()) return out;
  if (slash == TrailingSlash::Add) {
    if (out.back() != '/') out.push_back('/');
  } else if (out.back() == '/' && out.size() > 1) {
    out.pop_back();
  }
  return out;
}

}  // namespace trawlix
