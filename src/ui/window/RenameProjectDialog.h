#pragma once

#include <QDialog>

#include "operations/ProjectOperations.h"
#include "storage/ProjectsRecord.h"

class QLineEdit;

namespace trawlix {
class MessageSink;
}

namespace trawlix::ui {

// Asks for a project's new name and the new name of its save-to folder (same parent).
class RenameProjectDialog : public QDialog {
  Q_OBJECT

 public:
  RenameProjectDialog(const ProjectsRecord& project, MessageSink& messages,
                      QWidget* parent = nullptr);

  // The names typed, trimmed; meaningful after Accepted.
  ProjectRename rename() const;

  void accept() override;

 private:
  MessageSink& messages_;
  QLineEdit* title_;
  QLineEdit* folderName_;
};

}  // namespace trawlix::ui
