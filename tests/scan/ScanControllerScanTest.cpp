#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "imaging/PhotoNaming.h"
#include "imaging/codec/PhotoCodec.h"
#include "imaging/tools/BatchJob.h"
#include "scan/PipelineFixture.h"

namespace trawlix::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::set<std::string> Names(const std::vector<SitePhoto>& photos) {
  std::set<std::string> names;
  for (const auto& p : photos) names.insert(p.savedName);
  return names;
}

class ScanControllerScan : public PipelineTest {};

TEST_F(ScanControllerScan, SingleScanHarvestsTheSiteAndRecordsIt) {
  BuildStandardSite();
  ASSERT_TRUE(RunScan());

  EXPECT_EQ(FilesIn(SaveTo()), Names(StandardSavedPhotos()));
  for (const SitePhoto& photo : StandardSavedPhotos()) {
    const PhotoSize size = ReadPhotoSize(InSaveTo(photo.savedName));
    EXPECT_EQ(size, (PhotoSize{photo.width, photo.height})) << photo.savedName;
  }
  EXPECT_TRUE(FilesIn(options.tempFolder).empty()) << "temporary files left behind";
  EXPECT_EQ(site.Requests("/gallery/land.jpg"), 1) << "a link in other letter case is the same";
  EXPECT_EQ(site.Requests("/other/page4.html"), 0) << "outside the start folder";
  EXPECT_EQ(site.Requests("/gallery/index.html"), 1) << "a page linked twice is scanned once";

  const ScanCounts c = controller.Counters();
  EXPECT_EQ(c.pagesScanned, 3);
  EXPECT_EQ(c.photosFound, 11);
  EXPECT_EQ(c.photosProcessed, 11);
  EXPECT_EQ(c.photosSaved, 8);
  EXPECT_EQ(c.photosSkipped, 3);  // too small, missing, not an image
  EXPECT_GT(c.bytes, 0);

  std::vector<std::string> saved = observer.saved;
  std::sort(saved.begin(), saved.end());
  std::vector<std::string> expected;
  for (const auto& name : Names(StandardSavedPhotos())) expected.push_back(InSaveTo(name));
  EXPECT_EQ(saved, expected);

  const auto history = StoredHistory();
  ASSERT_EQ(history.size(), 1u);
  const ScanHistoryRecord& row = history[0];
  EXPECT_EQ(row.projectId, project.id);
  EXPECT_EQ(row.url, project.url);
  EXPECT_EQ(row.pages, 3);
  EXPECT_EQ(row.totalImages, 11);
  EXPECT_EQ(row.savedImages, 8);
  EXPECT_EQ(row.skippedImages, 3);
  EXPECT_EQ(row.status, 1);
  EXPECT_EQ(row.type, 0);
  EXPECT_EQ(row.searchSubFolders, 1);
  EXPECT_EQ(row.guid.size(), 36u);
  EXPECT_EQ(row.scanDate.size(), 10u);
  EXPECT_EQ(row.totalBytes, c.bytes);
  ASSERT_EQ(observer.rows.size(), 1u);
  EXPECT_EQ(observer.rows[0].guid, row.guid);

  const auto links = StoredLinks();
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].url, project.url);
  EXPECT_EQ(links[0].photos, 8);
  EXPECT_EQ(links[0].searchSubFolders, 1);
  EXPECT_EQ(links[0].guid.size(), 36u);

  const std::string& results = observer.results;
  EXPECT_EQ(results.rfind("Trawlix('Harvest') scanned 3 pages in the website\n'" + project.url +
                              "'.\n\nProcessing time: 0:00:",
                          0),
            0u)
      << results;
  EXPECT_NE(results.find("Results:\n\tProcessed 11 Photos\n\tSaved 8 Photos\n\tand Skipped 3 "
                         "Photos."),
            std::string::npos)
      << results;
  EXPECT_EQ(observer.shownResults, std::vector<std::string>{results});
  EXPECT_TRUE(controller.IsIdle());
  EXPECT_FALSE(controller.IsScanning());
  EXPECT_TRUE(messages.requests.empty());
}

TEST_F(ScanControllerScan, RescanUpdatesTheProjectLinkAndSkipsExistingNames) {
  BuildStandardSite();
  ASSERT_TRUE(RunScan());
  ASSERT_TRUE(RunScan());
  EXPECT_EQ(controller.Counters().photosSaved, 0);
  EXPECT_EQ(controller.Counters().photosSkipped, 11);
  EXPECT_EQ(StoredHistory().size(), 2u);
  const auto links = StoredLinks();
  ASSERT_EQ(links.size(), 1u) << "the scanned address is recorded once";
  EXPECT_EQ(links[0].photos, 0);
}

