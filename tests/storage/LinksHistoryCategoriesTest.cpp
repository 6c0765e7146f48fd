#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TableTestSupport.h"
#include "storage/CategoriesTable.h"
#include "storage/ProjectLinksTable.h"
#include "storage/ScanHistoryTable.h"

namespace trawlix {
namespace {

using testing::TableTest;

CProjectLinksRecord Link(int projectId, const std::string& url, const std::string& date,
                         int photos) {
  CProjectLinksRecord link;
  link.m_nProjectId = projectId;
  link.m_lpszdtDate = date;
  link.m_nSearchSubFolders = 1;
  link.m_lpszTitle = "Season's best (2024)";
  link.m_lpszURL = url;
  link.m_nKeywordMustExist = 0;
  link.m_lpszKeywords = "a, b-c";
  link.m_lpszGUID = "0A1B2C3D-0000-1111-2222-333344445555";
  link.m_nPhotos = photos;
  return link;
}

CScanHistoryRecord Scan(int projectId, const std::string& guid, int saved) {
  CScanHistoryRecord scan;
  scan.m_nProjectId = projectId;
  scan.m_lpszScanDate = "03/14/2025";
  scan.m_lpszTotalTime = "1:02:03";
  scan.m_lpszURL = "https://a.example/x.html";
  scan.m_nPages = 4;
  scan.m_nTotalImages = 10;
  scan.m_nSavedImages = saved;
  scan.m_nSkippedImages = 10 - saved;
  scan.m_nStatus = 1;
  scan.m_nType = 0;
  scan.m_nSearchSubFolders = 1;
  scan.m_nTotalTimeInSeconds = 3723;
  scan.m_nTransferTimeInSeconds = 60;
  scan.m_nTotalBytes = 1000;
  scan.m_lpszGUID = guid;
  return scan;
}

std::vector<int> LinkIds(const CProjectLinksTable& table) {
  std::vector<int> ids;
  for (const auto& r : table.Records()) ids.push_back(r.m_nId);
  return ids;
}

class ProjectLinksTableTest : public TableTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(links.OpenTable());
    ASSERT_TRUE(links.InsertProjectLink(Link(1, "http://b.example/", "12/01/2023", 5)));
    ASSERT_TRUE(links.InsertProjectLink(Link(1, "http://a.example/", "02/15/2024", 9)));
    ASSERT_TRUE(links.InsertProjectLink(Link(1, "http://c.example/", "11/30/2024", 1)));
    ASSERT_TRUE(links.InsertProjectLink(Link(2, "http://a.example/", "01/01/2020", 0)));
  }
  CProjectLinksTable links{DbPath(), messages};
};

TEST_F(ProjectLinksTableTest, StoresAndReadsEveryColumn) {
  ASSERT_TRUE(links.LoadLinkById(1));
  CProjectLinksRecord r;
  ASSERT_TRUE(links.GetCurrent(r));
  CProjectLinksRecord expected = Link(1, "http://b.example/", "12/01/2023", 5);
  expected.m_nId = 1;
  EXPECT_EQ(r, expected);
  EXPECT_EQ(
      links.ExecuteScalar("SELECT COUNT(*) FROM ProjectLinks WHERE dtDate='12&#4701&#472023'"), 1);
  EXPECT_EQ(links.CountLinks(1), 3);
  EXPECT_EQ(links.CountLinks(3), 0);
  EXPECT_TRUE(messages.requests.empty());
}

TEST_F(ProjectLinksTableTest, SortedLoadsFollowTheListColumns) {
  struct Case {
    LinkSortColumn column;
    bool ascending;
    std::vector<int> ids;
  };
  // Dates sort as text, month first: "02/15/2024" < "11/30/2024" < "12/01/2023".
  const Case cases[] = {
      {LinkSortColumn::Id, true, {1, 2, 3}},      {LinkSortColumn::Id, false, {3, 2, 1}},
      {LinkSortColumn::Date, true, {2, 3, 1}},    {LinkSortColumn::URL, true, {2, 1, 3}},
      {LinkSortColumn::Photos, false, {2, 1, 3}},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(links.LoadLinksSorted(1, c.column, c.ascending));
    EXPECT_EQ(LinkIds(links), c.ids) << static_cast<int>(c.column) << c.ascending;
  }
  ASSERT_TRUE(links.LoadLinksOfProject(1));
  EXPECT_EQ(LinkIds(links), (std::vector<int>{1, 2, 3}));
}

TEST_F(ProjectLinksTableTest, LooksUpByAddressAndSelection) {
  ASSERT_TRUE(links.LoadLinkByURL(2, "http://a.example/"));
  EXPECT_EQ(LinkIds(links), (std::vector<int>{4}));
  ASSERT_TRUE(links.LoadLinkByURL(1, "http://nowhere.example/"));
  EXPECT_TRUE(links.Records().empty());
  const int some[] = {3, 1, 99};
  ASSERT_TRUE(links.LoadLinksByIds(some));
  EXPECT_EQ(LinkIds(links), (std::vector<int>{1, 3}));
  ASSERT_TRUE(links.LoadLinksByIds({}));
  EXPECT_TRUE(links.Records().empty());
  EXPECT_TRUE(messages.requests.empty());
}

