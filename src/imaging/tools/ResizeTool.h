#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "imaging/codec/PhotoCodec.h"
#include "imaging/tools/BatchJob.h"

namespace trawlix {

struct ResizeToolOptions {
  bool resize = false;
  int box = 0;
  bool convert = false;
  PhotoFormat format = PhotoFormat::Jpeg;
  int jpegQuality = 95;
  std::optional<int> dpi;
  std::string saveTo;  // named in the summary
};

// Writes a photo as SavePhotoAs does; replaceable so that failing disks can be tried.
using PhotoSaver = std::function<SavedPhoto(
    const std::string& source, const std::string& folder, const std::string& fileName,
    std::optional<int> resizeBox, const PhotoEncoding& encoding)>;

// Resizes and/or converts each photo in place. The photo is moved to a temporary name
// while the new file is written; when that fails the photo goes back to its own name and
// is listed as failed. A conversion never replaces another file that holds the new name.
class ResizeTool : public BatchJob {
 public:
  ResizeTool(std::vector<std::string> photos, ResizeToolOptions options, PhotoSaver saver = {});

  std::string ProgressText() const override;
  std::string Summary() const override;

 protected:
  bool Handle(std::size_t index) override;

 private:
  ResizeToolOptions options_;
  PhotoSaver saver_;
};

}  // namespace trawlix
