#pragma once

#include <cstdint>
#include <string>

namespace trawlix {

// Plain numbers of one scan (or one link of a multi-link scan), for texts, rows and reports.
struct ScanCounts {
  std::int64_t pagesFound = 0;
  std::int64_t pagesScanned = 0;
  std::int64_t pagesRendered = 0;  // shown to the browser engine as well
  std::int64_t photosFound = 0;
  std::int64_t photosProcessed = 0;  // photos whose turn to be stored came
  std::int64_t photosSaved = 0;
  std::int64_t photosSkipped = 0;
  std::int64_t bytes = 0;
  std::int64_t seconds = 0;  // time during which transfers were in flight
  std::int64_t pagesFailed = 0;
  std::int64_t photosFailed = 0;  // downloads that failed, not photos refused by the filters
};

// A page or photo that could not be downloaded, and why.
struct ScanFailure {
  bool page = false;
  std::string url;
  std::string reason;
};

}  // namespace trawlix