TEST_F(ScanControllerScan, WithoutSubFoldersOnlyTheStartFolderIsScanned) {
  BuildStandardSite();
  project.searchSubFolders = false;
  ASSERT_TRUE(RunScan());
  EXPECT_EQ(site.Requests("/gallery/sub/page3.html"), 0);
  EXPECT_EQ(site.Requests("/gallery/page2.html"), 1);
  EXPECT_EQ(controller.Counters().pagesScanned, 2);
  EXPECT_FALSE(FilesIn(SaveTo()).contains("deep.tif"));
  EXPECT_TRUE(FilesIn(SaveTo()).contains("based.bmp"));
  ASSERT_EQ(StoredHistory().size(), 1u);
  EXPECT_EQ(StoredHistory()[0].searchSubFolders, 0);
}

TEST_F(ScanControllerScan, KeywordsOpenOtherFoldersAndCanBeRequired) {
  BuildStandardSite();
  project.searchSubFolders = false;
  project.keywords = "other";
  ASSERT_TRUE(RunScan());
  EXPECT_EQ(site.Requests("/other/page4.html"), 1) << "a keyword match opens another folder";
  EXPECT_EQ(site.Requests("/gallery/page2.html"), 1);
  EXPECT_TRUE(FilesIn(SaveTo()).contains("other.jpg"));

  fs::remove_all(SaveTo());
  project.keywordMustExist = true;
  const int page2Before = site.Requests("/gallery/page2.html");
  ASSERT_TRUE(RunScan());
  EXPECT_EQ(site.Requests("/gallery/page2.html"), page2Before) << "no keyword in its address";
  EXPECT_EQ(site.Requests("/other/page4.html"), 2);
  EXPECT_TRUE(FilesIn(SaveTo()).contains("other.jpg"));
  EXPECT_TRUE(FilesIn(SaveTo()).contains("land.jpg")) << "photo links need no keyword";
}

TEST_F(ScanControllerScan, NonImagesAreNeverStoredEvenWithoutTheSizeFilter) {
  BuildStandardSite();
  project.filterMinimumSize = false;
  project.orientation = 2;  // ignored without the filter
  ASSERT_TRUE(RunScan());
  const auto files = FilesIn(SaveTo());
  EXPECT_TRUE(files.contains("tiny.jpg"));
  EXPECT_TRUE(files.contains("portrait.png"));
  EXPECT_FALSE(files.contains("error.jpg")) << "an HTML page is not a photo";
  EXPECT_FALSE(files.contains("missing.jpg"));
  EXPECT_EQ(controller.Counters().photosSaved, 9);
  EXPECT_EQ(controller.Counters().photosSkipped, 2);
}

TEST_F(ScanControllerScan, OrientationFilterKeepsOnlyThatOrientation) {
  BuildStandardSite();
  project.orientation = 1;  // portrait; squares pass
  ASSERT_TRUE(RunScan());
  EXPECT_EQ(FilesIn(SaveTo()),
            (std::set<std::string>{"portrait.png", "square.gif", "commented.jpg", "deep.tif"}));
}

TEST_F(ScanControllerScan, MirroredFoldersFollowTheSite) {
  BuildStandardSite();
  project.createFolders = true;
  ASSERT_TRUE(RunScan());
  const auto tree = PhotoTree();
  EXPECT_TRUE(tree.contains("land.jpg"));
  EXPECT_TRUE(tree.contains("based.bmp")) << "the folder of the page, not of the photo";
  EXPECT_TRUE(tree.contains("sub/07.jpg"));
  EXPECT_TRUE(tree.contains("sub/deep.tif"));
  EXPECT_EQ(tree.size(), 8u);
}

