#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "scan/PipelineFixture.h"

namespace trawlix::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kPages = 3;
constexpr int kPhotosPerPage = 4;

// A start page linking two more; every page shows photos whose bytes all differ.
class RememberedScan : public PipelineTest {
 protected:
  void SetUp() override {
    options.skipRemembered = true;
    for (int page = 0; page < kPages; ++page) PublishPage(page, kPhotosPerPage);
  }

  void PublishPage(int page, int photos) {
    std::string html = "<html><body>";
    if (page == 0) html += "<a href=\"page1.html\">1</a><a href=\"page2.html\">2</a>";
    for (int i = 0; i < photos; ++i) {
      const std::string path = PhotoPath(page, i);
      site.Add(path, "image/jpeg", MakeTestPhoto(TestPhotoKind::Jpeg, 300 + page * 10 + i, 260));
      html += "<img src=\"" + path + "\">";
    }
    site.AddPage(PagePath(page), html + "</body></html>");
  }

  static std::string PagePath(int page) {
    return page == 0 ? "/gallery/index.html" : "/gallery/page" + std::to_string(page) + ".html";
  }
  static std::string PhotoPath(int page, int photo) {
    return "/gallery/p" + std::to_string(page) + "-" + std::to_string(photo) + ".jpg";
  }

  int PhotoRequests(int photos = kPhotosPerPage) const {
    int total = 0;
    for (int page = 0; page < kPages; ++page) {
      for (int i = 0; i < photos; ++i) total += site.Requests(PhotoPath(page, i));
    }
    return total;
  }

  std::vector<int> RowNumbers(const ScanHistoryRecord& row) const {
    return {row.pages, row.totalImages, row.savedImages, row.skippedImages,
            static_cast<int>(row.totalBytes)};
  }

  std::map<std::string, std::string> Files() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(SaveTo())) {
      if (!entry.is_regular_file()) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      files[entry.path().filename().string()] = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return files;
  }
};

TEST_F(RememberedScan, ARescanFetchesOnlyWhatIsNewAndAllFetchesEverything) {
  constexpr int kAll = kPages * kPhotosPerPage;
  ASSERT_TRUE(RunScan());
  ASSERT_EQ(observer.rows.back().savedImages, kAll);
  ASSERT_EQ(PhotoRequests(), kAll);

  // Unchanged: every page is asked for only if changed, no photo is fetched.
  ASSERT_TRUE(RunScan());
  EXPECT_EQ(PhotoRequests(), kAll);
  EXPECT_EQ(site.NotModifiedAnswers(), kPages);
  EXPECT_EQ(RowNumbers(observer.rows.back()), (std::vector<int>{kPages, kAll, 0, kAll, 0}));
  EXPECT_NE(controller.LastResultsText().find(
                "12 photos were saved by earlier scans and not fetched again."),
            std::string::npos)
      << controller.LastResultsText();

  // One new photo on one page: that page and that photo are fetched, nothing else.
  PublishPage(2, kPhotosPerPage + 1);
  ASSERT_TRUE(RunScan());
  EXPECT_EQ(site.Requests(PhotoPath(2, kPhotosPerPage)), 1);
  EXPECT_EQ(PhotoRequests(), kAll);
  EXPECT_EQ(site.NotModifiedAnswers(), kPages + kPages - 1);
  EXPECT_EQ(observer.rows.back().savedImages, 1);
  EXPECT_EQ(FilesIn(SaveTo()).size(), static_cast<std::size_t>(kAll + 1));

  // Everything again, as a first scan would: every photo is fetched (and skipped by name).
  options.skipRemembered = false;
  ASSERT_TRUE(RunScan());
  EXPECT_EQ(PhotoRequests(kPhotosPerPage + 1), 2 * (kAll + 1));
  EXPECT_EQ(observer.rows.back().savedImages, 0);
}

