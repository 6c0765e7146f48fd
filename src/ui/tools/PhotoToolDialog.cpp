#include "ui/tools/PhotoToolDialog.h"

#include "ui/tools/DeletePhotosToolDialog.h"
#include "ui/tools/GrayscaleToolDialog.h"
#include "ui/tools/RenameToolDialog.h"
#include "ui/tools/ResizeToolDialog.h"
#include "ui/tools/ThumbnailToolDialog.h"

namespace trawlix::ui {

std::unique_ptr<BatchToolDialog> MakePhotoToolDialog(PhotoTool tool, DataSession& session,
                                                     const ProjectsRecord& project,
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
