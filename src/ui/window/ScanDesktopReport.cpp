#include "ui/window/ScanDesktopReport.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "ui/window/DesktopNotifier.h"

namespace trawlix::ui {

namespace {

// Enough to show the address, the time and the photos saved; the window has the rest.
constexpr qsizetype kBodyLines = 5;

}  // namespace

bool ShouldNotifyScanEnd(std::chrono::steady_clock::duration elapsed, bool windowActive) {
  return !windowActive && elapsed >= kNotifyAfter;
}

ScanNotice ScanNoticeFromResults(const std::string& resultsText) {
  QStringList lines;
  for (const QString& line : QString::fromStdString(resultsText).split(QLatin1Char('\n'))) {
    const QString trimmed = line.trimmed();
    if (!trimmed.isEmpty()) lines << trimmed;
  }
  ScanNotice notice;
  if (lines.isEmpty()) return notice;
  notice.summary = lines.takeFirst();
  notice.body = lines.mid(0, kBodyLines).join(QLatin1Char('\n'));
  return notice;
}

std::optional<double> ScanProgressFraction(const ScanProgress& progress) {
  const std::int64_t total = progress.pagesTotal + progress.photosFound;
  if (total <= 0) return std::nullopt;
  const std::int64_t done = progress.pagesScanned + progress.photosProcessed;
  return std::clamp(static_cast<double>(done) / static_cast<double>(total), 0.0, 1.0);
}

void ScanDesktopReport::Started(Clock::time_point now) {
  started_ = now;
  shownPercent_ = 0;
  notifier_.ShowProgress(0.0);
}

void ScanDesktopReport::Progress(const ScanProgress& progress) {
  if (!started_) return;
  const std::optional<double> fraction = ScanProgressFraction(progress);
  if (!fraction) return;
  // Every photo reports progress: the desktop hears only whole percent steps.
  const int percent = static_cast<int>(std::floor(*fraction * 100.0));
  if (percent == shownPercent_) return;
  shownPercent_ = percent;
  notifier_.ShowProgress(*fraction);
}

void ScanDesktopReport::Ended(const std::string& resultsText, bool windowActive,
                              Clock::time_point now) {
  if (!started_) return;
  const Clock::duration elapsed = now - *started_;
  started_.reset();
  shownPercent_ = -1;
  notifier_.ShowProgress(std::nullopt);
  if (!ShouldNotifyScanEnd(elapsed, windowActive)) return;
  const ScanNotice notice = ScanNoticeFromResults(resultsText);
  notifier_.Notify(notice.summary, notice.body);
}

}  // namespace trawlix::ui