TEST_F(ProjectLinksTableTest, SelectionDeleteSparesOtherProjectsLinks) {
  const int selection[] = {1, 4, 3};
  EXPECT_EQ(links.DeleteSelection(1, selection), 2);
  ASSERT_TRUE(links.LoadProjectLinks("SELECT * FROM ProjectLinks ORDER BY Id;"));
  EXPECT_EQ(LinkIds(links), (std::vector<int>{2, 4}));
  EXPECT_TRUE(links.DeleteProjectLinks(1));
  EXPECT_EQ(links.CountLinks(1), 0);
  EXPECT_EQ(links.CountLinks(2), 1);
  EXPECT_TRUE(messages.requests.empty());
}

TEST_F(ProjectLinksTableTest, SetLinkPhotosUpdatesOnlyExistingLinks) {
  ASSERT_TRUE(links.SetLinkPhotos(2, 1, 42));
  EXPECT_FALSE(links.SetLinkPhotos(77, 1, 42));
  ASSERT_TRUE(links.LoadLinkById(2));
  CProjectLinksRecord r;
  ASSERT_TRUE(links.GetCurrent(r));
  EXPECT_EQ(r.m_nPhotos, 42);
  EXPECT_EQ(r.m_lpszTitle, "Season's best (2024)") << "the update keeps the other columns";
}

class ScanHistoryTableTest : public TableTest {};

TEST_F(ScanHistoryTableTest, AddScanHistoryStoresAndFindsTheRowAgain) {
  CProjectLinksRecord link = Link(7, "https://a.example/x.html", "01/02/2025", 3);
  ASSERT_TRUE(AddProjectLink(DbPath(), messages, link));
  auto stored = AddScanHistory(DbPath(), messages, Scan(7, "GUID-1", 6), false);
  ASSERT_TRUE(stored.has_value());
  CScanHistoryRecord expected = Scan(7, "GUID-1", 6);
  expected.m_nId = 1;
  EXPECT_EQ(*stored, expected);
  CProjectLinksTable links(DbPath(), messages);
  ASSERT_TRUE(links.OpenTable());
  ASSERT_TRUE(links.LoadLinksOfProject(7));
  EXPECT_EQ(links.Records()[0].m_nPhotos, 6) << "the scanned link gets the photos saved";
  EXPECT_TRUE(messages.requests.empty());
}

TEST_F(ScanHistoryTableTest, OnlySuccessfulScansSkipsEmptyScansButStillCountsTheLink) {
  ASSERT_TRUE(AddProjectLink(DbPath(), messages, Link(7, "https://a.example/x.html", "", 3)));
  EXPECT_FALSE(AddScanHistory(DbPath(), messages, Scan(7, "G0", 0), true).has_value());
  EXPECT_TRUE(AddScanHistory(DbPath(), messages, Scan(7, "G1", 0), false).has_value());
  EXPECT_TRUE(AddScanHistory(DbPath(), messages, Scan(7, "G2", 2), true).has_value());
  CScanHistoryTable history(DbPath(), messages);
  ASSERT_TRUE(history.OpenTable());
  ASSERT_TRUE(history.LoadAllHistory());
  ASSERT_EQ(history.Records().size(), 2u);
  EXPECT_EQ(history.Records()[0].m_lpszGUID, "G1");

  ASSERT_TRUE(AddScanHistory(DbPath(), messages, Scan(7, "G3", 0), true) == std::nullopt);
  CProjectLinksTable links(DbPath(), messages);
  ASSERT_TRUE(links.OpenTable());
  ASSERT_TRUE(links.LoadLinksOfProject(7));
  EXPECT_EQ(links.Records()[0].m_nPhotos, 0);
}

TEST_F(ScanHistoryTableTest, TotalsSelectionDeleteAndProjectDelete) {
  CScanHistoryTable history(DbPath(), messages);
  ASSERT_TRUE(history.OpenTable());
  EXPECT_EQ(history.ProjectTotals(1).scans, 0);
  EXPECT_EQ(history.PhotosSavedByProject(1), 0);
  ASSERT_TRUE(history.InsertScanHistory(Scan(1, "A", 3)));
  ASSERT_TRUE(history.InsertScanHistory(Scan(1, "B", 4)));
  ASSERT_TRUE(history.InsertScanHistory(Scan(2, "C", 5)));
  const ScanTotals totals = history.ProjectTotals(1);
  EXPECT_EQ(totals.scans, 2);
  EXPECT_EQ(totals.totalTimeInSeconds, 7446);
  EXPECT_EQ(totals.transferTimeInSeconds, 120);
  EXPECT_EQ(totals.totalBytes, 2000);
  EXPECT_EQ(totals.pages, 8);
  EXPECT_EQ(totals.totalImages, 20);
  EXPECT_EQ(totals.savedImages, 7);
  EXPECT_EQ(history.PhotosSavedByProject(1), 7);

  ASSERT_TRUE(history.LoadProjectHistory(1));
  ASSERT_EQ(history.Records().size(), 2u);
  EXPECT_EQ(history.Records()[0].m_lpszTotalTime, "1:02:03");
  const int selection[] = {1, 3};
  EXPECT_EQ(history.DeleteSelection(1, selection), 1);
  ASSERT_TRUE(history.LoadAllHistory());
  EXPECT_EQ(history.Records().size(), 2u);
  ASSERT_TRUE(history.DeleteProjectHistory(2));
  ASSERT_TRUE(history.LoadAllHistory());
  ASSERT_EQ(history.Records().size(), 1u);
  EXPECT_EQ(history.Records()[0].m_lpszGUID, "B");
  EXPECT_TRUE(messages.requests.empty());
}

