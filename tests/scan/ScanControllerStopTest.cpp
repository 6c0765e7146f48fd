#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "scan/PipelineFixture.h"

namespace trawlix::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// One page with many photos, served slowly enough to catch the scan half way.
class ScanControllerStop : public PipelineTest {
 protected:
  void SetUp() override {
    std::string html = "<html><body>";
    for (int i = 0; i < kPhotos; ++i) {
      const std::string name = "p" + std::to_string(100 + i) + ".jpg";
      html += "<img src=\"" + name + "\">";
      site.Add("/gallery/" + name, "image/jpeg", MakeTestPhoto(TestPhotoKind::Jpeg, 320, 240));
    }
    site.AddPage("/gallery/index.html", html + "</body></html>");
    site.SetDelay(25ms);
  }

  bool RunUntilSaved(int count) {
    return ui.RunUntil([&] { return controller.Counters().photosSaved >= count; }, 30s);
  }

  static constexpr int kPhotos = 40;
};

TEST_F(ScanControllerStop, StopHalfWayEndsBothWorkersAndStillWritesHistory) {
  ASSERT_TRUE(controller.StartScan(project, options));
  ASSERT_TRUE(RunUntilSaved(3));
  controller.Stop();
  ASSERT_TRUE(RunUntilEnded());
  EXPECT_FALSE(controller.HasWorker());
  EXPECT_TRUE(controller.IsIdle());
  const ScanCounts c = controller.Counters();
  EXPECT_GE(c.photosSaved, 3);
  EXPECT_LT(c.photosSaved, kPhotos);
  EXPECT_EQ(static_cast<int>(FilesIn(SaveTo()).size()), c.photosSaved);
  ASSERT_EQ(StoredHistory().size(), 1u);
  EXPECT_EQ(StoredHistory()[0].savedImages, c.photosSaved);
  EXPECT_EQ(StoredHistory()[0].totalImages, kPhotos);
  EXPECT_EQ(observer.ended, 1);
  EXPECT_TRUE(std::find(observer.pageLines.begin(), observer.pageLines.end(), "Stopping...") !=
              observer.pageLines.end());
  // Nothing half written is left where photos go.
  for (const auto& name : FilesIn(SaveTo())) EXPECT_EQ(name.find(".part"), std::string::npos);
}

// A folder that stops taking photos part way (a disk gone read-only, removed media) ends the
// scan with the reason, rather than downloading the rest for nothing.
TEST_F(ScanControllerStop, ASaveToFolderThatFailsMidScanStopsItWithTheReason) {
  ASSERT_TRUE(controller.StartScan(project, options));
  ASSERT_TRUE(RunUntilSaved(3));
  controller.TogglePause();
  ui.RunUntil([] { return false; }, 100ms);
  fs::rename(SaveTo(), SaveTo() + "-moved");
  std::ofstream(SaveTo()) << "in the way";
  controller.TogglePause();
  ASSERT_TRUE(RunUntilEnded());
  const std::string reason = "cannot be saved into " + SaveTo() + ": Not a directory.";
  EXPECT_NE(controller.SaveProblem().find(reason), std::string::npos) << controller.SaveProblem();
  EXPECT_NE(controller.LastResultsText().find(reason), std::string::npos);
  EXPECT_LT(controller.Counters().photosSaved, kPhotos);
  EXPECT_LT(site.TotalRequests(), kPhotos);
  EXPECT_EQ(StoredHistory().size(), 1u);
}

TEST_F(ScanControllerStop, StopWhilePausedEndsTheScan) {
  ASSERT_TRUE(controller.StartScan(project, options));
  ASSERT_TRUE(RunUntilSaved(1));
  controller.TogglePause();
  controller.Stop();
  ASSERT_TRUE(RunUntilEnded());
  EXPECT_FALSE(controller.HasWorker());
  EXPECT_FALSE(controller.IsPaused());
  EXPECT_EQ(StoredHistory().size(), 1u);
}

