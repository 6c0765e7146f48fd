#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>
#include <vector>

#include "TableTestSupport.h"
#include "storage/Database.h"
#include "storage/ProjectLinksTable.h"
#include "storage/ProjectsTable.h"
#include "storage/ScanHistoryTable.h"

namespace trawlix {
namespace {

using testing::SampleProject;

class ProjectsTableTest : public testing::TableTest {
 protected:
  void SetUp() override { ASSERT_TRUE(table.OpenTable()); }

  // Inserts and returns the project as stored (with its id).
  ProjectsRecord Store(const ProjectsRecord& record) {
    EXPECT_TRUE(table.InsertProject(record));
    EXPECT_TRUE(table.LoadByCategoryAndTitle(record.catId, record.title));
    ProjectsRecord stored;
    EXPECT_TRUE(table.GetCurrent(stored));
    return stored;
  }

  std::vector<std::string> Titles() const {
    std::vector<std::string> out;
    for (const auto& r : table.Records()) out.push_back(r.title);
    return out;
  }

  ProjectsTable table{DbPath(), messages};
};

TEST_F(ProjectsTableTest, NewFileGetsExactlyTheDeclaredColumns) {
  DatabaseQuery q = table.ExecuteQuery("SELECT * FROM Projects;");
  ASSERT_EQ(q.ColumnCount(), 48);
  EXPECT_STREQ(q.ColumnName(2), "Title");
  EXPECT_STREQ(q.ColumnName(47), "MobileExternalIncludeTitle");
}

TEST_F(ProjectsTableTest, InsertLoadUpdateDeleteRoundTripsEveryColumn) {
  const ProjectsRecord record = SampleProject("Bob's Photos v1.0 (best)");
  ProjectsRecord stored = Store(record);
  ProjectsRecord expected = record;
  expected.id = stored.id;
  EXPECT_GT(stored.id, 0);
  EXPECT_EQ(stored, expected);
  EXPECT_EQ(table.ExecuteQuery("SELECT Title FROM Projects;").ColumnText(0),
            std::string("Bob&#39s Photos v1&#460 &#40best&#41"));

  ASSERT_TRUE(table.LoadAllProjects());
  stored.title = "Renamed: a-b/c";
  stored.padding = 5;
  ASSERT_TRUE(table.UpdateProject(stored));
  ProjectsRecord cached;
  ASSERT_TRUE(table.GetById(stored.id, cached));
  EXPECT_EQ(cached, stored) << "the cache follows an update";
  ASSERT_TRUE(table.LoadProjectById(stored.id));
  ASSERT_TRUE(table.GetCurrent(cached));
  EXPECT_EQ(cached, stored);

  ASSERT_TRUE(table.DeleteProject(stored.id));
  EXPECT_EQ(table.FindIndexById(stored.id), -1);
  ASSERT_TRUE(table.LoadProjectById(stored.id));
  EXPECT_FALSE(table.GetCurrent(cached));
  EXPECT_TRUE(messages.requests.empty());
}

TEST_F(ProjectsTableTest, FlagsReadAnyNonZeroAsOnAndAreStoredAsZeroOrOne) {
  ProjectsRecord stored = Store(SampleProject("Flags"));
  table.ExecuteUpdate("UPDATE Projects SET JPEG='-1', PNG='2', GIF='0', BMP='x';");
  ASSERT_TRUE(table.LoadProjectById(stored.id));
  ASSERT_TRUE(table.GetCurrent(stored));
  EXPECT_EQ(std::make_tuple(stored.jpeg, stored.png, stored.gif, stored.bmp),
            std::make_tuple(true, true, false, false));
  ASSERT_TRUE(table.UpdateProject(stored));
  DatabaseQuery q = table.ExecuteQuery("SELECT JPEG, PNG, GIF, BMP FROM Projects;");
  EXPECT_EQ(std::make_tuple(std::string(q.ColumnText(0)), std::string(q.ColumnText(1)),
                            std::string(q.ColumnText(2)), std::string(q.ColumnText(3))),
            std::make_tuple("1", "1", "0", "0"));
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
  // Nested references read back as stored, decoded once: a second decoding would make
  // "/../" of them. Rows stored with the ampersand step last read as they were written.
  const std::string typed = "Beach&#38#47&#38#46&#38#46&#38#47tmp";
  const ProjectsRecord stored = Store(SampleProject(typed));
  EXPECT_EQ(stored.title, typed);
  table.ExecuteUpdate(
      "INSERT INTO Projects (CatId, Title, URL) VALUES (1, 'Bob&#38#39s', "
      "'http&#38#58&#38#47&#38#47a&#38#46example');");
  ASSERT_TRUE(table.LoadProjects("SELECT * FROM Projects ORDER BY Id;"));
  ASSERT_EQ(table.Records().size(), 2u);
  for (int i = 0; i < 2; ++i) {
    ProjectsRecord current;
    table.SetCurrentIndex(i);
    ASSERT_TRUE(table.GetCurrent(current));
    EXPECT_EQ(current, table.Records()[static_cast<std::size_t>(i)]);
    ProjectsRecord byId;
    ASSERT_TRUE(table.GetById(current.id, byId));
    EXPECT_EQ(byId, current);
  }
  EXPECT_EQ(table.Records()[0].title, typed);
  EXPECT_EQ(table.Records()[1].title, "Bob's");
  EXPECT_EQ(table.Records()[1].url, "http://a.example");
  EXPECT_EQ(table.Records()[1].padding, 0) << "a NULL integer column reads as 0";
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
  ProjectsRecord r;
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
  ProjectsTable unopened((dir / "other.db").string(), messages);
  EXPECT_FALSE(unopened.LoadAllProjects());
  EXPECT_FALSE(unopened.InsertProject(SampleProject("X")));
  EXPECT_TRUE(messages.requests.empty());
  EXPECT_FALSE(std::filesystem::exists(dir / "other.db"));

  ProjectsTable unopenable((dir / "no" / "such" / "x.db").string(), messages);
  EXPECT_FALSE(unopenable.OpenTable());
  EXPECT_FALSE(unopenable.IsTableOpen());
  EXPECT_FALSE(unopenable.InsertProject(SampleProject("X")));
  EXPECT_EQ(
      messages.Texts(),
      (std::vector<std::string>{"Code (14): SQLITE_CANTOPEN[14]: unable to open database file"}));
}

TEST_F(ProjectsTableTest, DeletingAProjectRemovesItsHistoryAndLinksFirst) {
  const ProjectsRecord keep = Store(SampleProject("Keep"));
  const ProjectsRecord gone = Store(SampleProject("Gone"));
  for (int projectId : {keep.id, gone.id}) {
    ProjectLinksRecord link;
    link.projectId = projectId;
    ASSERT_TRUE(AddProjectLink(DbPath(), messages, link));
    ScanHistoryRecord scan;
    scan.projectId = projectId;
    ASSERT_TRUE(AddScanHistory(DbPath(), messages, scan, false));
  }
  ASSERT_TRUE(DeleteProjectWithHistory(DbPath(), messages, gone.id));
  for (const std::string rest : {"ProjectLinks", "ScanHistory"}) {
    EXPECT_EQ(table.ExecuteScalar("SELECT COUNT(*) FROM " + rest), 1) << rest;
    EXPECT_EQ(table.ExecuteScalar("SELECT ProjectId FROM " + rest), keep.id) << rest;
  }
  EXPECT_EQ(table.CountProjects(), 1);
  EXPECT_TRUE(messages.requests.empty());
}

TEST_F(ProjectsTableTest, FailedHistoryDeleteKeepsTheProject) {
  const ProjectsRecord project = Store(SampleProject("Stays"));
  {
    ScanHistoryTable history(DbPath(), messages);
    ASSERT_TRUE(history.OpenTable());
    history.ExecuteUpdate(
        "CREATE TRIGGER Keep BEFORE DELETE ON ScanHistory BEGIN SELECT RAISE(ABORT, 'kept'); "
        "END;");
    ScanHistoryRecord scan;
    scan.projectId = project.id;
    ASSERT_TRUE(history.InsertScanHistory(scan));
  }
  EXPECT_FALSE(DeleteProjectWithHistory(DbPath(), messages, project.id));
  EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Code (19): SQLITE_CONSTRAINT[19]: kept"}));
  EXPECT_EQ(table.CountProjects(), 1);
}

}  // namespace
}  // namespace trawlix
