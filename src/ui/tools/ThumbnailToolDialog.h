#pragma once

#include "imaging/tools/ThumbnailTool.h"
#include "ui/tools/BatchToolDialog.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace trawlix {
class DataSession;
}

namespace trawlix::ui {

class FolderBrowser;

// Creates thumbnails and mobile photos of the project's photos; the chosen options become
// the project's own.
class ThumbnailToolDialog : public BatchToolDialog {
  Q_OBJECT

 public:
  // The controls of one kind of copy.
  struct CopyControls {
    QCheckBox* create = nullptr;
    QSpinBox* box = nullptr;
    QComboBox* format = nullptr;
    QComboBox* orientation = nullptr;
    FolderBrowser* folder = nullptr;
    QCheckBox* clear = nullptr;
  };

  ThumbnailToolDialog(DataSession& session, const ProjectsRecord& project, MessageSink& messages,
                      QWidget* parent = nullptr);

  const CopyControls& thumbnails() const { return thumbs_; }
  const CopyControls& mobile() const { return mobile_; }

 protected:
  std::unique_ptr<BatchJob> CreateJob() override;
  QString Caption() const override;
  int ExtraSteps() const override { return 2; }

 private:
  QWidget* MakeGroup(CopyControls& controls, bool thumbnails, QWidget* parent);
  void UpdateControls();

  DataSession& session_;
  CopyControls thumbs_;
  CopyControls mobile_;
};

}  // namespace trawlix::ui
