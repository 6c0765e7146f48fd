#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scan/engine/ScanCounters.h"
#include "scan/engine/ScanProgress.h"

namespace trawlix {

// The status and results texts of a scan, built from plain numbers.

// "Scanning Page 3 of 1,204", with " (2 rendered)" once pages were rendered; empty before the
// first page was handed out.
std::string PageProgressText(std::int64_t pagesScanned, std::int64_t pagesTotal,
                             std::int64_t pagesRendered = 0);

// The timer's "h:mm:ss" without a leading "0:" (or else a leading "00:").
std::string ShortTimerText(const std::string& timerText);

struct PhotoProgress {
  std::int64_t found = 0;
  std::int64_t processed = 0;
  std::int64_t saved = 0;
  std::int64_t failed = 0;  // pages and photos that could not be downloaded
};

// "Found 12 Photos - Processed: 4 - Saved: 3  [00:07]", or the "(Multiscan)" form; once
// downloads failed, " - Failed: 2" follows the saved count.
std::string PhotoProgressText(const PhotoProgress& progress, const std::string& timerText,
                              bool multiLink);

struct ScanResults {
  std::string title;  // project title
  std::string url;    // scanned URL (single scan only)
  std::string processingTime;
  std::int64_t pages = 0;
  std::int64_t processed = 0;
  std::int64_t saved = 0;
  std::int64_t skipped = 0;
  std::int64_t bytes = 0;
  std::int64_t seconds = 0;
  // Lines added at the end: a start page that never arrived, a limit the scan reached.
  std::vector<std::string> notes;
  // Pages and photos that could not be downloaded, and the first of them.
  std::int64_t failed = 0;
  std::vector<ScanFailure> firstFailures;
  bool stopped = false;  // by the user, before the scan was done
};

// "\n\n\t1.2MB downloaded @ 300KB/Sec", empty unless bytes and seconds are both non-zero.
std::string TransferText(std::int64_t bytes, std::int64_t seconds);

// The status panel's two lines. The page line: "Downloading Page", "Scanning Page 3 of 1,204",
// "Downloading && Processing photos", "Paused...", "Stopping..." ("&&" is one ampersand, as in
// every label), or "Waiting for http://host (it asked for a pause)..." while a host rests. The
// photo line: the photo counts once photos were found; both empty when the scan has ended.
std::string PageLineText(const ScanProgress& progress);
std::string PhotoLineText(const ScanProgress& progress);

// The results list at most this many failed addresses.
inline constexpr std::size_t kFailuresShown = 5;

// The message shown when a scan ends.
std::string ResultsText(const ScanResults& results, bool multiLink);

// Why a scan will not start, or stopped: Save To cannot be written, for the system's reason.
std::string SaveToProblemText(const std::string& folder, const std::string& reason);
std::string SaveFailedNote(const std::string& folder, const std::string& reason);

}  // namespace trawlix
