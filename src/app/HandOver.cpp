#include "app/HandOver.h"

#include "base/Text.h"

namespace trawlix::app {

namespace {

constexpr std::string_view kProgramPathEnd = ".exe\"";
constexpr std::string_view kExportMarker = ".txexport";

// An export file is named when the marker comes after at least one character of a name.
std::string ExportPathOrEmpty(std::string path) {
  const std::size_t at = FindNoCase(path, kExportMarker);
  if (at == std::string::npos || at == 0) return {};
  return path;
}

}  // namespace

std::string HandOverText(const std::string& commandLine) {
  return commandLine.size() <= kMaxHandOverLength ? commandLine : std::string();
}

std::string JoinCommandLine(const std::vector<std::string>& arguments) {
  std::string text;
  for (const std::string& argument : arguments) {
    if (!text.empty()) text += ' ';
    if (argument.find(' ') != std::string::npos) {
      text += '"' + argument + '"';
    } else {
      text += argument;
    }
  }
  return text;
}

std::string SecondStartText(const std::vector<std::string>& files, const std::string& workingDir) {
  std::vector<std::string> absolute;
  for (const std::string& file : files) {
    if (file.starts_with('/') || workingDir.empty()) {
      absolute.push_back(file);
    } else if (workingDir.ends_with('/')) {
      absolute.push_back(workingDir + file);
    } else {
      absolute.push_back(workingDir + '/' + file);
    }
  }
  return HandOverText(JoinCommandLine(absolute));
}

std::string ImportPathFromHandOver(const std::string& text) {
  std::string rest = text;
  const std::size_t programEnd = FindNoCase(rest, kProgramPathEnd);
  if (programEnd != std::string::npos) rest.erase(0, programEnd + kProgramPathEnd.size());
  rest = Trim(rest);
  RemoveAll(rest, '"');
  return ExportPathOrEmpty(std::move(rest));
}

std::string ImportPathFromArgument(const std::string& argument) {
  return ExportPathOrEmpty(argument);
}

}  // namespace trawlix::app
