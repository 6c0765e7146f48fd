#include "platform/UserFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "base/Path.h"
#include "base/Text.h"

namespace trawlix {

namespace {

constexpr std::size_t kMaxUserDirsFile = 64 * 1024;

std::string EnvOrEmpty(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

// Removes the quotes and backslash escapes of a shell double-quoted word.
std::string Unquote(std::string_view value) {
  std::string out;
  bool quoted = false;
  for (std::size_t i = 0; i < value.size(); ++i) {
    char c = value[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (c == '\\' && i + 1 < value.size()) {
      out.push_back(value[++i]);
    } else if (!quoted && IsBlank(c)) {
      break;  // an unquoted blank ends the word
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::string ReadUserDirsFile() {
  std::string config = EnvOrEmpty("XDG_CONFIG_HOME");
  if (config.empty() || config[0] != '/') config = HomeFolder() + "/.config";
  std::ifstream in(config + "/user-dirs.dirs", std::ios::binary);
  if (!in) return {};
  std::string text(kMaxUserDirsFile, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  return text;
}

std::string UserFolder(std::string_view key, const char* fallbackName) {
  const std::string home = HomeFolder();
  if (auto folder = ParseUserDirsEntry(ReadUserDirsFile(), key, home)) return *folder;
  return NormalizeFolderPath(home, TrailingSlash::Remove) + "/" + fallbackName;
}

}  // namespace

std::string HomeFolder() {
  std::string home = EnvOrEmpty("HOME");
  if (!home.empty()) return home;
  std::vector<char> buffer(16 * 1024);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
      found->pw_dir != nullptr) {
    return found->pw_dir;
  }
  return "/";
}

std::optional<std::string> ParseUserDirsEntry(std::string_view fileText, std::string_view key,
                                              std::string_view home) {
  std::optional<std::string> result;
  std::istringstream lines{std::string(fileText)};
  for (std::string line; std::getline(lines, line);) {
    std::string text = Trim(line);
    if (text.empty() || text[0] == '#') continue;
    std::size_t equals = text.find('=');
    if (equals == std::string::npos || Trim(text.substr(0, equals)) != key) continue;
    std::string value = Unquote(Trim(text.substr(equals + 1)));
    const std::string homeBase = NormalizeFolderPath(home, TrailingSlash::Remove);
    if (value == "$HOME") {
      value = homeBase;
    } else if (value.starts_with("$HOME/")) {
      value = homeBase + value.substr(5);
    } else if (value.empty() || value[0] != '/') {
      continue;
    }
    // The last assignment wins, as when the file is sourced by a shell.
    result = NormalizeFolderPath(value, TrailingSlash::Remove);
  }
  return result;
}

std::string DocumentsFolder() {
  return UserFolder("XDG_DOCUMENTS_DIR", "Documents");
}

std::string PicturesFolder() {
  return UserFolder("XDG_PICTURES_DIR", "Pictures");
}

std::string ProgramFolder() {
  std::error_code error;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "./";
  return NormalizeFolderPath(exe.parent_path().string(), TrailingSlash::Add);
}

}  // namespace trawlix
