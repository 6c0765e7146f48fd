#include "scan/PipelineFixture.h"

#include <chrono>

#include "imaging/codec/PhotoCodec.h"
#include "scan/engine/ScanTexts.h"
#include "scan/net/NetworkGuard.h"
#include "storage/ProjectLinksTable.h"
#include "storage/ScanHistoryTable.h"

namespace trawlix::testing {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// libcurl and the image library start once, before any scan thread.
class ScanEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    network_ = std::make_unique<NetworkGuard>();
    InitImaging();
  }
  void TearDown() override { network_.reset(); }

 private:
  std::unique_ptr<NetworkGuard> network_;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new ScanEnvironment);

}  // namespace

void RecordingObserver::OnProgress(const ScanProgress& progress) {
  pageLines.push_back(PageLineText(progress));
  photoLines.push_back(PhotoLineText(progress));
}

PipelineTest::PipelineTest() {
  project.id = 7;
  project.catId = 1;
  project.title = "Harvest";
  project.url = site.URL("/gallery/index.html");
  project.saveTo = (dir / "Photos").string();
  project.jpeg = project.png = project.gif = project.bmp = project.tif = true;
  project.ico = false;
  project.createFolders = false;
  project.searchSubFolders = true;
  project.filterMinimumSize = true;
  project.minimumSize = 200;
  project.orientation = 0;
  project.autoRename = false;
  project.includePhotoSize = false;
  project.replaceSpaces = false;
  project.padNumbers = true;
  project.padding = 3;
  project.autoResize = false;
  project.resizeBoundingBox = 1024;
  project.autoConvert = false;
  project.convertToFormat = 0;
  project.autoCreateThumbnails = false;
  project.thumbnailBoundingBox = 100;
  project.thumbnailFormat = 0;
  project.thumbnailSaveTo = project.saveTo + "/Thumbs";
  project.excludeThumbnailFolder = true;
  project.autoCreateMobile = false;
  project.mobileBoundingBox = 200;
  project.mobileFormat = 2;
  project.mobileSaveTo = project.saveTo + "/Mobile";
  project.excludeMobileFolder = true;
  project.keywordMustExist = false;
  project.thumbnailOrientation = 0;
  project.mobileOrientation = 0;
  project.thumbnailsSaveToLocation = 0;
  project.mobileSaveToLocation = 0;
  project.thumbnailsExternalIncludeTitle = true;
  project.mobileExternalIncludeTitle = true;

  options.tempFolder = (dir / "Temp").string();
  options.databasePath = (dir / "Projects_v2.4.txdb").string();
  options.web.connectTimeoutSeconds = 4;
  options.web.stallTimeout = 5s;
  options.setResolution = false;
  options.jpegQuality = 90;
  options.dpi = 96;
  // Most tests scan a site again and again and expect it fetched and stored anew each time;
  // the tests of remembered photos turn this back on.
  options.skipRemembered = false;
}

void PipelineTest::BuildStandardSite() {
  using K = TestPhotoKind;
  site.AddPage("/gallery/index.html", R"html(<html><head><title>Gallery</title></head><body>
<a href="page2.html">Page two</a>
<a href="sub/page3.html">Sub-folder</a>
<a href="/other/page4.html">Another folder</a>
<a href="http://elsewhere.invalid/x.html">Off site</a>
<img src="land.jpg" alt="landscape">
<IMG SRC="LAND.JPG">
<img src="portrait.png"><img src="square.gif">
<img src="tiny.jpg">
<!-- <img src="commented.jpg"> -->
<a href="javascript:;" onclick="show('popup.jpg')">pop up</a>
<img src="missing.jpg"><img src="error.jpg">
</body></html>)html");
  site.AddPage("/gallery/page2.html",
               "<html><head><base href=\"" + site.URL("/gallery/media/") +
                   "\"></head><body><img src=\"based.bmp\"><a href=\"index.html\">back</a>"
                   "</body></html>");
  site.AddPage("/gallery/sub/page3.html",
               R"(<html><body><img src="7.jpg"><img src="/gallery/sub/deep.tif"></body></html>)");
  site.AddPage("/other/page4.html", R"(<html><body><img src="/other/other.jpg"></body></html>)");

  site.Add("/gallery/land.jpg", "image/jpeg", MakeTestPhoto(K::Jpeg, 800, 600));
  site.Add("/gallery/portrait.png", "image/png", MakeTestPhoto(K::Png, 600, 800));
  site.Add("/gallery/square.gif", "image/gif", MakeTestPhoto(K::Gif, 400, 400));
  site.Add("/gallery/tiny.jpg", "image/jpeg", MakeTestPhoto(K::Jpeg, 50, 40));
  site.Add("/gallery/commented.jpg", "image/jpeg", MakeTestPhoto(K::Jpeg, 300, 300));
  site.Add("/gallery/popup.jpg", "image/jpeg", MakeTestPhoto(K::Jpeg, 640, 480));
  site.Add("/gallery/error.jpg", "image/jpeg", "<html><body>Internal error</body></html>");
  site.Add("/gallery/media/based.bmp", "image/bmp", MakeTestPhoto(K::Bmp, 1000, 700));
  site.Add("/gallery/media/7.jpg", "image/jpeg", MakeTestPhoto(K::Jpeg, 500, 300));
  site.Add("/gallery/sub/deep.tif", "image/tiff", MakeTestPhoto(K::Tif, 900, 1200));
  site.Add("/other/other.jpg", "image/jpeg", MakeTestPhoto(K::Jpeg, 700, 500));
}

