#pragma once

#include <atomic>
#include <cstdint>

namespace trawlix {

// Plain numbers of one scan (or one link of a multi-link scan), for texts, rows and reports.
struct ScanCounts {
  std::int64_t pagesFound = 0;
  std::int64_t pagesScanned = 0;
  std::int64_t photosFound = 0;
  std::int64_t photosProcessed = 0;
  std::int64_t photosSaved = 0;
  std::int64_t photosSkipped = 0;
  std::int64_t bytes = 0;
  std::int64_t seconds = 0;
};

// The counters of a scan. The photo processor changes the photo counters while the UI thread
// reads them for display, so they are atomic like the rest.
struct ScanCounters {
  std::atomic<std::int64_t> pagesFound{0};
  std::atomic<std::int64_t> pagesScanned{0};
  std::atomic<std::int64_t> photosFound{0};
  std::atomic<std::int64_t> photosProcessed{0};  // photos handed to the photo processor
  std::atomic<std::int64_t> photosSaved{0};
  std::atomic<std::int64_t> photosSkipped{0};
  std::atomic<std::int64_t> bytes{0};
  std::atomic<std::int64_t> seconds{0};

  void Reset() { Assign(ScanCounts{}); }

  void Assign(const ScanCounts& t) {
    pagesFound = t.pagesFound;
    pagesScanned = t.pagesScanned;
    photosFound = t.photosFound;
    photosProcessed = t.photosProcessed;
    photosSaved = t.photosSaved;
    photosSkipped = t.photosSkipped;
    bytes = t.bytes;
    seconds = t.seconds;
  }

  ScanCounts Snapshot() const {
    return {pagesFound,  pagesScanned,  photosFound, photosProcessed,
            photosSaved, photosSkipped, bytes,       seconds};
  }
};

}  // namespace trawlix
