#pragma once

#include "ui/tools/BatchToolDialog.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace trawlix::ui {

// Renames the project's photos with a prefix and a number, or after their folders.
class RenameToolDialog : public BatchToolDialog {
  Q_OBJECT

 public:
  RenameToolDialog(const ProjectsRecord& project, MessageSink& messages, QWidget* parent = nullptr);

  QRadioButton* prefixRadio() const { return prefixMode_; }
  QLineEdit* prefixEdit() const { return prefix_; }
  QRadioButton* folderRadio() const { return folderMode_; }
  QCheckBox* sizeCheck() const { return size_; }
  QCheckBox* padCheck() const { return pad_; }
  QSpinBox* paddingSpin() const { return padding_; }
  QCheckBox* spacesCheck() const { return spaces_; }
  QCheckBox* dashesCheck() const { return dashes_; }

 protected:
  std::unique_ptr<BatchJob> CreateJob() override;
  QString Caption() const override;

 private:
  void UpdateControls();

  QRadioButton* prefixMode_ = nullptr;
  QLineEdit* prefix_ = nullptr;
  QRadioButton* folderMode_ = nullptr;
  QCheckBox* size_ = nullptr;
  QCheckBox* pad_ = nullptr;
  QSpinBox* padding_ = nullptr;
  QCheckBox* spaces_ = nullptr;
  QCheckBox* dashes_ = nullptr;
};

}  // namespace trawlix::ui
