#include "ui/tools/PhotoToolDialog.h"

#include "operations/DataSession.h"
#include "ui/tools/DeletePhotosToolDialog.h"
#include "ui/tools/GrayscaleToolDialog.h"
#include "ui/tools/RenameToolDialog.h"
#include "ui/tools/ResizeToolDialog.h"
#include "ui/tools/ThumbnailToolDialog.h"

namespace trawlix::ui {

std::unique_ptr<BatchToolDialog> MakePhotoToolDialog(PhotoTool tool, DataSession& session,
                                                     const ProjectsRecord& project,
                                                     MessageSink& messages, QWidget* parent) {
  std::unique_ptr<BatchToolDialog> dialog;
  switch (tool) {
    case PhotoTool::Rename:
      dialog = std::make_unique<RenameToolDialog>(project, messages, parent);
      break;
    case PhotoTool::Thumbnails:
      dialog = std::make_unique<ThumbnailToolDialog>(session, project, messages, parent);
      break;
    case PhotoTool::Resize:
      dialog = std::make_unique<ResizeToolDialog>(session, project, messages, parent);
      break;
    case PhotoTool::Grayscale:
      dialog = std::make_unique<GrayscaleToolDialog>(project, messages, parent);
      break;
    case PhotoTool::DeletePhotos:
      dialog = std::make_unique<DeletePhotosToolDialog>(project, messages, parent);
      break;
  }
  if (dialog) dialog->SetLockFolder(session.settings().Paths().tempFolder);
  return dialog;
}

}  // namespace trawlix::ui
