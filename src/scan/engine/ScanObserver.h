#pragma once

#include <string>

#include "scan/engine/ScanCounters.h"
#include "scan/engine/ScanProgress.h"
#include "storage/ScanHistoryRecord.h"

namespace trawlix {

// What a scan tells its front end (the main window, the command line). Every call comes on the
// UI thread. The defaults ignore everything.
class ScanObserver {
 public:
  virtual ~ScanObserver() = default;

  // The scan moved on: a page or photo was counted, or its phase changed.
  virtual void OnProgress(const ScanProgress& /*progress*/) {}
  virtual void OnPhotoSaved(const std::string& /*path*/) {}
  // A page or photo could not be downloaded.
  virtual void OnFailure(const ScanFailure& /*failure*/) {}
  // Scanning, paused or idle changed: the controls follow.
  virtual void OnScanStateChanged() {}
  // A multi-link scan moved to its next link: "URL #2 of 3:  http://...".
  virtual void OnLinkStarted(const std::string& /*urlBoxText*/) {}
  virtual void OnHistoryRowAdded(const ScanHistoryRecord& /*row*/) {}
  virtual void OnProjectLinksChanged() {}
  // The results message, when the settings ask for it; `warning` when the scan ended badly
  // (its start page failed, or photos could not be saved).
  virtual void ShowResults(const std::string& /*text*/, bool /*warning*/) {}
  // The scan is over (idle again); always called, with the results text.
  virtual void OnScanEnded(const std::string& /*resultsText*/) {}
};

}  // namespace trawlix
