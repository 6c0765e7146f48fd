#include "storage/ProjectFolderCheck.h"

#include "base/Text.h"

namespace trawlix {

namespace {

bool IsControl(unsigned char c) {
  return c < 0x20 || c == 0x7F;
}

// C1 controls arrive in UTF-8 as 0xC2 0x80..0x9F.
bool IsC1At(std::string_view text, std::size_t i) {
  return static_cast<unsigned char>(text[i]) == 0xC2 && i + 1 < text.size() &&
         static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
         static_cast<unsigned char>(text[i + 1]) <= 0x9F;
}

bool HasControl(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsControl(static_cast<unsigned char>(text[i])) || IsC1At(text, i)) return true;
  }
  return false;
}

std::optional<std::string> Named(std::string_view what, std::optional<std::string> problem) {
  if (!problem) return std::nullopt;
  return "The " + std::string(what) + " " + *problem +
         "\n\nPlease choose the folder again in the project's settings.";
}

// Cuts at a byte count without leaving half a UTF-8 character behind.
std::string CutUtf8(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return std::string(text);
  std::size_t end = maxBytes;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return std::string(text.substr(0, end));
}

}  // namespace

std::optional<std::string> FolderPathProblem(std::string_view path) {
  // Appended rather than "\"" + ...: GCC 12 reports a false -Wrestrict for the latter.
  std::string shown(1, '"');
  shown.append(path).push_back('"');
  if (HasControl(path)) return shown + " contains control characters.";
  if (path.empty() || path.front() != '/') return shown + " is not a full path.";
  // One trailing slash is how folders are often written; every other part must be a name.
  std::string_view rest = path.substr(1);
  if (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);
  if (rest.empty()) return std::nullopt;  // the root itself
  while (true) {
    const std::size_t slash = rest.find('/');
    const std::string_view part = rest.substr(0, slash);
    if (part.empty()) return shown + " contains an empty folder name (\"//\").";
    if (part == "." || part == "..") {
      return shown + " contains \"" + std::string(part) + "\" and so points elsewhere.";
    }
    if (slash == std::string_view::npos) return std::nullopt;
    rest.remove_prefix(slash + 1);
  }
}

std::optional<std::string> ProjectFoldersProblem(const ProjectsRecord& project) {
  if (auto problem = Named("destination folder", FolderPathProblem(project.saveTo))) {
    return problem;
  }
  if (project.autoCreateThumbnails) {
    if (auto problem = Named("thumbnails folder", FolderPathProblem(project.thumbnailSaveTo))) {
      return problem;
    }
  }
  if (project.autoCreateMobile) {
    if (auto problem = Named("Mobile Photos folder", FolderPathProblem(project.mobileSaveTo))) {
      return problem;
    }
  }
  return std::nullopt;
}

std::string SafeFolderName(std::string_view text, std::size_t maxBytes) {
  std::string name;
  name.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (IsC1At(text, i)) {
      name += '_';
      ++i;
    } else if (IsControl(c) || c == '/' || c == '\\') {
      name += '_';
    } else {
      name += static_cast<char>(c);
    }
  }
  name = Trim(CutUtf8(Trim(name), maxBytes));
  // Names of dots only are the folder itself or its parent (or look like them).
  if (name.empty() || name.find_first_not_of('.') == std::string::npos) return "_";
  return name;
}

}  // namespace trawlix
