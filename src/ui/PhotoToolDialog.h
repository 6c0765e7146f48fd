#pragma once

#include <memory>

#include "ui/BatchToolDialog.h"

namespace trawlix {
class DataSession;
}

namespace trawlix::ui {

enum class PhotoTool { Rename, Thumbnails, Resize, Grayscale, DeletePhotos };

// The dialog of one photo tool for the project.
std::unique_ptr<BatchToolDialog> MakePhotoToolDialog(PhotoTool tool, DataSession& session,
                                                     const CProjectsRecord& project,
                                                     MessageSink& messages, QWidget* parent);

}  // namespace trawlix::ui
