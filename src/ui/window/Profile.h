#pragma once

#include <QSettings>
#include <QString>
#include <optional>
#include <string_view>

namespace trawlix::ui {

// The per-user profile: list column widths, the find options and the first start of the
// desktop program.
// Kept apart from the settings file; read when a window opens, written when it closes.
class Profile {
 public:
  Profile();

  // The width a list column starts with when the profile holds none; nothing for a key the
  // program does not know.
  static std::optional<int> DefaultColumnWidth(std::string_view key);

  // A missing or unusable stored width gives the key's default (100 for unknown keys).
  int ColumnWidth(std::string_view key) const;
  void SetColumnWidth(std::string_view key, int width);

  // The last text of the main window's find box.
  QString FindText() const;
  void SetFindText(const QString& text);

  // The find dialog matches titles that start with the text, else titles that contain it.
  bool FindStartsWith() const;
  void SetFindStartsWith(bool startsWith);

  // The window's first start shows the welcome page, whoever made the data folder first.
  bool WelcomeShown() const;
  void SetWelcomeShown();

  // Writes pending changes now; they are written on destruction anyway.
  void Sync();

 private:
  QSettings settings_;
};

}  // namespace trawlix::ui