class CategoriesTableTest : public TableTest {
 protected:
  void SetUp() override { ASSERT_TRUE(categories.OpenTable()); }
  CCategoriesTable categories{DbPath(), messages};
};

TEST_F(CategoriesTableTest, InsertRenameDeleteAndLookups) {
  ASSERT_TRUE(categories.InsertCategory("Zoo"));
  ASSERT_TRUE(categories.InsertCategory("Mr. Smith's"));
  ASSERT_TRUE(categories.InsertCategory("Imported Projects"));
  EXPECT_EQ(categories.CountCategories(), 3);
  ASSERT_TRUE(categories.LoadAllCategories());
  ASSERT_EQ(categories.Records().size(), 3u);
  EXPECT_EQ(categories.Records()[0].m_lpszName, "Imported Projects");

  const int id = categories.CategoryIdByName("  Mr. Smith's ");
  EXPECT_EQ(id, 2);
  EXPECT_EQ(categories.CategoryNameById(id), "Mr. Smith's");
  EXPECT_TRUE(categories.CategoryNameExists("Mr. Smith's"));
  EXPECT_EQ(categories.CategoryIdByName("Nobody"), -1);
  EXPECT_EQ(categories.CategoryNameById(99), "");

  ASSERT_TRUE(categories.RenameCategory(id, "Dr. Who"));
  EXPECT_EQ(categories.CategoryNameById(id), "Dr. Who");
  ASSERT_TRUE(categories.DeleteCategory(id));
  EXPECT_EQ(categories.CategoryNameById(id), "");
  EXPECT_EQ(categories.CountCategories(), 2);
  EXPECT_TRUE(messages.requests.empty());
}

TEST_F(CategoriesTableTest, AllNeedsNoDatabase) {
  CCategoriesTable closed((dir / "none" / "x.db").string(), messages);
  EXPECT_EQ(closed.CategoryNameById(-1), "All");
  EXPECT_TRUE(messages.requests.empty());
}

TEST_F(CategoriesTableTest, NewNameRules) {
  ASSERT_TRUE(categories.InsertCategory("Models"));
  ASSERT_TRUE(categories.InsertCategory("St. Ives"));
  struct Case {
    const char* name;
    const char* message;  // nullptr: accepted
  };
  const Case cases[] = {
      {"", "Please type in category name."},
      {"   ", "Please type in category name."},
      {"ALL", "The category already exists.\nPlease try again."},
      {" all ", "The category already exists.\nPlease try again."},
      {"Models", "The category already exists.\nPlease try again."},
      {"St. Ives", "The category already exists.\nPlease try again."},
      {"St Ives", nullptr},
      {"Allure", nullptr},
  };
  for (const auto& c : cases) {
    const auto refusal = CheckNewCategoryName(categories, c.name);
    if (c.message == nullptr) {
      EXPECT_FALSE(refusal.has_value()) << c.name;
    } else {
      ASSERT_TRUE(refusal.has_value()) << c.name;
      EXPECT_EQ(refusal->text, c.message);
    }
  }
  EXPECT_EQ(CheckNewCategoryName(categories, "")->caption, "Trawlix()PRO");
  EXPECT_EQ(CheckNewCategoryName(categories, "all")->caption, "Trawlix() PRO");
  EXPECT_TRUE(IsImportedProjectsCategory("imported PROJECTS"));
  EXPECT_FALSE(IsImportedProjectsCategory("Imported"));
}

TEST_F(CategoriesTableTest, ErrorsShowTheCodeMessage) {
  categories.ExecuteUpdate("DROP TABLE Categories;");
  EXPECT_FALSE(categories.InsertCategory("X"));
  EXPECT_EQ(categories.CategoryIdByName("X"), -1);
  EXPECT_FALSE(categories.CategoryNameExists("X"));
  ASSERT_EQ(messages.requests.size(), 3u);
  EXPECT_EQ(messages.Texts()[0], "Code (1): SQLITE_ERROR[1]: no such table: Categories");
  EXPECT_EQ(messages.Texts()[1], "Code (1): SQLITE_ERROR[1]: ");
}

}  // namespace
}  // namespace trawlix
