#pragma once

#include <QDialog>
#include <QPointer>
#include <optional>
#include <string>

#include "exchange/ExchangeFile.h"
#include "exchange/ProjectImporter.h"
#include "ui/exchange/ImportResultsDialog.h"

class QComboBox;
class QLabel;
class QLayout;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace trawlix {
class DataSession;
class MessageSink;
}  // namespace trawlix

namespace trawlix::ui {

class ImportExportDialogList;

// Shows what an exchange file holds and imports the checked projects with their links, into
// one category or each into the category the file names, merging or skipping duplicates.
class ImportDialog : public QDialog {
  Q_OBJECT

 public:
  ImportDialog(DataSession& session, std::string path, exchange::ExchangeFile file,
               MessageSink& messages, QWidget* parent = nullptr);

  // The "created by" line for the file's header: the exporter's name and e-mail address, with
  // links to write to them and to their website. Texts from the file are escaped, and only
  // web addresses become website links. Empty when the file names nobody.
  static QString AuthorHtml(const exchange::ExchangeHeader& header);

  // The options as the controls give them.
  exchange::ImportOptions options() const;

  // Imports the checked projects as the import button does; the results follow shortly.
  void Import();
  // Opens the file's information, as its button does.
  void ShowInformation();

  const std::string& path() const { return path_; }
  const exchange::ExchangeFile& file() const { return file_; }
  const std::optional<exchange::ImportSummary>& lastSummary() const { return summary_; }
  // The results of the last import while they are shown.
  ImportResultsDialog* results() const { return results_; }

  QLabel* photo() const { return photo_; }
  QLabel* author() const { return author_; }
  QPlainTextEdit* description() const { return description_; }
  ImportExportDialogList* list() const { return list_; }
  QLabel* counter() const { return counter_; }
  QRadioButton* intoCategory() const { return intoCategory_; }
  QComboBox* categoryBox() const { return category_; }
  QRadioButton* useFileCategory() const { return useFileCategory_; }
  QRadioButton* mergeDuplicates() const { return merge_; }
  QRadioButton* skipDuplicates() const { return skip_; }
  QLabel* progressText() const { return progressText_; }
  QProgressBar* progressBar() const { return progress_; }
  QPushButton* importButton() const { return importButton_; }
  QPushButton* doneButton() const { return doneButton_; }
  QPushButton* informationButton() const { return informationButton_; }

 Q_SIGNALS:
  // Projects or links were written; the window refills its lists (and its categories).
  void ProjectsImported(bool categoriesCreated);

 private:
  QLayout* BuildAbout();
  QLayout* BuildListTitle();
  QWidget* BuildList();
  QLayout* BuildOptions();
  QLayout* BuildStatusRow();
  QWidget* BuildButtons();
  void ConnectControls();
  void SetTabOrder();
  void FillCategories(const QString& select);
  void ShowPhoto();
  void ShowProgress(bool show);
  void UpdateControls();
  void ShowResults();

  DataSession& session_;
  MessageSink& messages_;
  std::string path_;
  exchange::ExchangeFile file_;
  std::optional<exchange::ImportSummary> summary_;
  bool importing_ = false;
  QPointer<ImportResultsDialog> results_;

  QLabel* photo_;
  QLabel* author_;
  QPlainTextEdit* description_;
  QPushButton* informationButton_;
  QPushButton* selectButton_ = nullptr;
  ImportExportDialogList* list_;
  QLabel* counter_;
  QRadioButton* intoCategory_;
  QComboBox* category_;
  QRadioButton* useFileCategory_;
  QRadioButton* merge_;
  QRadioButton* skip_;
  QLabel* progressText_;
  QProgressBar* progress_;
  QPushButton* importButton_;
  QPushButton* doneButton_;
};

}  // namespace trawlix::ui
