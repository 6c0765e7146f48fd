#pragma once

#include "ui/tools/BatchToolDialog.h"

namespace trawlix::ui {

// Deletes the project's photos from the disk after a question; the thumbnail and mobile
// folders are not part of the work list and stay.
class DeletePhotosToolDialog : public BatchToolDialog {
  Q_OBJECT

 public:
  DeletePhotosToolDialog(const ProjectsRecord& project, MessageSink& messages,
                         QWidget* parent = nullptr);

 protected:
  std::unique_ptr<BatchJob> CreateJob() override;
  QString Caption() const override;
};

}  // namespace trawlix::ui
