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

// What a scan leaves that a user can see: the files with their bytes, the history row's
// numbers and the order of the "photo saved" notifications.
struct ScanOutcome {
  std::map<std::string, std::string> files;  // path below the scan's folder -> bytes
  std::vector<std::string> savedOrder;
  std::vector<int> rowNumbers;

  bool operator==(const ScanOutcome&) const = default;
};

// Twelve pages in three folders below the start page's, linked as a tree with cross links; every
// page shows four photos of several formats and sizes, and names repeat across folders so that
// duplicate handling and numbering depend on the order photos are stored in.
class ScanDeterminism : public PipelineTest {
 protected:
  void SetUp() override {
    const TestPhotoKind kinds[] = {TestPhotoKind::Jpeg, TestPhotoKind::Png, TestPhotoKind::Gif,
                                   TestPhotoKind::Bmp, TestPhotoKind::Tif};
    const char* extensions[] = {".jpg", ".png", ".gif", ".bmp", ".tif"};
    constexpr int kPages = 12;
    for (int page = 0; page < kPages; ++page) {
      std::string html = "<html><body>";
      for (int child : {page * 2 + 1, page * 2 + 2, (page * 5 + 3) % kPages}) {
        if (child < kPages && child != page) html += "<a href=\"" + PagePath(child) + "\">p</a>";
      }
      for (int i = 0; i < 4; ++i) {
        const int n = page * 4 + i;
        const int kind = n % 5;
        // Names repeat every seven photos; sizes differ, so bytes tell photos apart.
        const std::string name = "/gallery/f" + std::to_string(n % 3) + "/photo" +
                                 std::to_string(n % 7) + extensions[kind];
        site.Add(name, "image/x", MakeTestPhoto(kinds[kind], 220 + 13 * n, 230 + 7 * (n % 5)));
        html += "<img src=\"" + name + "\">";
      }
      pageHtml[PagePath(page)] = html + "</body></html>";
      site.AddPage(PagePath(page), pageHtml[PagePath(page)]);
    }
    project.url = site.URL(PagePath(0));
  }

  std::map<std::string, std::string> pageHtml;

  static std::string PagePath(int page) {
    if (page == 0) return "/gallery/index.html";
    return "/gallery/f" + std::to_string(page % 3) + "/page" + std::to_string(page) + ".html";
  }

  ScanOutcome Scan(const std::string& folder, int connections) {
    project.saveTo = (dir / folder).string();
    options.web.connectionsPerHost = connections;
    observer.saved.clear();
    observer.rows.clear();
    EXPECT_TRUE(RunScan());
    ScanOutcome outcome;
    for (const auto& entry : fs::recursive_directory_iterator(project.saveTo)) {
      if (!entry.is_regular_file()) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      outcome.files[fs::relative(entry.path(), project.saveTo).string()] =
          std::string(std::istreambuf_iterator<char>(in), {});
    }
    for (const std::string& path : observer.saved)
      outcome.savedOrder.push_back(fs::relative(path, project.saveTo).string());
    if (!observer.rows.empty()) {
      const ScanHistoryRecord& row = observer.rows.back();
      outcome.rowNumbers = {row.pages, row.totalImages, row.savedImages, row.skippedImages};
    }
    return outcome;
  }
};

TEST_F(ScanDeterminism, OneOrManyConnectionsAnyLatencyStoreTheSame) {
  const struct {
    const char* name;
    int autoRename;
    int createFolders;
    DuplicateHandling duplicates;
  } cases[] = {
      {"skip", 0, 0, DuplicateHandling::Skip},
      {"rename", 0, 0, DuplicateHandling::Rename},
      {"overwrite", 0, 0, DuplicateHandling::Overwrite},
      {"larger", 0, 0, DuplicateHandling::OverwriteIfLarger},
      {"numbered", 1, 0, DuplicateHandling::Skip},
      {"numbered-mirrored", 1, 1, DuplicateHandling::Skip},
  };
  project.filterMinimumSize = false;
  project.autoCreateThumbnails = true;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    project.autoRename = c.autoRename;
    project.createFolders = c.createFolders;
    options.duplicates = c.duplicates;
    site.SetJitter(0ms);
    const ScanOutcome sequential = Scan(std::string(c.name) + "-1", 1);
    ASSERT_FALSE(sequential.savedOrder.empty());
    EXPECT_EQ(sequential.rowNumbers[1], 48);
    site.SetJitter(8ms);
    EXPECT_EQ(Scan(std::string(c.name) + "-4", 4), sequential);
  }
}

// Pages far larger than the budget for pages fetched ahead are dropped while they arrive
// and fetched again in their turn: the scan stores the same, asking for each at most twice.
TEST_F(ScanDeterminism, PagesBeyondThePrefetchBudgetStoreTheSame) {
  project.filterMinimumSize = false;
  const ScanOutcome roomy = Scan("roomy", 4);
  // Padding in a comment: the same links, 200 KiB more text, arriving for 50 ms.
  for (const auto& [path, html] : pageHtml)
    site.AddMetered(path, "text/html", html + "<!--" + std::string(200 * 1024, 'x') + "-->");
  options.limits.prefetchBytes = 64 * 1024;
  const int before = site.TotalRequests();
  EXPECT_EQ(Scan("tight", 4), roomy);
  // Pages still arriving count: some were dropped and asked for again.
  EXPECT_GT(site.TotalRequests() - before, 12 + 48);
  EXPECT_LE(site.TotalRequests() - before, 12 * 2 + 48);
}

// Link lists that keep almost nothing in memory, and a photo queue that holds pages back
// after two photos, store the same as roomy ones.
TEST_F(ScanDeterminism, ListsOnDiskAndAShortPhotoQueueStoreTheSame) {
  project.filterMinimumSize = false;
  project.autoRename = 1;
  const ScanOutcome roomy = Scan("roomy", 4);
  options.limits.linksInMemory = 4;
  options.limits.photosWaiting = 2;
  EXPECT_EQ(Scan("tight", 4), roomy);
  for (const std::string& file : FilesIn((dir / "Resume").string()))
    EXPECT_FALSE(file.ends_with(".links")) << file << ": the scratch file stays behind";
}

// Transfers that stall or break part way cost their own photos only.
TEST_F(ScanDeterminism, BrokenTransfersLoseNoOtherPhoto) {
  project.filterMinimumSize = false;
  options.web.stallTimeout = 300ms;
  const std::string jpeg = MakeTestPhoto(TestPhotoKind::Jpeg, 400, 300);
  std::string html = "<html><body>";
  for (int i = 0; i < 24; ++i) {
    const std::string path = "/gallery/b" + std::to_string(i) + ".jpg";
    html += "<img src=\"" + path + "\">";
    if (i % 8 == 3)
      site.AddBroken(path, "image/jpeg", jpeg, TestSite::Breakage::Stall);
    else if (i % 8 == 6)
      site.AddBroken(path, "image/jpeg", jpeg, TestSite::Breakage::Reset);
    else
      site.Add(path, "image/jpeg", jpeg);
  }
  site.AddPage("/gallery/broken.html", html + "</body></html>");
  project.url = site.URL("/gallery/broken.html");
  const ScanOutcome outcome = Scan("broken", 6);
  EXPECT_EQ(outcome.files.size(), 18u);
  EXPECT_EQ(outcome.rowNumbers, (std::vector<int>{1, 24, 18, 6}));
  for (const auto& [name, bytes] : outcome.files) EXPECT_EQ(bytes, jpeg) << name;
  EXPECT_TRUE(FilesIn(options.tempFolder).empty());
}

}  // namespace
}  // namespace trawlix::testing
