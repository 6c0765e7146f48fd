#include "CliTestSupport.h"

namespace trawlix::cli {
namespace {

class ExchangeCommands : public testing::CliTest {
 protected:
  void SetUp() override { ASSERT_EQ(Run({"categories"}), 0) << err_; }
  std::string File() const { return (dir_ / "out.txexport").string(); }
  std::string Count(const std::string& table) const {
    return QueryOne("SELECT COUNT(*) FROM " + table + ";");
  }
};

TEST_F(ExchangeCommands, ExportListAndImportUnderEachDuplicateRule) {
  ASSERT_EQ(Run({"export", "NASA Image of the Day", "Livia Brandt", "--to", File(), "--description",
                 "Seeds & more"}),
            0)
      << err_;
  EXPECT_EQ(out_, "Successfully Exported 2 projects to:\n" + File() + ".\n");

  ASSERT_EQ(Run({"import", File(), "--list"}), 0) << err_;
  EXPECT_TRUE(OutHas("Seeds & more")) << out_;
  EXPECT_TRUE(OutHas("Livia Brandt")) << out_;
  EXPECT_TRUE(OutHas("Sample Projects")) << out_;
  EXPECT_EQ(Count("Projects"), "3");  // listing imports nothing

  // Into "Imported Projects" even duplicates come in as new projects.
  ASSERT_EQ(Run({"import", File(), "--category", "imported projects"}), 0) << err_;
  EXPECT_TRUE(OutHas("Duplicate: Import Into Selected Category")) << out_;
  EXPECT_TRUE(OutHas("Project Livia Brandt imported (3 links) to Category (Imported Projects)"))
      << out_;
  EXPECT_EQ(Count("Projects"), "5");
  EXPECT_EQ(Count("ProjectLinks"), "6");

  ASSERT_EQ(Run({"import", File(), "--use-file-categories", "--duplicates", "merge"}), 0) << err_;
  EXPECT_TRUE(OutHas("0 links merged into Livia Brandt project, category (Sample Projects)"))
      << out_;
  EXPECT_EQ(Count("ProjectLinks"), "6");

  ASSERT_EQ(Run({"import", File(), "--use-file-categories", "--duplicates", "skip", "--json"}), 0);
  EXPECT_TRUE(OutHas("\"Kind\": \"Skipped\"")) << out_;
  EXPECT_TRUE(
      OutHas("Project (NASA Image of the Day) already exists in Category (Sample "
             "Projects)"))
      << out_;
  EXPECT_EQ(Count("Projects"), "5");
}

TEST_F(ExchangeCommands, ExportOfOneProjectCountsItsLinks) {
  ASSERT_EQ(Run({"export", "Livia Brandt", "--to", File()}), 0) << err_;
  EXPECT_EQ(out_, "Successfully Exported Project:\n   Livia Brandt (3 links)\nto File:\n   " +
                      File() + "\n");
}

TEST_F(ExchangeCommands, RefusesWhatCannotWork) {
  struct Row {
    std::vector<std::string> args;
    int code;
    std::string err;
  } const rows[] = {
      {{"export", "Livia Brandt"}, 2, "--to FILE is required"},
      {{"export", "Nobody", "--to", File()}, 1, "Nobody"},
      {{"export", "Livia Brandt", "--to", File(), "--photo", "/no/such.jpg"}, 1, "no photo file"},
      {{"export", "Livia Brandt", "--to", (dir_ / "none" / "x.txexport").string()},
       1,
       "Unable to export to File"},
      {{"import", File(), "--category", "Models", "--use-file-categories"}, 2, "exclude"},
      {{"import", File(), "--duplicates", "maybe"}, 2, "merge or skip"},
      {{"import", (dir_ / "missing.txexport").string()}, 1, "missing.txexport does not exist."},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Run(row.args), row.code) << row.args[1];
    EXPECT_TRUE(ErrHas(row.err)) << err_;
  }
  ASSERT_EQ(Run({"export", "Livia Brandt", "--to", File()}), 0);
  EXPECT_EQ(Run({"import", File(), "--category", "Nowhere"}), 1);
  EXPECT_EQ(Count("Projects"), "3");
}

}  // namespace
}  // namespace trawlix::cli
