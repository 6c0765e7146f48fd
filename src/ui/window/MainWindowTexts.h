#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "storage/ProjectsRecord.h"

namespace trawlix::ui {

// Texts the main window derives from data, kept apart from the widgets.

// A label-convention text ("&&" for one ampersand) as plain text.
QString PlainText(std::string_view labelText);
// A name shown as a menu item, its ampersands doubled so none becomes a mnemonic.
QString MenuItemText(std::string_view name);

// "Trawlix() PRO - 'title'", or "Trawlix() PRO" without a project.
QString WindowCaption(const ProjectsRecord* project);

// The clipboard text to take as the project's new address: trimmed, a web address, and not
// the address already shown. Nothing otherwise.
std::optional<std::string> PastedAddress(std::string_view clipboard, std::string_view urlBox);

// The address "Visit URL" opens: the box's text from its first "http://" or "https://" on.
// Nothing when it holds no web address: the box may hold anything, and opening it with the
// desktop would run or open local files.
std::optional<std::string> VisitAddress(std::string_view urlBox);

// Labels of the save-to menu for one project.
struct SaveToMenuTexts {
  QString thumbnails;
  QString mobile;
  QString all;
  bool saveToSet = false;
  bool thumbnailsSet = false;
  bool mobileSet = false;
};
SaveToMenuTexts SaveToMenuLabels(const ProjectsRecord& project);

// The paste button's tool tip for the settings' paste-and-go behaviour.
QString PasteToolTip(int pasteAndGo);

}  // namespace trawlix::ui
