#include "platform/DesktopImageEditor.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace trawlix {

namespace fs = std::filesystem;

namespace {

std::vector<std::string> SplitList(const std::string& value, char separator) {
  std::vector<std::string> items;
  std::string item;
  std::istringstream in(value);
  while (std::getline(in, item, separator)) {
    if (!item.empty()) items.push_back(item);
  }
  return items;
}

// The keys of the [Desktop Entry] group; localised keys are left out.
std::map<std::string, std::string> ReadEntry(const fs::path& file) {
  std::map<std::string, std::string> keys;
  std::ifstream in(file);
  bool inEntry = false;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[') {
      inEntry = line == "[Desktop Entry]";
      continue;
    }
    const std::size_t equals = line.find('=');
    if (!inEntry || equals == std::string::npos) continue;
    std::string key = line.substr(0, equals);
    while (!key.empty() && key.back() == ' ') key.pop_back();
    if (key.find('[') != std::string::npos) continue;
    std::size_t start = equals + 1;
    while (start < line.size() && line[start] == ' ') ++start;
    keys.emplace(key, line.substr(start));
  }
  return keys;
}

bool Contains(const std::vector<std::string>& items, const std::string& wanted) {
  return std::find(items.begin(), items.end(), wanted) != items.end();
}

}  // namespace

std::vector<std::string> ApplicationFolders() {
  std::vector<std::string> folders;
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  if (dataHome != nullptr && *dataHome != '\0') {
    folders.push_back(std::string(dataHome) + "/applications");
  } else if (home != nullptr && *home != '\0') {
    folders.push_back(std::string(home) + "/.local/share/applications");
  }
  const char* dataDirs = std::getenv("XDG_DATA_DIRS");
  const std::string dirs =
      dataDirs != nullptr && *dataDirs != '\0' ? dataDirs : "/usr/local/share:/usr/share";
  for (const std::string& dir : SplitList(dirs, ':')) folders.push_back(dir + "/applications");
  return folders;
}

std::optional<DesktopCommand> ExecCommand(const std::string& exec, const std::string& path) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (std::size_t i = 0; i < exec.size(); ++i) {
    const char c = exec[i];
    if (quoted) {
      if (c == '"') {
        quoted = false;
      } else if (c == '\\' && i + 1 < exec.size()) {
        word += exec[++i];
      } else {
        word += c;
      }
    } else if (c == '"') {
      quoted = inWord = true;
    } else if (c == ' ' || c == '\t') {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (quoted) return std::nullopt;
  if (inWord) words.push_back(word);

  std::vector<std::string> expanded;
  for (const std::string& w : words) {
    if (w == "%f" || w == "%F" || w == "%u" || w == "%U") {
      expanded.push_back(path);
      continue;
    }
    std::string out;
    for (std::size_t i = 0; i < w.size(); ++i) {
      if (w[i] != '%' || i + 1 >= w.size()) {
        out += w[i];
      } else if (w[++i] == '%') {
        out += '%';
      }  // other field codes (%i %c %k and deprecated ones) are dropped
    }
    if (!out.empty()) expanded.push_back(out);
  }
  if (expanded.empty()) return std::nullopt;
  DesktopCommand command{expanded.front(), {expanded.begin() + 1, expanded.end()}};
  // An entry without a file field code still gets the photo.
  if (std::find(command.arguments.begin(), command.arguments.end(), path) ==
      command.arguments.end()) {
    command.arguments.push_back(path);
  }
  return command;
}

std::optional<DesktopCommand> ImageEditorCommand(const std::vector<std::string>& folders,
                                                 const std::string& mimeType,
                                                 const std::string& photoPath) {
  std::set<std::string> seen;  // an entry of a folder earlier in the list hides its namesakes
  for (const std::string& folder : folders) {
    std::error_code error;
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
      if (entry.path().extension() == ".desktop") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
      if (!seen.insert(file.filename().string()).second) continue;
      const auto keys = ReadEntry(file);
      const auto value = [&keys](const char* key) {
        const auto found = keys.find(key);
        return found == keys.end() ? std::string() : found->second;
      };
      const std::vector<std::string> categories = SplitList(value("Categories"), ';');
      if (value("Type") != "Application" || value("Hidden") == "true" ||
          !Contains(categories, "RasterGraphics") || Contains(categories, "Viewer") ||
          !Contains(SplitList(value("MimeType"), ';'), mimeType)) {
        continue;
      }
      if (const auto command = ExecCommand(value("Exec"), photoPath)) {
        if (!command->program.empty() &&
            (command->program.front() == '/' ? fs::exists(command->program)
                                             : ProgramOnPath(command->program))) {
          return command;
        }
      }
    }
  }
  return std::nullopt;
}

}  // namespace trawlix
