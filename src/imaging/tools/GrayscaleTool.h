#pragma once

#include <functional>
#include <string>
#include <vector>

#include "imaging/tools/BatchJob.h"

namespace trawlix {

struct GrayscaleToolOptions {
  bool replace = true;
  std::string folder;  // where the grayscale photos go when not replacing
};

// Turns one photo into a grayscale file; replaceable so that failing disks can be tried.
using GrayscaleConverter =
    std::function<bool(const std::string& source, const std::string& target)>;

// Grayscale copies of the photos in another folder, or in place of the photos. A photo
// being replaced waits under a temporary name until its grayscale file is written, and
// goes back to its own name when that fails.
class GrayscaleTool : public BatchJob {
 public:
  GrayscaleTool(std::vector<std::string> photos, GrayscaleToolOptions options,
                GrayscaleConverter converter = {});

  std::string ProgressText() const override;
  std::string Summary() const override;

 protected:
  bool Handle(std::size_t index) override;

 private:
  GrayscaleToolOptions options_;
  GrayscaleConverter converter_;
};

}  // namespace trawlix
