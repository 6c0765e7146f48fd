#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

#include "ui/window/MainWindowCheckList.h"

namespace trawlix::ui {

// The check list of projects the import and export dialogs share: "Project", "Links",
// "Photos" and "Category", with column widths kept in the profile under the dialog's keys.
class ImportExportDialogList : public MainWindowCheckList {
  Q_OBJECT

 public:
  enum class Keys { Import, Export };

  ImportExportDialogList(Keys keys, const QString& accessibleName, QWidget* parent = nullptr);
  ~ImportExportDialogList() override;

  void BeginRows() { BeginFill(); }
  void AddProject(int id, const std::string& title, std::int64_t links, std::int64_t photos,
                  const std::string& category, bool checked);
  void EndRows() { EndFill(); }

  // The row's title (the first column's text).
  QString titleAt(int row) const;
};

}  // namespace trawlix::ui
