#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "TableTestSupport.h"
#include "storage/CategoriesTable.h"
#include "storage/Database.h"
#include "storage/ProjectLinksTable.h"
#include "storage/ScanHistoryTable.h"

namespace trawlix {
namespace {

using testing::TableTest;

using testing::Filled;
using testing::Ids;

ProjectLinksRecord Link(int projectId, const std::string& url, const std::string& date,
                        int photos) {
  ProjectLinksRecord link = Filled<ProjectLinksRecord>();
  link.projectId = projectId;
  link.date = date;
  link.url = url;
  link.photos = photos;
  return link;
}

ScanHistoryRecord Scan(int projectId, const std::string& guid, int saved) {
  ScanHistoryRecord scan = Filled<ScanHistoryRecord>();
  scan.projectId = projectId;
  scan.url = "https://a.example/x.html";
  scan.savedImages = saved;
  scan.guid = guid;
  return scan;
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
  ProjectLinksTable links{DbPath(), messages};
};

TEST_F(ProjectLinksTableTest, StoresAndReadsEveryColumn) {
  ASSERT_TRUE(links.LoadLinkById(1));
  ProjectLinksRecord r;
  ASSERT_TRUE(links.GetCurrent(r));
  ProjectLinksRecord expected = Link(1, "http://b.example/", "12/01/2023", 5);
  expected.id = 1;
  EXPECT_EQ(r, expected);
  EXPECT_EQ(
      links.ExecuteScalar("SELECT COUNT(*) FROM ProjectLinks WHERE dtDate='12&#4701&#472023'"), 1);
  EXPECT_EQ(links.CountLinks(1), 3);
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
    EXPECT_EQ(Ids(links), c.ids) << static_cast<int>(c.column) << c.ascending;
  }
  ASSERT_TRUE(links.LoadLinksOfProject(1));
  EXPECT_EQ(Ids(links), (std::vector<int>{1, 2, 3}));
}

TEST_F(ProjectLinksTableTest, LooksUpByAddressAndSelection) {
  ASSERT_TRUE(links.LoadLinkByURL(2, "http://a.example/"));
  EXPECT_EQ(Ids(links), (std::vector<int>{4}));
  const int some[] = {3, 1, 99};
  ASSERT_TRUE(links.LoadLinksByIds(some));
  EXPECT_EQ(Ids(links), (std::vector<int>{1, 3}));
  ASSERT_TRUE(links.LoadLinksByIds({}));
  EXPECT_TRUE(links.Records().empty());
}

TEST_F(ProjectLinksTableTest, SelectionDeleteSparesOtherProjectsLinks) {
  const int selection[] = {1, 4, 3};
  EXPECT_EQ(links.DeleteSelection(1, selection), 2);
  ASSERT_TRUE(links.LoadProjectLinks("SELECT * FROM ProjectLinks ORDER BY Id;"));
  EXPECT_EQ(Ids(links), (std::vector<int>{2, 4}));
  EXPECT_TRUE(links.DeleteProjectLinks(1));
  EXPECT_EQ(links.CountLinks(1), 0);
  EXPECT_EQ(links.CountLinks(2), 1);
  EXPECT_TRUE(messages.requests.empty());
}

TEST_F(ProjectLinksTableTest, SetLinkPhotosUpdatesOnlyExistingLinks) {
  ASSERT_TRUE(links.SetLinkPhotos(2, 1, 42));
  EXPECT_FALSE(links.SetLinkPhotos(77, 1, 42));
  ASSERT_TRUE(links.LoadLinkById(2));
  ProjectLinksRecord r;
  ASSERT_TRUE(links.GetCurrent(r));
  EXPECT_EQ(r.photos, 42);
  EXPECT_EQ(r.title, Link(1, "", "", 0).title) << "the other columns stay";
}

class ScanHistoryTableTest : public TableTest {};

TEST_F(ScanHistoryTableTest, AddScanHistoryStoresTheRowAndSetsTheLinksPhotos) {
  ASSERT_TRUE(AddProjectLink(DbPath(), messages, Link(7, "https://a.example/x.html", "", 3)));
  const auto stored = AddScanHistory(DbPath(), messages, Scan(7, "G1", 6), true);
  ASSERT_TRUE(stored.has_value());
  ScanHistoryRecord expected = Scan(7, "G1", 6);
  expected.id = 1;
  EXPECT_EQ(*stored, expected);
  ProjectLinksTable links(DbPath(), messages);
  ASSERT_TRUE(links.OpenTable());
  auto linkPhotos = [&] {
    EXPECT_TRUE(links.LoadLinksOfProject(7));
    return links.Records().at(0).photos;
  };
  EXPECT_EQ(linkPhotos(), 6);
  // Only scans that saved photos are kept, but the link still learns that none were.
  EXPECT_FALSE(AddScanHistory(DbPath(), messages, Scan(7, "G2", 0), true).has_value());
  EXPECT_EQ(linkPhotos(), 0);
  EXPECT_TRUE(AddScanHistory(DbPath(), messages, Scan(7, "G3", 0), false).has_value());
  EXPECT_EQ(links.ExecuteScalar("SELECT COUNT(*) FROM ScanHistory;"), 2);
  EXPECT_TRUE(messages.requests.empty());
}

TEST_F(ScanHistoryTableTest, TotalBytesHoldsScansBeyondTwoGigabytes) {
  ScanHistoryTable history(DbPath(), messages);
  ASSERT_TRUE(history.OpenTable());
  const std::int64_t sizes[] = {2'650'000'000, 5'000'000'000'000, 0, -1};
  for (const std::int64_t bytes : sizes) {
    ScanHistoryRecord scan = Scan(1, "G", 1);
    scan.totalBytes = bytes;
    ASSERT_TRUE(history.InsertScanHistory(scan));
  }
  ASSERT_TRUE(history.LoadProjectHistory(1));
  ASSERT_EQ(history.Records().size(), std::size(sizes));
  for (std::size_t i = 0; i < std::size(sizes); ++i) {
    EXPECT_EQ(history.Records()[i].totalBytes, sizes[i]);
  }
  EXPECT_EQ(history.ProjectTotals(1).totalBytes, 5'002'650'000'000 - 1);
  EXPECT_EQ(TextToInt64("99999999999999999999"), INT64_MAX) << "clamped, not wrapped";
  EXPECT_EQ(TextToInt64("-99999999999999999999"), INT64_MIN);
  EXPECT_EQ(TextToInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(TextToInt("2147483648"), INT32_MAX);
}

TEST_F(ScanHistoryTableTest, TotalsSelectionDeleteAndProjectDelete) {
  ScanHistoryTable history(DbPath(), messages);
  ASSERT_TRUE(history.OpenTable());
  EXPECT_EQ(history.ProjectTotals(1).scans, 0);
  ASSERT_TRUE(history.InsertScanHistory(Scan(1, "A", 3)));
  ASSERT_TRUE(history.InsertScanHistory(Scan(1, "B", 4)));
  ASSERT_TRUE(history.InsertScanHistory(Scan(2, "C", 5)));
  const ScanTotals totals = history.ProjectTotals(1);
  const ScanHistoryRecord one = Scan(1, "", 0);
  EXPECT_EQ(totals.scans, 2);
  EXPECT_EQ(totals.totalTimeInSeconds, 2 * one.totalTimeInSeconds);
  EXPECT_EQ(totals.transferTimeInSeconds, 2 * one.transferTimeInSeconds);
  EXPECT_EQ(totals.totalBytes, 2 * one.totalBytes);
  EXPECT_EQ(totals.pages, 2 * one.pages);
  EXPECT_EQ(totals.totalImages, 2 * one.totalImages);
  EXPECT_EQ(totals.savedImages, 7);
  EXPECT_EQ(history.PhotosSavedByProject(1), 7);

  ASSERT_TRUE(history.LoadProjectHistory(1));
  EXPECT_EQ(Ids(history), (std::vector<int>{1, 2}));
  const int selection[] = {1, 3};
  EXPECT_EQ(history.DeleteSelection(1, selection), 1);
  ASSERT_TRUE(history.LoadAllHistory());
  EXPECT_EQ(history.Records().size(), 2u);
  ASSERT_TRUE(history.DeleteProjectHistory(2));
  ASSERT_TRUE(history.LoadAllHistory());
  ASSERT_EQ(history.Records().size(), 1u);
  EXPECT_EQ(history.Records()[0].guid, "B");
  EXPECT_TRUE(messages.requests.empty());
}

class CategoriesTableTest : public TableTest {
 protected:
  void SetUp() override { ASSERT_TRUE(categories.OpenTable()); }
  CategoriesTable categories{DbPath(), messages};
};

TEST_F(CategoriesTableTest, InsertRenameDeleteAndLookups) {
  ASSERT_TRUE(categories.InsertCategory("Zoo"));
  ASSERT_TRUE(categories.InsertCategory("Mr. Smith's"));
  ASSERT_TRUE(categories.InsertCategory("Imported Projects"));
  ASSERT_TRUE(categories.LoadAllCategories());
  ASSERT_EQ(categories.Records().size(), 3u);
  EXPECT_EQ(categories.Records()[0].name, "Imported Projects");

  const int id = categories.CategoryIdByName("  Mr. Smith's ");
  EXPECT_EQ(id, 2);
  EXPECT_EQ(categories.CategoryNameById(id), "Mr. Smith's");
  EXPECT_EQ(categories.CategoryIdByName("Nobody"), -1);
  EXPECT_EQ(categories.CategoryNameById(99), "");
  EXPECT_EQ(CategoriesTable("/no/such/x.db", messages).CategoryNameById(-1), "All");

  ASSERT_TRUE(categories.RenameCategory(id, "Dr. Who"));
  EXPECT_EQ(categories.CategoryNameById(id), "Dr. Who");
  ASSERT_TRUE(categories.DeleteCategory(id));
  EXPECT_EQ(categories.CategoryNameById(id), "");
  EXPECT_EQ(categories.CountCategories(), 2);
  EXPECT_TRUE(messages.requests.empty());
}

TEST_F(CategoriesTableTest, NewNameRules) {
  ASSERT_TRUE(categories.InsertCategory("St. Ives"));
  const std::string exists = "The category already exists.\nPlease try again.";
  const std::pair<const char*, std::string> cases[] = {
      {"", "Please type in category name."},
      {" all ", exists},
      {"St. Ives", exists},
      {"St Ives", ""},
      {"Allure", ""},
  };
  for (const auto& [name, message] : cases) {
    const auto refusal = CheckNewCategoryName(categories, name);
    EXPECT_EQ(refusal ? refusal->text : "", message) << name;
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
