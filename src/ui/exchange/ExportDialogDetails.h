#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <string>

#include "exchange/ProjectExporter.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace trawlix {
class MessageSink;
}

namespace trawlix::ui {

// What both export dialogs ask besides the projects: the file to write, the sample photo,
// the exporter's own details ("my information") and a description.
class ExportDialogDetails : public QWidget {
  Q_OBJECT

 public:
  // Asks for a file: title, starting path, filter; empty when cancelled.
  using FileChooser = std::function<QString(QWidget* parent, const QString& title,
                                            const QString& start, const QString& filter)>;

  // `start` gives the details, the include check and the photo; `suggestedName` is the
  // file name the file chooser offers first.
  ExportDialogDetails(const exchange::ExportRequest& start, const QString& suggestedName,
                      MessageSink& messages, QWidget* parent = nullptr);

  QString path() const;
  void setPath(const QString& path);
  const std::string& photoPath() const { return photoPath_; }

  // Shows the picture as the sample photo; false, after telling the user, when it cannot be
  // read (the previous photo stays).
  bool ChoosePhoto(const QString& path);
  // The file chooser of the "..." button and the photo chooser of "Choose Photo".
  void BrowsePath();
  void BrowsePhoto();
  void SetSaveChooser(FileChooser chooser) { saveChooser_ = std::move(chooser); }
  void SetPhotoChooser(FileChooser chooser) { photoChooser_ = std::move(chooser); }

  // Fills the target, description, details and photo of `request`. The target gets the
  // ".txexport" extension; a file typed over an existing one is replaced only after the user
  // agreed (the chooser asked already). False when the user declined or gave no path.
  bool Fill(exchange::ExportRequest& request);

  // Disables every field while an export runs.
  void SetBusy(bool busy);

  QLineEdit* pathEdit() const { return path_; }
  QToolButton* browseButton() const { return browse_; }
  QCheckBox* includeInfo() const { return includeInfo_; }
  QLineEdit* nameEdit() const { return name_; }
  QLineEdit* emailEdit() const { return email_; }
  QLineEdit* websiteEdit() const { return website_; }
  QPlainTextEdit* descriptionEdit() const { return description_; }
  QLabel* photo() const { return photo_; }
  QPushButton* choosePhotoButton() const { return choosePhoto_; }

 Q_SIGNALS:
  // The file path's text changed: the export button follows it.
  void pathChanged(const QString& path);

 private:
  void UpdateInfoFields();

  MessageSink& messages_;
  QString suggestedName_;
  QString confirmedPath_;  // the chooser already asked about replacing this one
  std::string photoPath_;
  QLineEdit* path_;
  QToolButton* browse_;
  QLabel* photo_;
  QPushButton* choosePhoto_;
  QCheckBox* includeInfo_;
  QLineEdit* name_;
  QLineEdit* email_;
  QLineEdit* website_;
  QPlainTextEdit* description_;
  FileChooser saveChooser_;
  FileChooser photoChooser_;
};

}  // namespace trawlix::ui
