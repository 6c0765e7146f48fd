#include "ui/window/MainWindowTexts.h"

#include <filesystem>

#include "base/Text.h"

namespace trawlix::ui {

namespace {

std::optional<std::size_t> WebAddressStart(std::string_view text) {
  const std::size_t http = FindNoCase(text, "http://");
  const std::size_t https = FindNoCase(text, "https://");
  const std::size_t start = std::min(http, https);
  if (start == std::string_view::npos) return std::nullopt;
  return start;
}

// The folder's part below `base` when it lies inside it ("Thumbs", "sub/Thumbs"), else empty.
std::string PartBelow(const std::string& folder, const std::string& base) {
  namespace fs = std::filesystem;
  const fs::path relative =
      fs::path(folder).lexically_normal().lexically_relative(fs::path(base).lexically_normal());
  std::string text = relative.generic_string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();  // "Thumbs/" names "Thumbs"
  if (text.empty() || text == "." || text.starts_with("..")) return {};
  return text;
}

QString FolderLabel(const std::string& folder, const std::string& saveTo, const char* fallback) {
  std::string name = PartBelow(folder, saveTo);
  if (name.empty()) name = fallback;
  return QStringLiteral("Open '") + MenuItemText(name) + QStringLiteral("' Folder");
}

}  // namespace

QString PlainText(std::string_view labelText) {
  return QString::fromStdString(ReplacedAll(labelText, "&&", "&"));
}

QString MenuItemText(std::string_view name) {
  return QString::fromStdString(ReplacedAll(name, "&", "&&"));
}

QString WindowCaption(const ProjectsRecord* project) {
  if (project == nullptr) return QStringLiteral("Trawlix() PRO");
  return QStringLiteral("Trawlix() PRO - '") + QString::fromStdString(project->title) +
         QStringLiteral("'");
}

std::optional<std::string> PastedAddress(std::string_view clipboard, std::string_view urlBox) {
  std::string text = Trim(clipboard);
  if (!WebAddressStart(text) || text == Trim(urlBox)) return std::nullopt;
  // A line break would end up inside the stored address.
  if (text.find_first_of("\r\n") != std::string::npos) return std::nullopt;
  return text;
}

std::optional<std::string> VisitAddress(std::string_view urlBox) {
  const std::string text = Trim(urlBox);
  const auto start = WebAddressStart(text);
  if (!start) return std::nullopt;
  return text.substr(*start);
}

SaveToMenuTexts SaveToMenuLabels(const ProjectsRecord& project) {
  SaveToMenuTexts texts;
  texts.saveToSet = !project.saveTo.empty();
  texts.thumbnailsSet = !project.thumbnailSaveTo.empty();
  texts.mobileSet = !project.mobileSaveTo.empty();
  texts.thumbnails = FolderLabel(project.thumbnailSaveTo, project.saveTo, "Thumbnails");
  texts.mobile = FolderLabel(project.mobileSaveTo, project.saveTo, "Mobile Photos");
  texts.all =
      QStringLiteral("Open All '") + MenuItemText(project.title) + QStringLiteral("' Folders");
  return texts;
}

QString PasteToolTip(int pasteAndGo) {
  return pasteAndGo == 1 ? QStringLiteral("Paste URL from Clipboard & Automatically Go")
                         : QStringLiteral("Paste URL from Clipboard then Click Green 'Go' Button");
}

}  // namespace trawlix::ui