TEST_F(ScanControllerScan, AutoRenameNumbersOnFromThePhotosAlreadyThere) {
  BuildStandardSite();
  project.autoRename = true;
  project.namePrefix = "Pic_";
  project.padNumbers = true;
  project.padding = 3;
  fs::create_directories(SaveTo());
  const std::string old = MakeTestPhoto(TestPhotoKind::Jpeg, 300, 300);
  for (const char* name : {"a.jpg", "b.png", "Pic_005.jpg"}) {
    std::ofstream(InSaveTo(name), std::ios::binary) << old;
  }
  ASSERT_TRUE(RunScan());
  std::set<std::string> names = FilesIn(SaveTo());
  for (const char* name : {"a.jpg", "b.png", "Pic_005.jpg"}) EXPECT_EQ(names.erase(name), 1u);
  EXPECT_EQ(fs::file_size(InSaveTo("Pic_005.jpg")), old.size()) << "an existing photo is kept";
  // Three photos were there: numbering starts at 4 and steps over the name in use.
  std::set<int> numbers;
  for (const std::string& name : names) {
    ASSERT_EQ(name.rfind("Pic_", 0), 0u) << name;
    numbers.insert(std::stoi(name.substr(4, 3)));
    EXPECT_EQ(name.size(), 11u) << name;
  }
  EXPECT_EQ(numbers, (std::set<int>{4, 6, 7, 8, 9, 10, 11, 12}));
  EXPECT_EQ(names.count("Pic_004.jpg") + names.count("Pic_004.png") + names.count("Pic_004.gif") +
                names.count("Pic_004.bmp") + names.count("Pic_004.tif"),
            1u);
}

TEST_F(ScanControllerScan, ThumbnailsAndMobileCopiesFollowTheirOrientation) {
  BuildStandardSite();
  project.autoCreateThumbnails = true;
  project.thumbnailBoundingBox = 100;
  project.thumbnailFormat = 0;
  project.autoCreateMobile = true;
  project.mobileBoundingBox = 200;
  project.mobileFormat = 2;
  project.mobileOrientation = 1;
  ASSERT_TRUE(RunScan());
  const auto thumbs = FilesIn(project.thumbnailSaveTo);
  EXPECT_EQ(thumbs.size(), 8u);
  EXPECT_EQ(ReadPhotoSize(project.thumbnailSaveTo + "/land.jpg"), (PhotoSize{100, 75}));
  EXPECT_EQ(ReadPhotoSize(project.thumbnailSaveTo + "/portrait.jpg"), (PhotoSize{75, 100}));
  EXPECT_TRUE(thumbs.contains("07.jpg"));
  EXPECT_EQ(FilesIn(project.mobileSaveTo), (std::set<std::string>{"portrait.png", "deep.png"}));
  EXPECT_EQ(ReadPhotoSize(project.mobileSaveTo + "/deep.png"), (PhotoSize{150, 200}));
  EXPECT_EQ(FilesIn(SaveTo()), Names(StandardSavedPhotos())) << "the photos themselves unchanged";
}

TEST_F(ScanControllerScan, ConversionAndResizeReencodeEveryPhoto) {
  BuildStandardSite();
  project.autoConvert = true;
  project.convertToFormat = 2;  // PNG
  project.autoResize = true;
  project.resizeBoundingBox = 500;
  ASSERT_TRUE(RunScan());
  std::set<std::string> expected;
  for (const SitePhoto& photo : StandardSavedPhotos())
    expected.insert(fs::path(photo.savedName).stem().string() + ".png");
  EXPECT_EQ(FilesIn(SaveTo()), expected);
  EXPECT_EQ(ReadPhotoSize(InSaveTo("land.png")), (PhotoSize{500, 375}));
  EXPECT_EQ(ReadPhotoSize(InSaveTo("commented.png")), (PhotoSize{300, 300})) << "never enlarged";
}

// Downloads, re-encodes (the resolution written in place or not), WebP conversions and
// copies all leave files the user's umask decides, as any program's files.
TEST_F(ScanControllerScan, EverySavedFileTakesTheModeTheUmaskGives) {
  BuildStandardSite();
  project.autoCreateThumbnails = project.autoCreateMobile = 1;
  const ::mode_t before = ::umask(027);
  for (const bool reencode : {false, true}) {
    SCOPED_TRACE(reencode);
    project.saveTo = (dir / (reencode ? "Reencoded" : "Plain")).string();
    project.thumbnailSaveTo = project.saveTo + "/Thumbs";
    project.mobileSaveTo = project.saveTo + "/Mobile";
    options.setResolution = reencode;
    project.autoResize = reencode ? 1 : 0;
    ASSERT_TRUE(RunScan());
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(SaveTo())) {
      if (!entry.is_regular_file()) continue;
      ++files;
      EXPECT_EQ(entry.status().permissions() & fs::perms::all,
                fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read)
          << entry.path();
    }
    EXPECT_GT(files, 10);
  }
  ::umask(before);
}

