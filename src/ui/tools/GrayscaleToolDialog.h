#pragma once

#include <QString>
#include <functional>

#include "ui/tools/BatchToolDialog.h"

class QCheckBox;
class QRadioButton;

namespace trawlix::ui {

class FolderBrowser;

// Turns the project's photos to grayscale, in place or as copies in another folder.
class GrayscaleToolDialog : public BatchToolDialog {
  Q_OBJECT

 public:
  GrayscaleToolDialog(const ProjectsRecord& project, MessageSink& messages,
                      QWidget* parent = nullptr);

  QRadioButton* replaceRadio() const { return replace_; }
  QRadioButton* folderRadio() const { return toFolder_; }
  FolderBrowser* folderBrowser() const { return folder_; }
  QCheckBox* openCheck() const { return open_; }

  // Opens a folder for the user; replaceable in tests.
  void SetFolderOpener(std::function<void(const QString&)> opener) { opener_ = std::move(opener); }

 protected:
  std::unique_ptr<BatchJob> CreateJob() override;
  QString Caption() const override;
  void AfterRun(const BatchJob& job) override;

 private:
  void UpdateControls();

  QRadioButton* replace_ = nullptr;
  QRadioButton* toFolder_ = nullptr;
  FolderBrowser* folder_ = nullptr;
  QCheckBox* open_ = nullptr;
  std::function<void(const QString&)> opener_;
  QString runFolder_;
};

}  // namespace trawlix::ui
