#include <QJsonDocument>
#include <QJsonObject>
#include <fstream>

#include "CliTestSupport.h"
#include "storage/ProjectValidation.h"

namespace trawlix::cli {
namespace {

namespace fs = std::filesystem;

class ProjectCommands : public testing::CliTest {
 protected:
  void SetUp() override { ASSERT_EQ(Run({"categories"}), 0) << err_; }

  // The named field of a project, through "project show --json".
  QJsonValue Field(const std::string& project, const char* field) {
    EXPECT_EQ(Run({"project", "show", project, "--json"}), 0) << err_;
    return QJsonDocument::fromJson(QByteArray::fromStdString(out_)).object()[field];
  }

  std::string AddHarbour(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"project",        "add",   "--title",
                                     "Harbour Lights", "--url", "https://example.org/a-b",
                                     "--category",     "models"};
    args.insert(args.end(), extra.begin(), extra.end());
    EXPECT_EQ(Run(args), 0) << err_;
    return QueryOne("SELECT Id FROM Projects WHERE Title='Harbour Lights';");
  }
};

TEST_F(ProjectCommands, AddTakesTheNewProjectDefaultsFromTheSettings) {
  const std::string id = AddHarbour();
  ASSERT_NE(id, "<none>");
  EXPECT_EQ(out_, "Added project " + id + " 'Harbour Lights'.\n");
  const fs::path saveTo = pictures() / "Harbour Lights";
  EXPECT_TRUE(fs::is_directory(saveTo)) << "the editor creates a missing folder";
  EXPECT_EQ(Field(id, "SaveTo").toString().toStdString(), saveTo.string());
  EXPECT_EQ(Field(id, "ThumbnailSaveTo").toString().toStdString(), (saveTo / "Thumbs").string());
  EXPECT_EQ(Field(id, "MobileSaveTo").toString().toStdString(), (saveTo / "Mobile").string());
  EXPECT_EQ(Field(id, "NamePrefix").toString(), "Harbour_Lights_");
  EXPECT_EQ(Field(id, "URL").toString(), "https://example.org/a-b");
  EXPECT_EQ(Field(id, "ResizeBoundingBox").toInt(), 1024);
  EXPECT_EQ(QueryOne("SELECT Name FROM Categories WHERE Id=" +
                     QueryOne("SELECT CatId FROM Projects WHERE Id=" + id) + ";"),
            "Models");
  // Stored encoded, like every text the desktop program writes.
  EXPECT_EQ(QueryOne("SELECT URL FROM Projects WHERE Id=" + id),
            "https&#58&#47&#47example&#46org&#47a&#45b");
}

TEST_F(ProjectCommands, AddAppliesFieldsAndAnExplicitFolder) {
  ASSERT_EQ(Run({"project", "add", "title=  Tide Pools ", "URL= https://example.org/tide"}), 0)
      << err_;
  EXPECT_EQ(Field("Tide Pools", "SaveTo").toString().toStdString(),
            (pictures() / "Tide Pools").string());
  EXPECT_EQ(Field("Tide Pools", "URL").toString(), "https://example.org/tide");

  const fs::path folder = dir_ / "elsewhere";
  const std::string id = AddHarbour(
      {"--save-to", folder.string(), "PNG=1", "keywords=boat, pier", "AutoCreateThumbnails=1"});
  EXPECT_EQ(Field(id, "SaveTo").toString().toStdString(), folder.string());
  EXPECT_EQ(Field(id, "PNG").toInt(), 1);
  EXPECT_EQ(Field(id, "Keywords").toString(), "boat, pier");
  EXPECT_TRUE(fs::is_directory(folder / "Thumbs"));
}

TEST_F(ProjectCommands, AddRefusesWhatTheEditorRefuses) {
  struct Row {
    std::vector<std::string> args;
    std::string message;
  };
  const Row rows[] = {
      {{"--url", "http://example.org"}, kNoNameMessage},
      {{"--title", "T", "--url", "ftp://example.org"}, kBadURLMessage},
      {{"--title", "T", "--url", "http://x", "JPEG=0"}, kNoFormatMessage},
      {{"--title", "T", "--url", "http://x", "CatId=999"}, kNoCategoryMessage},
      {{"--title", "T", "--url", "http://x", "--save-to", ""}, kNoSaveToMessage},
  };
  for (const auto& row : rows) {
    std::vector<std::string> args = {"project", "add"};
    args.insert(args.end(), row.args.begin(), row.args.end());
    EXPECT_EQ(Run(args), 1) << row.message;
    EXPECT_EQ(err_, row.message + "\n");
    EXPECT_EQ(out_, "");
  }
  EXPECT_EQ(QueryOne("SELECT COUNT(*) FROM Projects;"), "3");
  EXPECT_FALSE(fs::exists(pictures() / "T")) << "nothing is created for a refused project";
}

TEST_F(ProjectCommands, BadFieldsAndValuesAreNamed) {
  const std::string id = AddHarbour();
  struct Row {
    std::vector<std::string> assignments;
    std::string message;
  };
  const Row rows[] = {
      {{"Colour=red"}, "no project field is named 'Colour'"},
      {{"JPEG"}, "expected FIELD=VALUE, not 'JPEG'"},
      {{"Id=7"}, "Id is given by the database"},
      {{"JPEG=yes"}, "JPEG takes a whole number"},
      {{"JPEG=2"}, "JPEG must be 0 (off) or 1 (on), not 2."},
      {{"Title=" + std::string(201, 'x')}, "Title may hold at most 200 characters"},
      {{"Keywords=a\nb"}, "Keywords may not contain line breaks"},
      {{"PNG=1", "GIF=maybe"}, "GIF takes a whole number"},
  };
  for (const auto& row : rows) {
    std::vector<std::string> args = {"project", "set", id};
    args.insert(args.end(), row.assignments.begin(), row.assignments.end());
    EXPECT_EQ(Run(args), 1) << row.message;
    EXPECT_TRUE(ErrHas(row.message)) << err_;
  }
  EXPECT_EQ(Field(id, "PNG").toInt(), 0) << "a refused command changes nothing";
}

TEST_F(ProjectCommands, SetAppliesTheEditorsChecksToTheWholeProject) {
  const std::string id = AddHarbour();
  EXPECT_EQ(Run({"project", "set", id, "NamePrefix="}), 1);
  EXPECT_EQ(err_, std::string(kNoPrefixMessage) + "\n");
  EXPECT_EQ(Run({"project", "set", id, "JPEG=0"}), 1);
  EXPECT_EQ(err_, std::string(kNoFormatMessage) + "\n");
  EXPECT_EQ(Run({"project", "set", id, "URL=www.example.org"}), 1);
  EXPECT_EQ(err_, std::string(kBadURLMessage) + "\n");

  EXPECT_EQ(Run({"project", "set", "Harbour Lights", "JPEG=0", "TIF=1", "Title=Pier's End",
                 "--category", "Actresses"}),
            0)
      << err_;
  EXPECT_EQ(out_, "Updated project " + id + " 'Pier's End'.\n");
  EXPECT_EQ(Field(id, "TIF").toInt(), 1);
  EXPECT_EQ(Field("Pier's End", "Id").toInt(), std::stoi(id));
  EXPECT_EQ(Run({"project", "set", id}), 2) << "nothing to change";
}

TEST_F(ProjectCommands, ANewStartAddressCarriesItsLinkAlong) {
  const std::string id = QueryOne("SELECT ProjectId FROM ProjectLinks LIMIT 1;");
  const std::string oldURL = Field(id, "URL").toString().toStdString();
  ASSERT_EQ(Run({"links", id}), 0);
  ASSERT_TRUE(OutHas(oldURL)) << out_;
  ASSERT_EQ(Run({"project", "set", id, "URL=https://example.net/new"}), 0) << err_;
  ASSERT_EQ(Run({"links", id}), 0);
  EXPECT_FALSE(OutHas(oldURL + "\n")) << out_;
  EXPECT_TRUE(OutHas("https://example.net/new")) << out_;
  EXPECT_EQ(QueryOne("SELECT COUNT(*) FROM ProjectLinks;"), "3");
}

TEST_F(ProjectCommands, UnknownAndAmbiguousProjectsAreRefused) {
  EXPECT_EQ(Run({"project", "show", "No Such Project"}), 1);
  EXPECT_EQ(err_,
            "trawlix-cli: no project has the id or title 'No Such Project' (see: "
            "trawlix-cli projects)\n");
  EXPECT_EQ(Run({"project", "show", "999"}), 1);
  EXPECT_EQ(Run({"links", "999"}), 1);
  EXPECT_EQ(Run({"history", ""}), 1);

  AddHarbour();
  ASSERT_EQ(Run({"project", "add", "--title", "Harbour Lights", "--url", "http://x", "--category",
                 "Actresses"}),
            0)
      << err_;
  EXPECT_EQ(Run({"project", "show", "harbour lights"}), 1) << "titles compare exactly";
  EXPECT_EQ(Run({"project", "show", " Harbour Lights "}), 1);
  EXPECT_TRUE(ErrHas("several projects are titled ' Harbour Lights ' (ids ")) << err_;
  // A second one in the same category would make the title useless as a name.
  EXPECT_EQ(Run({"project", "add", "--title", "Harbour Lights", "--url", "http://x", "--category",
                 "Actresses"}),
            1);
  EXPECT_TRUE(ErrHas("exists in that category already")) << err_;
}

TEST_F(ProjectCommands, ShowListsEveryFieldByName) {
  const std::string id = AddHarbour();
  ASSERT_EQ(Run({"project", "show", "Harbour Lights"}), 0) << err_;
  EXPECT_EQ(OutLines(), 50) << out_;
  EXPECT_TRUE(OutHas("\nId                              " + id + "\n")) << out_;
  EXPECT_TRUE(OutHas("(Models)")) << out_;
  EXPECT_TRUE(OutHas("\nMobileExternalIncludeTitle      0\n")) << out_;
  EXPECT_TRUE(OutHas("\nRender                          auto")) << out_;
}

// Rendering is chosen like a field, kept in a table of its own (the projects' columns stay as
// they are), and goes with its project.
TEST_F(ProjectCommands, RenderingIsChosenBesideTheFields) {
  const std::string id = AddHarbour({"Render=never"});
  EXPECT_EQ(Field(id, "Render").toString(), "never");
  ASSERT_EQ(Run({"project", "set", id, "render=ALWAYS"}), 0) << err_;
  EXPECT_EQ(Field(id, "Render").toString(), "always");
  EXPECT_EQ(Run({"project", "set", id, "Render=sometimes"}), 1);
  EXPECT_NE(err_.find("Render takes auto, always or never"), std::string::npos) << err_;
  EXPECT_EQ(QueryOne("SELECT Mode FROM ProjectRendering WHERE ProjectId=" + id + ";"), "1");
  ASSERT_EQ(Run({"project", "delete", id}), 0) << err_;
  EXPECT_EQ(QueryOne("SELECT COUNT(*) FROM ProjectRendering;"), "0");
}

TEST_F(ProjectCommands, DeleteRemovesHistoryAndLinksButNoPhotos) {
  const std::string id = QueryOne("SELECT ProjectId FROM ProjectLinks LIMIT 1;");
  const std::string saveTo = Field(id, "SaveTo").toString().toStdString();
  fs::create_directories(saveTo);
  std::ofstream(fs::path(saveTo) / "photo.jpg") << "jpeg";
  {
    Database db;
    db.Open(database());
    db.ExecuteUpdate("INSERT INTO ScanHistory (ProjectId, URL) VALUES (" + id + ", 'x');");
  }
  ASSERT_EQ(Run({"history", id}), 0);
  EXPECT_EQ(OutLines(), 2) << out_;

  ASSERT_EQ(Run({"project", "delete", id}), 0) << err_;
  EXPECT_TRUE(OutHas("downloaded photos are kept"));
  EXPECT_EQ(QueryOne("SELECT COUNT(*) FROM ScanHistory;"), "0");
  EXPECT_EQ(QueryOne("SELECT COUNT(*) FROM ProjectLinks;"), "0");
  EXPECT_EQ(QueryOne("SELECT COUNT(*) FROM Projects WHERE Id=" + id + ";"), "0");
  EXPECT_TRUE(fs::exists(fs::path(saveTo) / "photo.jpg"));
  EXPECT_EQ(Run({"project", "delete", id}), 1);
}

}  // namespace
}  // namespace trawlix::cli
