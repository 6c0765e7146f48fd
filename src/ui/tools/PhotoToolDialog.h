#pragma once

#include <memory>

#include "ui/tools/BatchToolDialog.h"

namespace trawlix {
class DataSession;
}

namespace trawlix::ui {

enum class PhotoTool { Rename, Thumbnails, Resize, Grayscale, DeletePhotos };

// The dialog of one photo tool for the project.
std::unique_ptr<BatchToolDialog> MakePhotoToolDialog(PhotoTool tool, DataSession& session,
                                                     const ProjectsRecord& project,
                                                     MessageSink& messages, QWidget* parent);

}  // namespace trawlix::ui
