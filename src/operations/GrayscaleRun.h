#pragma once

#include <optional>
#include <string>
#include <vector>

#include "imaging/tools/GrayscaleTool.h"

namespace trawlix {

// What a grayscale run over a project's photos does, as both front ends start it.
struct GrayscaleRun {
  GrayscaleToolOptions options;
  std::vector<std::string> photos;
};

// Plans the run: in place, or as copies in `folder`, which is made when missing (nothing
// when it cannot be). Copies into the project's own folder would land on the photos they
// come from, so that choice becomes in place; photos already inside the chosen folder are
// not converted again.
std::optional<GrayscaleRun> PlanGrayscaleRun(const std::string& projectFolder,
                                             std::vector<std::string> photos, bool replace,
                                             const std::string& folder);

}  // namespace trawlix