TEST_F(RememberedScan, TheSameBytesUnderAnotherAddressAreSavedOnce) {
  const std::string bytes = MakeTestPhoto(TestPhotoKind::Jpeg, 640, 480);
  site.Add("/gallery/a.jpg", "image/jpeg", bytes);
  site.Add("/mirror/b.jpg", "image/jpeg", bytes);
  site.AddPage("/gallery/index.html",
               "<img src=\"a.jpg\"><img src=\"/mirror/b.jpg\"><img src=\"p0-0.jpg\">");
  ASSERT_TRUE(RunScan());
  EXPECT_EQ(FilesIn(SaveTo()), (std::set<std::string>{"a.jpg", "p0-0.jpg"}));
  EXPECT_EQ(observer.rows.back().skippedImages, 1);
  EXPECT_NE(controller.LastResultsText().find(
                "1 photo was the same as photos already saved and not saved again."),
            std::string::npos);

  // Once the saved copy is gone, the bytes are saved again under a new address.
  fs::remove(InSaveTo("a.jpg"));
  site.Add("/gallery/c.jpg", "image/jpeg", bytes);
  site.AddPage("/gallery/index.html", "<img src=\"c.jpg\"><img src=\"p0-0.jpg\">");
  ASSERT_TRUE(RunScan());
  EXPECT_EQ(FilesIn(SaveTo()), (std::set<std::string>{"c.jpg", "p0-0.jpg"}));
}

TEST_F(RememberedScan, APhotoTooSmallIsAbandonedByItsHeader) {
  std::string padded = MakeTestPhoto(TestPhotoKind::Jpeg, 100, 100);
  padded.resize(5 * 1024 * 1024, '\0');  // decoders stop at the end of the image
  site.AddMetered("/gallery/small.jpg", "image/jpeg", padded);
  site.AddPage("/gallery/index.html", "<img src=\"small.jpg\"><img src=\"p0-0.jpg\">");
  ASSERT_TRUE(RunScan());
  EXPECT_EQ(FilesIn(SaveTo()), (std::set<std::string>{"p0-0.jpg"}));
  // The whole would take over a second to send.
  EXPECT_LT(site.BytesServed("/gallery/small.jpg"), std::size_t{2} << 20);
  EXPECT_EQ(observer.rows.back().skippedImages, 1);
  EXPECT_TRUE(observer.failures.empty());
}

TEST_F(RememberedScan, AStoppedScanResumesToWhatAnUninterruptedScanGives) {
  options.web.connectionsPerHost = 2;
  const std::string folder = SaveTo();
  project.id = 8;
  project.saveTo = folder + "-whole";
  ASSERT_TRUE(RunScan());
  const std::vector<int> whole = RowNumbers(observer.rows.back());
  const std::map<std::string, std::string> wholeFiles = Files();
  const int wholeRequests = PhotoRequests();

  project.id = 7;
  project.saveTo = folder;
  site.SetDelay(20ms);
  ASSERT_TRUE(controller.StartScan(project, options));
  ASSERT_TRUE(ui.RunUntil([&] { return controller.Counters().photosSaved >= 3; }, 30s));
  controller.Stop();
  ASSERT_TRUE(RunUntilEnded());
  ASSERT_LT(controller.Counters().photosSaved, kPages * kPhotosPerPage);
  ASSERT_EQ(StoredHistory().size(), 1u);

  ASSERT_TRUE(controller.ResumeScan(project, options));
  ASSERT_TRUE(RunUntilEnded());
  EXPECT_EQ(Files(), wholeFiles);
  ASSERT_EQ(StoredHistory().size(), 1u);
  EXPECT_EQ(RowNumbers(StoredHistory()[0]), whole);
  // Only the photos in flight when it stopped were asked for twice.
  EXPECT_LE(PhotoRequests() - wholeRequests, kPages * kPhotosPerPage + 2);
  // Nothing is left to resume.
  EXPECT_FALSE(controller.ResumeScan(project, options));
}

TEST_F(RememberedScan, AStoppedRescanOfEverythingResumesAsOne) {
  constexpr int kAll = kPages * kPhotosPerPage;
  options.web.connectionsPerHost = 2;
  ASSERT_TRUE(RunScan());
  ASSERT_EQ(PhotoRequests(), kAll);

  options.skipRemembered = false;
  site.SetDelay(20ms);
  ASSERT_TRUE(controller.StartScan(project, options));
  ASSERT_TRUE(ui.RunUntil([&] { return controller.Counters().photosProcessed >= 3; }, 30s));
  controller.Stop();
  ASSERT_TRUE(RunUntilEnded());
  ASSERT_LT(PhotoRequests(), 2 * kAll);

  // Resumed with the options a plain scan has: the rescan goes on fetching every photo.
  options.skipRemembered = true;
  ASSERT_TRUE(controller.ResumeScan(project, options));
  ASSERT_TRUE(RunUntilEnded());
  EXPECT_GE(PhotoRequests(), 2 * kAll);
  EXPECT_EQ(controller.LastResultsText().find("saved by earlier scans"), std::string::npos)
      << controller.LastResultsText();
}

}  // namespace
}  // namespace trawlix::testing
