#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "TableTestSupport.h"
#include "storage/ProjectLinksTable.h"
#include "storage/ProjectsTable.h"
#include "storage/SQL3DB.h"
#include "storage/ScanHistoryTable.h"

namespace trawlix {
namespace {

using testing::TableTest;

class ProjectsTableTest : public TableTest {
 protected:
  // Inserts and returns the project as stored (with its id).
  CProjectsRecord Store(const CProjectsRecord& record) {
    CProjectsTable table(DbPath(), messages);
    EXPECT_TRUE(table.OpenTable());
    EXPECT_TRUE(table.InsertProject(record));
    EXPECT_TRUE(table.LoadByCategoryAndTitle(record.m_nCatId, record.m_lpszTitle));
    CProjectsRecord stored;
    EXPECT_TRUE(table.GetCurrent(stored));
    return stored;
  }

  std::string RawTitle(int id) {
    CSQL3DB db;
    db.Open(DbPath());
    CSQL3Query q = db.ExecuteQuery("SELECT Title FROM Projects WHERE Id=" + std::to_string(id));
    return q.ColumnText(0);
  }
};

TEST_F(ProjectsTableTest, NewFileGetsExactlyTheDeclaredColumns) {
  CProjectsTable table(DbPath(), messages);
  ASSERT_TRUE(table.OpenTable());
  CSQL3Query q = table.ExecuteQuery("SELECT * FROM Projects;");
  ASSERT_EQ(q.ColumnCount(), 48);
  const char* expected[] = {"Id", "CatId", "Title", "URL", "SaveTo", "JPEG"};
  for (int i = 0; i < 6; ++i) EXPECT_STREQ(q.ColumnName(i), expected[i]);
  EXPECT_STREQ(q.ColumnName(47), "MobileExternalIncludeTitle");
  EXPECT_TRUE(messages.requests.empty());
}

TEST_F(ProjectsTableTest, InsertLoadUpdateDeleteRoundTripsEveryColumn) {
  CProjectsRecord record = SampleProject("Bob's Photos v1.0 (best)");
  const CProjectsRecord original = record;
  CProjectsRecord stored = Store(record);
  EXPECT_EQ(record, original) << "insert leaves the caller's record as it was";
  EXPECT_EQ(record.m_nId, -1);
  EXPECT_GT(stored.m_nId, 0);
  CProjectsRecord expected = original;
  expected.m_nId = stored.m_nId;
  EXPECT_EQ(stored, expected);
  EXPECT_EQ(RawTitle(stored.m_nId), "Bob&#39s Photos v1&#460 &#40best&#41");

  CProjectsTable table(DbPath(), messages);
  ASSERT_TRUE(table.OpenTable());
  ASSERT_TRUE(table.LoadAllProjects());
  stored.m_lpszTitle = "Renamed: a-b/c";
  stored.m_nPadding = 5;
  ASSERT_TRUE(table.UpdateProject(stored));
  CProjectsRecord cached;
  ASSERT_TRUE(table.GetById(stored.m_nId, cached));
  EXPECT_EQ(cached, stored) << "the cache follows an update";
  ASSERT_TRUE(table.LoadProjectById(stored.m_nId));
  ASSERT_TRUE(table.GetCurrent(cached));
  EXPECT_EQ(cached, stored);

  ASSERT_TRUE(table.DeleteProject(stored.m_nId));
  EXPECT_EQ(table.FindIndexById(stored.m_nId), -1);
  ASSERT_TRUE(table.LoadProjectById(stored.m_nId));
  EXPECT_TRUE(table.Records().empty());
  EXPECT_FALSE(table.GetCurrent(cached));
  EXPECT_TRUE(messages.requests.empty());
}

TEST_F(ProjectsTableTest, EncodedCharactersSurviveStoreAndLookup) {
  const std::vector<std::string> titles = {"St. Ives", "Mary-Jane's", "A & B", "x:y/z,(1)"};
  for (const auto& title : titles) Store(SampleProject(title, 3));
  CProjectsTable table(DbPath(), messages);
  ASSERT_TRUE(table.OpenTable());
  for (const auto& title : titles) {
    // Look-ups are trimmed and encoded, so they meet the stored form.
    ASSERT_TRUE(table.LoadByCategoryAndTitle(3, "  " + title + " ")) << title;
    ASSERT_EQ(table.Records().size(), 1u) << title;
    ASSERT_TRUE(table.LoadByTitle(title));
    ASSERT_EQ(table.Records().size(), 1u) << title;
    ASSERT_TRUE(table.LoadByTitleAndCategory(title, 3));
    ASSERT_EQ(table.Records().size(), 1u) << title;
    CProjectsRecord r;
    ASSERT_TRUE(table.GetCurrent(r));
    EXPECT_EQ(r.m_lpszTitle, title);
    EXPECT_EQ(r.m_lpszKeywords, "beach, sunset & sea");
    EXPECT_EQ(r.m_lpszURL, "http://www.example.com/gallery-1/index.php?a=1&b=2");
  }
  EXPECT_TRUE(messages.requests.empty());
}

TEST_F(ProjectsTableTest, OldAmpersandLastRowsReadBackTheEnteredText) {
  CProjectsTable table(DbPath(), messages);
  ASSERT_TRUE(table.OpenTable());
  table.ExecuteUpdate(
      "INSERT INTO Projects (CatId, Title, URL) VALUES (1, 'Bob&#38#39s', "
      "'http&#38#58&#38#47&#38#47a&#38#46example');");
  ASSERT_TRUE(table.LoadAllProjects());
  ASSERT_EQ(table.Records().size(), 1u);
  EXPECT_EQ(table.Records()[0].m_lpszTitle, "Bob&#39s") << "the cache holds one decoding";
  CProjectsRecord r;
  ASSERT_TRUE(table.GetCurrent(r));
  EXPECT_EQ(r.m_lpszTitle, "Bob's");
  EXPECT_EQ(r.m_lpszURL, "http://a.example");
  EXPECT_EQ(r.m_nPadding, 0) << "a NULL integer column reads as 0";
}

TEST_F(ProjectsTableTest, FindByNameMatchesStartsAndContains) {
  for (const char* title : {"Alpha", "alpine lake", "Beta Alpha", "St. Alpha"}) {
    Store(SampleProject(title, 1));
  }
  Store(SampleProject("Alps", 2));
  CProjectsTable table(DbPath(), messages);
  ASSERT_TRUE(table.OpenTable());
  auto titles = [&] {
    std::vector<std::string> out;
    for (const auto& r : table.Records()) out.push_back(r.m_lpszTitle);
    return out;
  };
  ASSERT_TRUE(table.FindProjectsByName(" alp", ProjectNameMatch::StartsWith));
  EXPECT_EQ(titles(), (std::vector<std::string>{"Alpha", "Alps", "alpine lake"}));
  ASSERT_TRUE(table.FindProjectsByName("alp", ProjectNameMatch::StartsWithInCategory, 2));
  EXPECT_EQ(titles(), (std::vector<std::string>{"Alps"}));
  ASSERT_TRUE(table.FindProjectsByName("Alpha", ProjectNameMatch::Contains));
  EXPECT_EQ(titles(), (std::vector<std::string>{"Alpha", "Beta Alpha", "St. Alpha"}));
  ASSERT_TRUE(table.FindProjectsByName("St. A", ProjectNameMatch::StartsWith));
  EXPECT_EQ(titles(), (std::vector<std::string>{"St. Alpha"}));
}

TEST_F(ProjectsTableTest, MoveCategoryAndCount) {
  Store(SampleProject("A", 1));
  Store(SampleProject("B", 1));
  Store(SampleProject("C", 2));
  CProjectsTable table(DbPath(), messages);
  ASSERT_TRUE(table.OpenTable());
  EXPECT_EQ(table.CountProjects(), 3);
  EXPECT_TRUE(table.MoveCategory(7, 8)) << "an empty category moves nothing and succeeds";
  ASSERT_TRUE(table.MoveCategory(1, 2));
  ASSERT_TRUE(table.LoadCategoryProjects(2));
  EXPECT_EQ(table.Records().size(), 3u);
  ASSERT_TRUE(table.LoadCategoryProjects(1));
  EXPECT_TRUE(table.Records().empty());
}

TEST_F(ProjectsTableTest, DatabaseErrorsBecomeMessagesAndFailureValues) {
  CProjectsTable table(DbPath(), messages);
  ASSERT_TRUE(table.OpenTable());
  ASSERT_TRUE(table.LoadProjects("SELECT * FROM Projects;"));
  EXPECT_FALSE(table.LoadProjects("SELECT * FROM Nowhere;"));
  EXPECT_TRUE(table.Records().empty());
  CProjectsRecord r;
  EXPECT_FALSE(table.GetCurrent(r));
  table.ExecuteUpdate("DROP TABLE Projects;");
  EXPECT_FALSE(table.InsertProject(SampleProject("X")));
  EXPECT_FALSE(table.UpdateProject(SampleProject("X")));
  EXPECT_FALSE(table.DeleteProject(1));
  EXPECT_EQ(table.CountProjects(), 0);
  EXPECT_EQ(
      messages.Texts(),
      (std::vector<std::string>{
          "Code (1): SQLITE_ERROR[1]: ", "Code (1): SQLITE_ERROR[1]: no such table: Projects",
          "Code (1): SQLITE_ERROR[1]: no such table: Projects",
          "Code (1): SQLITE_ERROR[1]: no such table: Projects", "Code (1): SQLITE_ERROR[1]: "}));
  EXPECT_EQ(messages.requests[0].caption, "Trawlix() PRO");
}

TEST_F(ProjectsTableTest, UnopenableFileIsReportedOnceAndNotAsOpen) {
  CProjectsTable table((dir / "no" / "such" / "x.db").string(), messages);
  EXPECT_FALSE(table.OpenTable());
  EXPECT_FALSE(table.IsTableOpen());
  EXPECT_FALSE(table.LoadAllProjects());
  EXPECT_FALSE(table.InsertProject(SampleProject("X")));
  EXPECT_EQ(
      messages.Texts(),
      (std::vector<std::string>{"Code (14): SQLITE_CANTOPEN[14]: unable to open database file"}));
}

TEST_F(ProjectsTableTest, UnopenedTableDoesNothing) {
  CProjectsTable table(DbPath(), messages);
  EXPECT_FALSE(table.LoadAllProjects());
  EXPECT_FALSE(table.InsertProject(SampleProject("X")));
  EXPECT_EQ(table.CountProjects(), 0);
  EXPECT_TRUE(messages.requests.empty());
  EXPECT_FALSE(std::filesystem::exists(DbPath()));
}

TEST_F(ProjectsTableTest, DeletingAProjectRemovesItsHistoryAndLinksFirst) {
  const CProjectsRecord keep = Store(SampleProject("Keep"));
  const CProjectsRecord gone = Store(SampleProject("Gone"));
  for (int projectId : {keep.m_nId, gone.m_nId}) {
    CProjectLinksRecord link;
    link.m_nProjectId = projectId;
    link.m_lpszURL = "http://a.example/";
    ASSERT_TRUE(AddProjectLink(DbPath(), messages, link));
    CScanHistoryRecord scan;
    scan.m_nProjectId = projectId;
    scan.m_lpszGUID = "G" + std::to_string(projectId);
    ASSERT_TRUE(AddScanHistory(DbPath(), messages, scan, false));
  }
  ASSERT_TRUE(DeleteProjectWithHistory(DbPath(), messages, gone.m_nId));
  CProjectLinksTable links(DbPath(), messages);
  ASSERT_TRUE(links.OpenTable());
  EXPECT_EQ(links.CountLinks(gone.m_nId), 0);
  EXPECT_EQ(links.CountLinks(keep.m_nId), 1);
  EXPECT_EQ(links.ExecuteScalar("SELECT COUNT(*) FROM ScanHistory;"), 1);
  EXPECT_EQ(links.ExecuteScalar("SELECT COUNT(*) FROM Projects;"), 1);
  EXPECT_TRUE(messages.requests.empty());
}

TEST_F(ProjectsTableTest, FailedHistoryDeleteKeepsTheProject) {
  const CProjectsRecord project = Store(SampleProject("Stays"));
  {
    CScanHistoryTable history(DbPath(), messages);
    ASSERT_TRUE(history.OpenTable());
    history.ExecuteUpdate(
        "CREATE TRIGGER Keep BEFORE DELETE ON ScanHistory BEGIN SELECT RAISE(ABORT, 'kept'); "
        "END;");
    CScanHistoryRecord scan;
    scan.m_nProjectId = project.m_nId;
    ASSERT_TRUE(history.InsertScanHistory(scan));
  }
  EXPECT_FALSE(DeleteProjectWithHistory(DbPath(), messages, project.m_nId));
  EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Code (19): SQLITE_CONSTRAINT[19]: kept"}));
  CProjectsTable table(DbPath(), messages);
  ASSERT_TRUE(table.OpenTable());
  EXPECT_EQ(table.CountProjects(), 1);
}

}  // namespace
}  // namespace trawlix