TEST_F(ScanControllerScan, JpegPhotosAreStoredAsJpgForTheToolsAndTheCount) {
  site.Add("/gallery/sea.jpeg", "image/jpeg", MakeTestPhoto(TestPhotoKind::Jpeg, 320, 240));
  site.Add("/gallery/Sky.JPEG", "image/jpeg", MakeTestPhoto(TestPhotoKind::Jpeg, 300, 260));
  site.AddPage("/gallery/index.html", "<img src=\"sea.jpeg\"><img src=\"Sky.JPEG\">");
  ASSERT_TRUE(RunScan());
  EXPECT_EQ(FilesIn(SaveTo()), (std::set<std::string>{"sea.jpg", "Sky.jpg"}));
  EXPECT_EQ(BatchWorkList(SaveTo(), "", "").size(), 2u);
  EXPECT_EQ(CountProjectPhotos(SaveTo(), "", "", Recursion::SubFolders), 2);
}

TEST_F(ScanControllerScan, OnlySuccessfulScansLeaveHistory) {
  site.AddPage("/empty/index.html", "<html><body>Nothing here</body></html>");
  project.url = site.URL("/empty/index.html");
  options.onlySuccessfulScansInHistory = true;
  ASSERT_TRUE(RunScan());
  EXPECT_TRUE(StoredHistory().empty());
  EXPECT_TRUE(observer.rows.empty());
  const auto links = StoredLinks();
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].photos, 0);
  EXPECT_EQ(observer.results.rfind("Trawlix('Harvest') scanned 1 page in the website", 0), 0u);

  options.onlySuccessfulScansInHistory = false;
  ASSERT_TRUE(RunScan());
  EXPECT_EQ(StoredHistory().size(), 1u);
}

TEST_F(ScanControllerScan, ResultsMessageOnlyWhenAskedFor) {
  site.AddPage("/empty/index.html", "<html></html>");
  project.url = site.URL("/empty/index.html");
  options.showResults = false;
  ASSERT_TRUE(RunScan());
  EXPECT_TRUE(observer.shownResults.empty());
  EXPECT_FALSE(observer.results.empty());
}

// Nothing is downloaded for a folder that cannot take the photos; the user learns which
// folder and the system's reason.
TEST_F(ScanControllerScan, ASaveToFolderThatCannotBeWrittenStopsTheStart) {
  BuildStandardSite();
  std::ofstream(dir / "file") << "x";
  const struct {
    std::string folder;
    std::vector<std::string> told;
  } cases[] = {
      {"", {"Please choose a folder to save the photos..."}},
      {(dir / "file" / "photos").string(), {(dir / "file" / "photos").string(), "Not a directory"}},
      {(dir / "file").string(), {(dir / "file").string(), "Not a directory"}},
      {"/proc/trawlix-photos", {"/proc/trawlix-photos", "cannot save photos"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder);
    messages.requests.clear();
    project.saveTo = c.folder;
    EXPECT_FALSE(controller.StartScan(project, options));
    ASSERT_EQ(messages.Texts().size(), 1u);
    for (const std::string& part : c.told) {
      EXPECT_NE(messages.Texts()[0].find(part), std::string::npos) << messages.Texts()[0];
    }
    EXPECT_FALSE(controller.IsScanning());
    EXPECT_TRUE(controller.IsIdle());
  }
  EXPECT_EQ(site.TotalRequests(), 0);
}

// A start page that never came ends with a warning; photos that failed are listed by address
// and reason, and the history's summary keeps its time.
TEST_F(ScanControllerScan, TheResultsShowWhatFailed) {
  project.url = site.URL("/nowhere.html");
  ASSERT_TRUE(RunScan());
  EXPECT_EQ(controller.Counters().pagesScanned, 1);
  EXPECT_EQ(controller.Counters().photosFound, 0);
  EXPECT_EQ(StoredHistory().size(), 1u);
  EXPECT_TRUE(observer.resultsWarned);
  EXPECT_NE(observer.results.find("Could not download 1 page or photo:\n\t" + project.url),
            std::string::npos)
      << observer.results;

  site.AddPage("/gone.html", "<img src=\"/a.jpg\"><img src=\"/b.jpg\">");
  project.url = site.URL("/gone.html");
  project.filterMinimumSize = false;
  ASSERT_TRUE(RunScan());
  EXPECT_FALSE(observer.resultsWarned);
  EXPECT_NE(observer.results.find("Could not download 2 pages or photos:\n\t" + site.URL("/a.jpg") +
                                  " (HTTP 404 Not Found)\n\t" + site.URL("/b.jpg") +
                                  " (HTTP 404 Not Found)"),
            std::string::npos)
      << observer.results;
}

}  // namespace
}  // namespace trawlix::testing