const std::vector<SitePhoto>& PipelineTest::StandardSavedPhotos() {
  static const std::vector<SitePhoto> photos = {
      {"/gallery/land.jpg", "land.jpg", 800, 600},
      {"/gallery/portrait.png", "portrait.png", 600, 800},
      {"/gallery/square.gif", "square.gif", 400, 400},
      {"/gallery/commented.jpg", "commented.jpg", 300, 300},
      {"/gallery/popup.jpg", "popup.jpg", 640, 480},
      {"/gallery/media/based.bmp", "based.bmp", 1000, 700},
      {"/gallery/media/7.jpg", "07.jpg", 500, 300},
      {"/gallery/sub/deep.tif", "deep.tif", 900, 1200},
  };
  return photos;
}

bool PipelineTest::RunUntilEnded() {
  const int before = observer.ended;
  return ui.RunUntil([&] { return observer.ended > before; }, 60s);
}

bool PipelineTest::RunScan() {
  if (!controller.StartScan(project, options)) return false;
  return RunUntilEnded();
}

bool PipelineTest::RunMultiLinkScan(const std::vector<int>& linkIds) {
  if (!controller.StartMultiLinkScan(project, options, linkIds)) return false;
  return RunUntilEnded();
}

std::set<std::string> PipelineTest::FilesIn(const std::string& folder) {
  std::set<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    if (it->is_regular_file()) names.insert(it->path().filename().string());
  return names;
}

std::set<std::string> PipelineTest::PhotoTree() const {
  std::set<std::string> paths;
  std::error_code error;
  for (fs::recursive_directory_iterator it(SaveTo(), error), end; !error && it != end;
       it.increment(error))
    if (it->is_regular_file()) paths.insert(fs::relative(it->path(), SaveTo()).string());
  return paths;
}

std::vector<ScanHistoryRecord> PipelineTest::StoredHistory() {
  ScanHistoryTable table(options.databasePath, messages);
  std::vector<ScanHistoryRecord> rows;
  if (!table.OpenTable() || !table.LoadProjectHistory(project.id)) return rows;
  for (int i = 0; i < static_cast<int>(table.Records().size()); ++i) {
    table.SetCurrentIndex(i);
    ScanHistoryRecord row;
    if (table.GetCurrent(row)) rows.push_back(row);
  }
  return rows;
}

std::vector<ProjectLinksRecord> PipelineTest::StoredLinks() {
  ProjectLinksTable table(options.databasePath, messages);
  std::vector<ProjectLinksRecord> rows;
  if (!table.OpenTable() || !table.LoadLinksOfProject(project.id)) return rows;
  for (int i = 0; i < static_cast<int>(table.Records().size()); ++i) {
    table.SetCurrentIndex(i);
    ProjectLinksRecord row;
    if (table.GetCurrent(row)) rows.push_back(row);
  }
  return rows;
}

int PipelineTest::AddLink(const std::string& url, int searchSubFolders,
                          const std::string& keywords) {
  ProjectLinksTable table(options.databasePath, messages);
  if (!table.OpenTable()) return -1;
  ProjectLinksRecord link;
  link.projectId = project.id;
  link.date = "01/02/2024";
  link.searchSubFolders = searchSubFolders;
  link.url = url;
  link.keywordMustExist = false;
  link.keywords = keywords;
  link.guid = "GUID-" + url;
  link.photos = 0;
  if (!table.InsertProjectLink(link) || !table.LoadLinkByURL(project.id, url)) return -1;
  ProjectLinksRecord stored;
  return table.GetCurrent(stored) ? stored.id : -1;
}

}  // namespace trawlix::testing
