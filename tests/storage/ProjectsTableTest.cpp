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

using testing::SampleProject;

class ProjectsTableTest : public testing::TableTest {
 protected:
  void SetUp() override { ASSERT_TRUE(table.OpenTable()); }

  // Inserts and returns the project as stored (with its id).
  CProjectsRecord Store(const CProjectsRecord& record) {
    EXPECT_TRUE(table.InsertProject(record));
    EXPECT_TRUE(table.LoadByCategoryAndTitle(record.m_nCatId, record.m_lpszTitle));
    CProjectsRecord stored;
    EXPECT_TRUE(table.GetCurrent(stored));
    return stored;
  }

  std::vector<std::string> Titles() const {
    std::vector<std::string> out;
    for (const auto& r : table.Records()) out.push_back(r.m_lpszTitle);
    return out;
  }

  CProjectsTable table{DbPath(), messages};
};

TEST_F(ProjectsTableTest, NewFileGetsExactlyTheDeclaredColumns) {
  CSQL3Query q = table.ExecuteQuery("SELECT * FROM Projects;");
  ASSERT_EQ(q.ColumnCount(), 48);
  EXPECT_STREQ(q.ColumnName(2), "Title");
  EXPECT_STREQ(q.ColumnName(47), "MobileExternalIncludeTitle");
}

TEST_F(ProjectsTableTest, InsertLoadUpdateDeleteRoundTripsEveryColumn) {
  const CProjectsRecord record = SampleProject("Bob's Photos v1.0 (best)");
  CProjectsRecord stored = Store(record);
  CProjectsRecord expected = record;
  expected.m_nId = stored.m_nId;
  EXPECT_GT(stored.m_nId, 0);
  EXPECT_EQ(stored, expected);
  EXPECT_EQ(table.ExecuteQuery("SELECT Title FROM Projects;").ColumnText(0),
            std::string("Bob&#39s Photos v1&#460 &#40best&#41"));

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
  EXPECT_FALSE(table.GetCurrent(cached));
  EXPECT_TRUE(messages.requests.empty());
}

TEST_F(ProjectsTableTest, LookupsAreTrimmedAndEncodedToMeetTheStoredForm) {
  const std::vector<std::string> titles = {"St. Ives", "Mary-Jane's", "A & B", "x:y/z,(1)"};
  for (const auto& title : titles) Store(SampleProject(title, 3));
  for (const auto& title : titles) {
    ASSERT_TRUE(table.LoadByCategoryAndTitle(3, "  " + title + " "));
    EXPECT_EQ(Titles(), std::vector<std::string>{title});
    ASSERT_TRUE(table.LoadByTitle(title));
    EXPECT_EQ(Titles(), std::vector<std::string>{title});
    ASSERT_TRUE(table.LoadByTitleAndCategory(title, 3));
    EXPECT_EQ(Titles(), std::vector<std::string>{title});
  }
}

TEST_F(ProjectsTableTest, TextsAreDecodedExactlyOnceOnEveryWayOut) {
  // Typed references, and rows stored with the ampersand step last, read back as stored
  // once: a second decoding would make "/../" of them.
  const std::string typed = "Beach&#47&#46&#46&#47&#46&#46&#47tmp";
  const CProjectsRecord stored = Store(SampleProject(typed));
  EXPECT_EQ(stored.m_lpszTitle, typed);
  table.ExecuteUpdate(
      "INSERT INTO Projects (CatId, Title, URL) VALUES (1, 'Bob&#38#39s', "
      "'http&#38#58&#38#47&#38#47a&#38#46example');");
  ASSERT_TRUE(table.LoadProjects("SELECT * FROM Projects ORDER BY Id;"));
  ASSERT_EQ(table.Records().size(), 2u);
  for (int i = 0; i < 2; ++i) {
    CProjectsRecord current;
    table.SetCurrentIndex(i);
    ASSERT_TRUE(table.GetCurrent(current));
    EXPECT_EQ(current, table.Records()[static_cast<std::size_t>(i)]);
    CProjectsRecord byId;
    ASSERT_TRUE(table.GetById(current.m_nId, byId));
    EXPECT_EQ(byId, current);
  }
  EXPECT_EQ(table.Records()[0].m_lpszTitle, typed);
  EXPECT_EQ(table.Records()[1].m_lpszTitle, "Bob&#39s");
  EXPECT_EQ(table.Records()[1].m_lpszURL, "http&#58&#47&#47a&#46example");
  EXPECT_EQ(table.Records()[1].m_nPadding, 0) << "a NULL integer column reads as 0";
}

