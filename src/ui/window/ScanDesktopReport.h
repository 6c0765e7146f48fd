#pragma once

#include <QString>
#include <chrono>
#include <optional>
#include <string>

#include "scan/engine/ScanProgress.h"

namespace trawlix::ui {

class DesktopNotifier;

// A scan this long is worth a notification when the user has turned to something else.
inline constexpr std::chrono::seconds kNotifyAfter{30};

bool ShouldNotifyScanEnd(std::chrono::steady_clock::duration elapsed, bool windowActive);

struct ScanNotice {
  QString summary;
  QString body;
};
// The results message's first lines: the first as the summary, a few more as the body.
ScanNotice ScanNoticeFromResults(const std::string& resultsText);

// How far the scan has come, from 0 to 1: the pages and photos done of those found so far.
// No value while nothing has been found.
std::optional<double> ScanProgressFraction(const ScanProgress& progress);

// Tells the desktop what a scan does: its progress on the task bar while it runs, and a
// notification when a long scan ends behind other windows.
class ScanDesktopReport {
 public:
  using Clock = std::chrono::steady_clock;

  explicit ScanDesktopReport(DesktopNotifier& notifier) : notifier_(notifier) {}

  bool running() const { return started_.has_value(); }
  void Started(Clock::time_point now);
  void Progress(const ScanProgress& progress);
  // Only the first call after a start counts: the results and the end both report it.
  void Ended(const std::string& resultsText, bool windowActive, Clock::time_point now);

 private:
  DesktopNotifier& notifier_;
  std::optional<Clock::time_point> started_;
  int shownPercent_ = -1;
};

}  // namespace trawlix::ui
