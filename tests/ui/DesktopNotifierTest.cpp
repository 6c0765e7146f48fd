#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "scan/engine/ScanTexts.h"
#include "ui/window/DesktopNotifier.h"
#include "ui/window/ScanDesktopReport.h"

namespace trawlix::ui {
namespace {

using namespace std::chrono_literals;
using Clock = ScanDesktopReport::Clock;

// Records what the desktop would have been told.
class FakeNotifier : public DesktopNotifier {
 public:
  void Notify(const QString& summary, const QString& body) override {
    notices.push_back({summary, body});
  }
  void ShowProgress(std::optional<double> fraction) override { progress.push_back(fraction); }

  std::vector<ScanNotice> notices;
  std::vector<std::optional<double>> progress;
};

ScanProgress Progress(std::int64_t pagesScanned, std::int64_t pagesTotal,
                      std::int64_t photosProcessed, std::int64_t photosFound) {
  ScanProgress p;
  p.phase = ScanProgress::Phase::ScanningPages;
  p.pagesScanned = pagesScanned;
  p.pagesTotal = pagesTotal;
  p.photosProcessed = photosProcessed;
  p.photosFound = photosFound;
  return p;
}

TEST(ScanDesktopReportTest, NotifiesOnlyALongScanThatEndsBehindOtherWindows) {
  struct Case {
    Clock::duration elapsed;
    bool windowActive;
    bool notified;
  };
  const Case cases[] = {
      {29s + 999ms, false, false},  // short scans end while the user still waits
      {30s, false, true},          {2h, false, true},
      {2h, true, false},  // the user sees the results message anyway
      {0s, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::chrono::duration_cast<std::chrono::milliseconds>(c.elapsed).count());
    SCOPED_TRACE(c.windowActive);
    FakeNotifier notifier;
    ScanDesktopReport report(notifier);
    const Clock::time_point start{};
    report.Started(start);
    // The results message and the end both report it: one notification at most.
    report.Ended("Trawlix('A') scanned 1 page.", c.windowActive, start + c.elapsed);
    report.Ended("Trawlix('A') scanned 1 page.", c.windowActive, start + c.elapsed + 1s);
    EXPECT_EQ(notifier.notices.size(), c.notified ? 1u : 0u);
    EXPECT_FALSE(report.running());
    ASSERT_FALSE(notifier.progress.empty());
    EXPECT_FALSE(notifier.progress.back().has_value()) << "the task bar's progress goes away";
  }
}

TEST(ScanDesktopReportTest, AnEndWithoutAStartTellsNothing) {
  FakeNotifier notifier;
  ScanDesktopReport report(notifier);
  report.Progress(Progress(1, 2, 0, 0));
  report.Ended("Trawlix('A') scanned 1 page.", false, Clock::time_point{} + 1h);
  EXPECT_TRUE(notifier.notices.empty());
  EXPECT_TRUE(notifier.progress.empty());
}

TEST(ScanDesktopReportTest, TaskBarProgressFollowsPagesAndPhotosInWholePercentSteps) {
  FakeNotifier notifier;
  ScanDesktopReport report(notifier);
  report.Started(Clock::time_point{});
  const ScanProgress steps[] = {
      Progress(0, 0, 0, 0),      // nothing found yet: nothing to show
      Progress(1, 4, 0, 0),      // 25%
      Progress(1, 4, 0, 0),      // the same again: not repeated
      Progress(1, 200, 0, 200),  // 0.25%: rounds down to a step of its own
      Progress(1, 200, 1, 200),  // 0.5%: the same step
      Progress(10, 10, 30, 30),  // done
      Progress(12, 10, 30, 30),  // more counted than found stays at the end
  };
  for (const ScanProgress& step : steps) report.Progress(step);
  const std::vector<std::optional<double>> expected{0.0, 0.25, 0.0025, 1.0};
  ASSERT_EQ(notifier.progress.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    ASSERT_TRUE(notifier.progress[i].has_value()) << i;
    EXPECT_DOUBLE_EQ(*notifier.progress[i], *expected[i]) << i;
  }
}

TEST(ScanDesktopReportTest, TheNoticeIsTheResultsFirstLines) {
  ScanResults results;
  results.title = "Birds";
  results.url = "http://example.com/birds/";
  results.processingTime = "0:01:05";
  results.pages = 1204;
  results.processed = 40;
  results.saved = 38;
  results.skipped = 2;
  struct Case {
    std::string text;
    QString summary;
    QString body;
  };
  const Case cases[] = {
      {ResultsText(results, false), "Trawlix('Birds') scanned 1,204 pages in the website",
       "'http://example.com/birds/'.\nProcessing time: 0:01:05\nResults:\nProcessed 40 "
       "Photos\nSaved 38 Photos"},
      {ResultsText(results, true), "Trawlix('Birds') scanned 1,204 pages.",
       "Processing time: 0:01:05\nResults:\nProcessed 40 Photos\nSaved 38 Photos\nand Skipped 2 "
       "Photos."},
      {"\n\n  One line only\t\n", "One line only", ""},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const ScanNotice notice = ScanNoticeFromResults(c.text);
    EXPECT_EQ(notice.summary, c.summary);
    EXPECT_EQ(notice.body, c.body);
  }
}

}  // namespace
}  // namespace trawlix::ui