TEST_F(ProjectsTableTest, FindByNameMovesAndCounts) {
  for (const char* title : {"Alpha", "alpine lake", "Beta Alpha", "St. Alpha"}) {
    Store(SampleProject(title, 1));
  }
  Store(SampleProject("Alps", 2));
  ASSERT_TRUE(table.FindProjectsByName(" alp", ProjectNameMatch::StartsWith));
  EXPECT_EQ(Titles(), (std::vector<std::string>{"Alpha", "Alps", "alpine lake"}));
  ASSERT_TRUE(table.FindProjectsByName("alp", ProjectNameMatch::StartsWithInCategory, 2));
  EXPECT_EQ(Titles(), (std::vector<std::string>{"Alps"}));
  ASSERT_TRUE(table.FindProjectsByName("Alpha", ProjectNameMatch::Contains));
  EXPECT_EQ(Titles(), (std::vector<std::string>{"Alpha", "Beta Alpha", "St. Alpha"}));
  ASSERT_TRUE(table.FindProjectsByName("St. A", ProjectNameMatch::StartsWith));
  EXPECT_EQ(Titles(), (std::vector<std::string>{"St. Alpha"}));

  EXPECT_TRUE(table.MoveCategory(7, 8)) << "an empty category moves nothing and succeeds";
  ASSERT_TRUE(table.MoveCategory(1, 2));
  ASSERT_TRUE(table.LoadCategoryProjects(2));
  EXPECT_EQ(table.Records().size(), 5u);
  EXPECT_EQ(table.CountProjects(), 5);
}

TEST_F(ProjectsTableTest, DatabaseErrorsBecomeMessagesAndFailureValues) {
  EXPECT_FALSE(table.LoadProjects("SELECT * FROM Nowhere;"));
  CProjectsRecord r;
  EXPECT_FALSE(table.GetCurrent(r));
  table.ExecuteUpdate("DROP TABLE Projects;");
  EXPECT_FALSE(table.InsertProject(SampleProject("X")));
  EXPECT_FALSE(table.UpdateProject(SampleProject("X")));
  EXPECT_FALSE(table.DeleteProject(1));
  EXPECT_EQ(table.CountProjects(), 0);
  const std::string noTable = "Code (1): SQLITE_ERROR[1]: no such table: Projects";
  EXPECT_EQ(messages.Texts(),
            (std::vector<std::string>{"Code (1): SQLITE_ERROR[1]: ", noTable, noTable, noTable,
                                      "Code (1): SQLITE_ERROR[1]: "}));
  EXPECT_EQ(messages.requests[0].caption, "Trawlix() PRO");
}

TEST_F(ProjectsTableTest, UnopenedOrUnopenableTableDoesNothing) {
  CProjectsTable unopened((dir / "other.db").string(), messages);
  EXPECT_FALSE(unopened.LoadAllProjects());
  EXPECT_FALSE(unopened.InsertProject(SampleProject("X")));
  EXPECT_TRUE(messages.requests.empty());
  EXPECT_FALSE(std::filesystem::exists(dir / "other.db"));

  CProjectsTable unopenable((dir / "no" / "such" / "x.db").string(), messages);
  EXPECT_FALSE(unopenable.OpenTable());
  EXPECT_FALSE(unopenable.IsTableOpen());
  EXPECT_FALSE(unopenable.InsertProject(SampleProject("X")));
  EXPECT_EQ(
      messages.Texts(),
      (std::vector<std::string>{"Code (14): SQLITE_CANTOPEN[14]: unable to open database file"}));
}

TEST_F(ProjectsTableTest, DeletingAProjectRemovesItsHistoryAndLinksFirst) {
  const CProjectsRecord keep = Store(SampleProject("Keep"));
  const CProjectsRecord gone = Store(SampleProject("Gone"));
  for (int projectId : {keep.m_nId, gone.m_nId}) {
    CProjectLinksRecord link;
    link.m_nProjectId = projectId;
    ASSERT_TRUE(AddProjectLink(DbPath(), messages, link));
    CScanHistoryRecord scan;
    scan.m_nProjectId = projectId;
    ASSERT_TRUE(AddScanHistory(DbPath(), messages, scan, false));
  }
  ASSERT_TRUE(DeleteProjectWithHistory(DbPath(), messages, gone.m_nId));
  for (const std::string rest : {"ProjectLinks", "ScanHistory"}) {
    EXPECT_EQ(table.ExecuteScalar("SELECT COUNT(*) FROM " + rest), 1) << rest;
    EXPECT_EQ(table.ExecuteScalar("SELECT ProjectId FROM " + rest), keep.m_nId) << rest;
  }
  EXPECT_EQ(table.CountProjects(), 1);
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
  EXPECT_EQ(table.CountProjects(), 1);
}

}  // namespace
}  // namespace trawlix
