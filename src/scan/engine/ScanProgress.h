#pragma once

#include <cstdint>
#include <string>

namespace trawlix {

// Where a scan stands, as its front ends show it; the texts are made from it (ScanTexts.h).
struct ScanProgress {
  enum class Phase {
    Starting,          // the first page is being fetched
    ScanningPages,     // pages are being scanned, photos processed beside them
    ProcessingPhotos,  // every page is scanned; photos remain
    Paused,
    Stopping,
    Ended,
  };

  Phase phase = Phase::Ended;
  std::int64_t pagesScanned = 0;
  std::int64_t pagesRendered = 0;
  std::int64_t pagesTotal = 0;
  // In a multi-link scan, the photo numbers include the links finished before.
  std::int64_t photosFound = 0;
  std::int64_t photosProcessed = 0;
  std::int64_t photosSaved = 0;
  std::int64_t failed = 0;  // pages and photos that could not be downloaded
  std::string restingHost;  // a host that answered 429 or 503, while the scan waits on it
  std::string elapsed;      // "h:mm:ss" of the whole scan
  bool multiLink = false;
};

}  // namespace trawlix