TEST_F(ScanControllerStop, PauseHoldsTheWorkersAndResumeLosesNothing) {
  ASSERT_TRUE(controller.StartScan(project, options));
  ASSERT_TRUE(RunUntilSaved(2));
  controller.TogglePause();
  EXPECT_TRUE(controller.IsPaused());
  EXPECT_EQ(observer.pageLines.back(), "Paused...");
  // A step under way may finish; after that nothing moves.
  ui.RunUntil([] { return false; }, 150ms);
  const std::int64_t held = controller.Counters().photosProcessed;
  const int requests = site.TotalRequests();
  ui.RunUntil([] { return false; }, 300ms);
  EXPECT_EQ(controller.Counters().photosProcessed, held);
  EXPECT_EQ(site.TotalRequests(), requests);
  EXPECT_EQ(observer.ended, 0);

  controller.TogglePause();
  EXPECT_FALSE(controller.IsPaused());
  // The line shows the phase the scan went back to.
  EXPECT_NE(observer.pageLines.back(), "Paused...");
  EXPECT_FALSE(observer.pageLines.back().empty());
  ASSERT_TRUE(RunUntilEnded());
  EXPECT_EQ(controller.Counters().photosSaved, kPhotos);
  EXPECT_EQ(static_cast<int>(FilesIn(SaveTo()).size()), kPhotos);
}

TEST_F(ScanControllerStop, DestroyingTheControllerMidScanStopsTheWorkers) {
  auto own = std::make_unique<ScanController>(ui, messages, observer);
  ASSERT_TRUE(own->StartScan(project, options));
  ASSERT_TRUE(ui.RunUntil([&] { return own->Counters().photosProcessed >= 1; }, 30s));
  own.reset();  // must not hang nor leave a thread running
  // No worker is left: once requests already on the wire have arrived, the site hears
  // nothing more, however long it waits.
  ui.RunUntil([] { return false; }, 300ms);
  const int requests = site.TotalRequests();
  ui.RunUntil([] { return false; }, 500ms);
  EXPECT_EQ(site.TotalRequests(), requests);
  // Leaving is not ending the scan: no results, no history row, nothing half written.
  EXPECT_EQ(observer.ended, 0);
  EXPECT_TRUE(StoredHistory().empty());
  const auto saved = FilesIn(SaveTo());
  EXPECT_LT(saved.size(), static_cast<std::size_t>(kPhotos));
  for (const auto& name : saved) EXPECT_EQ(name.find(".part"), std::string::npos) << name;
}

// Slow pages, one photo each: the photo queue runs dry after every page.
using ScanControllerDryQueue = PipelineTest;

TEST_F(ScanControllerDryQueue, PhotosFoundAfterTheQueueRanDryAreStillSaved) {
  constexpr int kPages = 6;
  for (int i = 0; i < kPages; ++i) {
    const std::string next =
        i + 1 < kPages ? "<a href=\"p" + std::to_string(i + 1) + ".html\">" : "";
    site.AddPage(
        "/gallery/p" + std::to_string(i) + ".html",
        "<html><body>" + next + "<img src=\"photo" + std::to_string(i) + ".jpg\"></body></html>");
    site.Add("/gallery/photo" + std::to_string(i) + ".jpg", "image/jpeg",
             MakeTestPhoto(TestPhotoKind::Jpeg, 300, 200));
  }
  site.SetPageDelay(100ms);
  project.url = site.URL("/gallery/p0.html");
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(RunScan());
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(controller.Counters().photosSaved, kPages);
  EXPECT_EQ(static_cast<int>(FilesIn(SaveTo()).size()), kPages);
  EXPECT_EQ(observer.ended, 1);
  EXPECT_EQ(StoredHistory().size(), 1u);
  // Ends promptly: nothing waits for a fixed delay between pages or at the end.
  EXPECT_LT(elapsed, std::chrono::milliseconds(kPages * 300));
}

}  // namespace
}  // namespace trawlix::testing
