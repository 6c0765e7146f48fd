#pragma once

#include <QDialog>

#include "storage/ProjectsRecord.h"

class QPushButton;

namespace trawlix {
class DataSession;
class MessageSink;
}  // namespace trawlix

namespace trawlix::ui {

class ExportDialogDetails;

// Writes one project with its links to an exchange file.
class ExportProjectDialog : public QDialog {
  Q_OBJECT

 public:
  ExportProjectDialog(DataSession& session, const ProjectsRecord& project, MessageSink& messages,
                      QWidget* parent = nullptr);

  ExportDialogDetails* details() const { return details_; }
  QPushButton* exportButton() const { return exportButton_; }

  // Writes the file as the export button does; the dialog closes when it was written.
  void Export();

 private:
  DataSession& session_;
  MessageSink& messages_;
  ProjectsRecord project_;
  ExportDialogDetails* details_;
  QPushButton* exportButton_;
};

}  // namespace trawlix::ui
