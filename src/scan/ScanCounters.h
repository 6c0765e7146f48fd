#pragma once

#include <cstdint>

namespace trawlix {

// Plain numbers of one scan (or one link of a multi-link scan), for texts, rows and reports.
struct ScanCounts {
  std::int64_t pagesFound = 0;
  std::int64_t pagesScanned = 0;
  std::int64_t photosFound = 0;
  std::int64_t photosProcessed = 0;  // photos whose turn to be stored came
  std::int64_t photosSaved = 0;
  std::int64_t photosSkipped = 0;
  std::int64_t bytes = 0;
  std::int64_t seconds = 0;  // time during which transfers were in flight
};

}  // namespace trawlix
