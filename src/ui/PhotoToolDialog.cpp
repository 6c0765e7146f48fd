#include "ui/PhotoToolDialog.h"

#include "ui/DeletePhotosToolDialog.h"
#include "ui/GrayscaleToolDialog.h"
#include "ui/RenameToolDialog.h"
#include "ui/ResizeToolDialog.h"
#include "ui/ThumbnailToolDialog.h"

namespace trawlix::ui {

std::unique_ptr<BatchToolDialog> MakePhotoToolDialog(PhotoTool tool, DataSession& session,
                                                     const CProjectsRecord& project,
                                                     MessageSink& messages, QWidget* parent) {
  switch (tool) {
    case PhotoTool::Rename:
      return std::make_unique<RenameToolDialog>(project, messages, parent);
    case PhotoTool::Thumbnails:
      return std::make_unique<ThumbnailToolDialog>(session, project, messages, parent);
    case PhotoTool::Resize:
      return std::make_unique<ResizeToolDialog>(session, project, messages, parent);
    case PhotoTool::Grayscale:
      return std::make_unique<GrayscaleToolDialog>(project, messages, parent);
    case PhotoTool::DeletePhotos:
      return std::make_unique<DeletePhotosToolDialog>(project, messages, parent);
  }
  return nullptr;
}

}  // namespace trawlix::ui
