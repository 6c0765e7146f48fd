#pragma once

#include <QDialog>
#include <vector>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace trawlix {
class DataSession;
class MessageSink;
}  // namespace trawlix

namespace trawlix::ui {

class ExportDialogDetails;
class ImportExportDialogList;

// Writes the projects checked in a list, shown by category, to one exchange file.
class ExportProjectsDialog : public QDialog {
  Q_OBJECT

 public:
  // Starts with the projects of `categoryId` (kAllCategoriesId: all) and `checkedProjectId`
  // checked, as the main window shows them.
  ExportProjectsDialog(DataSession& session, MessageSink& messages, int categoryId,
                       int checkedProjectId, QWidget* parent = nullptr);

  ExportDialogDetails* details() const { return details_; }
  QComboBox* categoryBox() const { return category_; }
  ImportExportDialogList* list() const { return list_; }
  QLabel* counter() const { return counter_; }
  QLabel* progressText() const { return progressText_; }
  QProgressBar* progressBar() const { return progress_; }
  QPushButton* exportButton() const { return exportButton_; }

  // Writes the checked projects as the export button does; the dialog closes when the file
  // was written.
  void Export();

 private:
  void FillList();
  void UpdateControls();

  DataSession& session_;
  MessageSink& messages_;
  ExportDialogDetails* details_;
  QComboBox* category_;
  ImportExportDialogList* list_;
  QLabel* counter_;
  QLabel* progressText_;
  QProgressBar* progress_;
  QPushButton* exportButton_;
  std::vector<int> keepChecked_;  // checks that survive a change of category
};

}  // namespace trawlix::ui
