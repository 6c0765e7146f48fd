#pragma once

#include "ui/tools/BatchToolDialog.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace trawlix {
class DataSession;
}

namespace trawlix::ui {

// Resizes and/or converts the project's photos in place; the chosen box and format become
// the project's own.
class ResizeToolDialog : public BatchToolDialog {
  Q_OBJECT

 public:
  ResizeToolDialog(DataSession& session, const ProjectsRecord& project, MessageSink& messages,
                   QWidget* parent = nullptr);

  QCheckBox* resizeCheck() const { return resize_; }
  QSpinBox* boxSpin() const { return box_; }
  QCheckBox* convertCheck() const { return convert_; }
  QComboBox* formatCombo() const { return format_; }

 protected:
  std::unique_ptr<BatchJob> CreateJob() override;
  QString Caption() const override;

 private:
  void UpdateControls();

  DataSession& session_;
  QCheckBox* resize_ = nullptr;
  QSpinBox* box_ = nullptr;
  QCheckBox* convert_ = nullptr;
  QComboBox* format_ = nullptr;
};

}  // namespace trawlix::ui
