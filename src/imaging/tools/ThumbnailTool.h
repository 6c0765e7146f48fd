#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "imaging/codec/PhotoCodec.h"
#include "imaging/tools/BatchJob.h"

namespace trawlix {

// One kind of small copy: thumbnails or mobile photos.
struct SmallCopyOptions {
  bool create = false;
  int box = 0;
  PhotoFormat format = PhotoFormat::Jpeg;
  PhotoOrientation orientation = PhotoOrientation::Any;
  std::string folder;
  bool clearFirst = false;  // delete the photos already in the folder
};

struct ThumbnailToolOptions {
  SmallCopyOptions thumbnails;
  SmallCopyOptions mobile;
  int jpegQuality = 95;
  std::optional<int> dpi;
};

enum class ThumbnailToolField { None, ThumbnailFolder, MobileFolder };

struct ThumbnailToolProblem {
  ThumbnailToolField field = ThumbnailToolField::None;
  std::string message;
};

// Writes the copies of one photo as SaveResizedCopies does; replaceable for tests.
using SmallCopyWriter = std::function<std::vector<SavedPhoto>(
    const std::string& source, const std::vector<ResizedCopy>& copies)>;

// Makes thumbnails and mobile copies of each photo; the photos themselves are only read.
class ThumbnailTool : public BatchJob {
 public:
  ThumbnailTool(std::vector<std::string> photos, ThumbnailToolOptions options,
                SmallCopyWriter writer = {});

  // The first problem with the options, in the order the dialog checks them. A missing
  // folder is a problem unless `createFolders` is set.
  static std::optional<ThumbnailToolProblem> Check(const ThumbnailToolOptions& options,
                                                   const std::string& saveTo, bool createFolders);

  // Creates the chosen folders and clears them when asked; `status` gets the text to show.
  // False when a folder could not be created.
  bool Prepare(const std::function<void(const std::string&)>& status = {});

  std::string ProgressText() const override;
  std::string Summary() const override;

 protected:
  bool Handle(std::size_t index) override;

 private:
  ThumbnailToolOptions options_;
  SmallCopyWriter writer_;
};

}  // namespace trawlix
