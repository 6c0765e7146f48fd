#include "CliTestSupport.h"

namespace trawlix::cli {
namespace {

class CategoryCommands : public testing::CliTest {
 protected:
  void SetUp() override { ASSERT_EQ(Run({"categories"}), 0) << err_; }
};

TEST_F(CategoryCommands, NewNamesFollowTheCategoryDialogsRules) {
  struct Row {
    std::string name;
    int code;
    std::string err;
  };
  const std::string exists = "The category already exists.\nPlease try again.\n";
  const Row rows[] = {
      {"   ", 1, "Please type in category name.\n"},
      {" all ", 1, exists},
      {"Street v2.0", 0, ""},
      {"Street v2.0", 1, exists},
      {"Sam's (old)", 0, ""},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Run({"category", "add", row.name}), row.code) << row.name;
    EXPECT_EQ(err_, row.err) << row.name;
  }
  ASSERT_EQ(Run({"categories"}), 0);
  EXPECT_TRUE(OutHas("Street v2.0")) << out_;
  EXPECT_TRUE(OutHas("Sam's (old)")) << out_;
  EXPECT_EQ(QueryOne("SELECT COUNT(*) FROM Categories;"), "6");
}

TEST_F(CategoryCommands, TheImportCategoryCanBeNeitherRenamedNorDeleted) {
  EXPECT_EQ(Run({"category", "rename", "imported projects", "Inbox"}), 1);
  EXPECT_TRUE(ErrHas("can be neither renamed nor deleted")) << err_;
  EXPECT_EQ(Run({"category", "delete", "Imported Projects"}), 1);
  EXPECT_EQ(QueryOne("SELECT COUNT(*) FROM Categories WHERE Name='Imported Projects';"), "1");
}

TEST_F(CategoryCommands, RenameChecksTheNewName) {
  EXPECT_EQ(Run({"category", "rename", "Models", "Actresses"}), 1);
  EXPECT_EQ(err_, "The category already exists.\nPlease try again.\n");
  EXPECT_EQ(Run({"category", "rename", "Nobody", "X"}), 1);
  EXPECT_TRUE(ErrHas("no category is named 'Nobody'")) << err_;
  ASSERT_EQ(Run({"category", "rename", "models", "Runway"}), 0) << err_;
  EXPECT_EQ(QueryOne("SELECT COUNT(*) FROM Categories WHERE Name='Runway';"), "1");
}

TEST_F(CategoryCommands, DeletingMovesItsProjectsToTheNewProjectCategory) {
  // The settings name "Miscellaneous" for new projects; a new database has no such category.
  ASSERT_EQ(Run({"category", "delete", "Sample Projects"}), 0) << err_;
  EXPECT_TRUE(OutHas("3 project(s) moved to 'Miscellaneous'")) << out_;
  EXPECT_EQ(QueryOne("SELECT COUNT(*) FROM Projects WHERE CatId=(SELECT Id FROM Categories "
                     "WHERE Name='Miscellaneous');"),
            "3");
  ASSERT_EQ(Run({"projects", "--category", "Miscellaneous"}), 0);
  EXPECT_EQ(OutLines(), 4) << out_;

  // Deleting the new-project category itself sends its projects to the import category.
  ASSERT_EQ(Run({"category", "delete", "Miscellaneous"}), 0) << err_;
  EXPECT_EQ(QueryOne("SELECT COUNT(*) FROM Projects WHERE CatId=(SELECT Id FROM Categories "
                     "WHERE Name='Imported Projects');"),
            "3");
  // An empty category just goes.
  ASSERT_EQ(Run({"category", "delete", "Actresses"}), 0) << err_;
  EXPECT_EQ(out_, "Deleted category 1 'Actresses'.\n");
  EXPECT_EQ(Query("SELECT Name FROM Categories ORDER BY Name;"),
            (std::vector<std::string>{"Imported Projects", "Models"}));
}

TEST_F(CategoryCommands, ProjectsCanBeListedByCategory) {
  ASSERT_EQ(Run({"projects", "--category", "Models"}), 0);
  EXPECT_EQ(out_, "Id  Title  Category  URL\n");
  ASSERT_EQ(Run({"projects", "--category", "ALL"}), 0);
  EXPECT_EQ(OutLines(), 4) << out_;
  EXPECT_EQ(Run({"projects", "--category", "Nobody"}), 1);
  ASSERT_EQ(Run({"categories"}), 0);
  EXPECT_TRUE(OutHas(" 3  Sample Projects           3\n")) << out_;
}

}  // namespace
}  // namespace trawlix::cli
