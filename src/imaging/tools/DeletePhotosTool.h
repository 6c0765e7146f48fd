#pragma once

#include <string>
#include <vector>

#include "imaging/tools/BatchJob.h"

namespace trawlix {

// Deletes the photos of a project, one per step.
class DeletePhotosTool : public BatchJob {
 public:
  explicit DeletePhotosTool(std::vector<std::string> photos);

  std::string ProgressText() const override;
  std::string Summary() const override;

 protected:
  bool Handle(std::size_t index) override;
};

}  // namespace trawlix
