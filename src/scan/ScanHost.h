#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "scan/ScanCounters.h"

namespace trawlix {

// One queued photo handed to the photo processor.
struct NextPhotoRequest {
  static constexpr std::size_t kURLLimit = 2046;
  static constexpr std::size_t kFileNameLimit = 1024;

  std::string pageURL;  // the page the photo was found on: the referer
  std::string photoURL;
  std::string fileName;  // proposed file name
};

// What the scan's workers ask of the scan controller. Every call runs on the UI thread while
// the worker waits; results follow the scan's message protocol (-1: nothing waiting).
class ScanHost {
 public:
  virtual ~ScanHost() = default;

  // The next page to scan; returns its length, or -1 when no page waits.
  virtual int NextPage(int requestIndex, std::string& url) = 0;
  // The next photo to process; returns the sum of the three lengths, or -1.
  virtual int NextPhoto(int requestIndex, NextPhotoRequest& request) = 0;
  // A photo was saved at `path`; returns 1.
  virtual int PhotoSaved(const std::string& path) = 0;
  virtual int RefreshPhotoProgress() = 0;
  virtual int RefreshPageProgress() = 0;
  // One successful transfer.
  virtual int ReportTransfer(std::int64_t seconds, std::int64_t bytes) = 0;
  // Starts the photo processor when it is not running and photos wait; true when started.
  virtual bool StartPhotoProcessorIfPhotosWait() = 0;
  // A worker's last act: arms timer 1032, 1033 or 1034 on the UI thread. `workerId` names the
  // worker, so a late timer of one that was replaced cannot end a later one.
  virtual void ArmWorkerTimer(int timerId, std::uint64_t workerId) = 0;
};

}  // namespace trawlix
