#include <algorithm>
#include <filesystem>
#include <memory>

#include "operations/CategoryOperations.h"
#include "operations/DataSession.h"
#include "operations/ProjectOperations.h"
#include "storage/ProjectDefaults.h"
#include "storage/ProjectLinksTable.h"
#include "support/HomeOverride.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

namespace trawlix {
namespace {

namespace fs = std::filesystem;
using testing::RecordingMessageSink;

// A fresh data folder with the seeded database: four categories, three sample projects.
class OperationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(temp_ / "home" / "Pictures");
    std::string error;
    session_ = DataSession::Open((temp_ / "data").string(), sink_, error);
    ASSERT_TRUE(session_) << error;
  }

  int CategoryId(const std::string& name) {
    const auto categories = LoadCategories(*session_);
    for (const auto& category : *categories) {
      if (category.name == name) return category.id;
    }
    return -1;
  }

  ProjectsRecord NewProject(const std::string& title, const std::string& category) {
    ProjectsRecord record =
        NewProjectRecord(session_->settings().Values(), *LoadCategories(*session_));
    record.title = title;
    record.url = "https://example.com/" + title;
    record.saveTo = (temp_ / "photos" / title).string();
    record.catId = CategoryId(category);
    CompleteNewProject(record, session_->settings().Values());
    return record;
  }

  int Add(const ProjectsRecord& record, TitleRule rule = TitleRule::Any) {
    const ProjectSaveResult result = AddProject(*session_, record, rule);
    return result.outcome == SaveOutcome::Saved ? result.id : -1;
  }

  testing::TempDir temp_;
  testing::HomeOverride home_{(temp_ / "home").string()};
  RecordingMessageSink sink_;
  std::unique_ptr<DataSession> session_;
};

TEST_F(OperationsTest, AddingChecksTitlesAndFoldersBeforeWriting) {
  const ProjectsRecord beach = NewProject("Beach", "Models");
  const int id = Add(beach, TitleRule::UniqueInCategory);
  ASSERT_GT(id, 0);
  EXPECT_EQ(LoadProject(*session_, id)->title, "Beach");
  EXPECT_TRUE(fs::is_directory(beach.saveTo));

  // The same title: refused where titles name projects, allowed in the editor.
  EXPECT_EQ(AddProject(*session_, beach, TitleRule::UniqueInCategory).outcome,
            SaveOutcome::TitleTaken);
  EXPECT_GT(Add(beach, TitleRule::Any), id);

  ProjectsRecord noFormat = NewProject("Plain", "Models");
  noFormat.jpeg = false;
  const ProjectSaveResult refused = AddProject(*session_, noFormat, TitleRule::Any);
  EXPECT_EQ(refused.outcome, SaveOutcome::Refused);
  EXPECT_EQ(refused.problem->field, ProjectField::Formats);
  EXPECT_FALSE(fs::exists(noFormat.saveTo)) << "a refused project leaves no folder";
  EXPECT_EQ(LoadProjectsByTitle(*session_, "Plain")->size(), 0u);

  // Both front ends store titles and addresses trimmed, folders absolute and plain.
  ProjectsRecord spaced = NewProject("Pier", "Models");
  spaced.title = "  Pier \t";
  spaced.url = " https://example.com/pier ";
  spaced.saveTo = (temp_ / "photos" / "x" / ".." / "Pier").string() + "/";
  const auto stored = LoadProject(*session_, Add(spaced));
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->title, "Pier");
  EXPECT_EQ(stored->url, "https://example.com/pier");
  EXPECT_EQ(stored->saveTo, (temp_ / "photos" / "Pier").string());
}

TEST_F(OperationsTest, EveryReadingHandsOutTextsDecodedOnce) {
  // Typed references must come back as typed from every reading a front end uses: decoded
  // twice they would make a title, and the folders made from it, climb out with "/..".
  const std::string typed = "Beach&#38#47&#38#46&#38#46&#38#47etc";
  ProjectsRecord record = NewProject("Beach", "Models");
  record.title = typed;
  record.keywords = "&#38#39, &#3844";
  const int id = Add(record);
  ASSERT_GT(id, 0);
  const auto one = LoadProject(*session_, id);
  const auto all = LoadProjects(*session_, kAllCategoriesId);
  const auto byTitle = LoadProjectsByTitle(*session_, typed);
  const auto found = FindProjects(*session_, "Beach&#38#47", ProjectNameMatch::StartsWith);
  ASSERT_TRUE(one && all && byTitle && found);
  for (const auto* list : {&*all, &*byTitle, &*found}) {
    const auto match = std::find_if(list->begin(), list->end(),
                                    [&](const ProjectsRecord& r) { return r.id == id; });
    ASSERT_NE(match, list->end());
    EXPECT_EQ(*match, *one);
  }
  EXPECT_EQ(one->title, typed);
  EXPECT_EQ(one->keywords, record.keywords);
}

TEST_F(OperationsTest, ANewStartAddressCarriesItsProjectLink) {
  ProjectsRecord project = NewProject("Pier", "Models");
  project.id = Add(project);
  ProjectLinksRecord link;
  link.projectId = project.id;
  link.url = project.url;
  ASSERT_TRUE(AddProjectLink(session_->databasePath(), sink_, link));
  ASSERT_TRUE(SetProjectURL(*session_, project, "  https://example.com/new  "));
  const auto links = LoadProjectLinks(*session_, project.id);
  ASSERT_EQ(links->size(), 1u);
  EXPECT_EQ(links->front().url, "https://example.com/new");
  EXPECT_EQ(LoadProject(*session_, project.id)->url, "https://example.com/new");
}

TEST_F(OperationsTest, RenamingMovesTheFolderAndTheFoldersInsideIt) {
  ProjectsRecord project = NewProject("Old Name", "Models");
  project.autoCreateThumbnails = true;
  project.id = Add(project);
  ASSERT_TRUE(fs::is_directory(project.thumbnailSaveTo));
  const fs::path photos = temp_ / "photos";

  const ProjectRenameResult renamed = RenameProject(*session_, project, {"New Name", "Renamed"});
  ASSERT_EQ(renamed.outcome, RenameOutcome::Renamed) << renamed.message;
  const ProjectsRecord stored = *LoadProject(*session_, project.id);
  EXPECT_EQ(stored.title, "New Name");
  EXPECT_EQ(stored.namePrefix, "New_Name_");
  EXPECT_EQ(stored.saveTo, (photos / "Renamed").string());
  EXPECT_EQ(stored.thumbnailSaveTo, (photos / "Renamed" / "Thumbs").string());
  EXPECT_TRUE(fs::is_directory(photos / "Renamed" / "Thumbs"));
  EXPECT_FALSE(fs::exists(photos / "Old Name"));

  // A folder name that would leave the parent folder, or one that is taken, changes nothing.
  fs::create_directories(photos / "Taken");
  for (const char* bad : {"../outside", "..", "", "Taken"}) {
    const ProjectRenameResult refused = RenameProject(*session_, stored, {"Other", bad});
    EXPECT_NE(refused.outcome, RenameOutcome::Renamed) << bad;
    EXPECT_EQ(LoadProject(*session_, project.id)->title, "New Name") << bad;
  }
  EXPECT_TRUE(fs::is_directory(photos / "Renamed"));
}

TEST_F(OperationsTest, CategoryNamesFollowTheDialogRules) {
  struct Case {
    const char* name;
    bool accepted;
  } cases[] = {
      {"Landscapes", true}, {"  ", false}, {"ALL", false}, {"Models", false}, {"Birds", true}};
  for (const Case& c : cases) {
    EXPECT_EQ(AddCategory(*session_, c.name).Done(), c.accepted) << c.name;
  }
  const int birds = CategoryId("Birds");
  EXPECT_TRUE(RenameCategory(*session_, birds, "BIRDS").Done()) << "a change of case only";
  EXPECT_FALSE(RenameCategory(*session_, birds, "Models").Done());
  EXPECT_FALSE(RenameCategory(*session_, CategoryId("Imported Projects"), "Mine").Done());
}

TEST_F(OperationsTest, DeletedCategoriesHandTheirProjectsOnInOneStep) {
  Add(NewProject("A", "Models"));
  Add(NewProject("B", "Actresses"));
  const std::size_t samples = LoadProjects(*session_, CategoryId("Sample Projects"))->size();
  const int imported = CategoryId("Imported Projects");

  const CategoryRemoval removal = DeleteCategories(
      *session_,
      {CategoryId("Models"), CategoryId("Actresses"), CategoryId("Sample Projects"), imported});
  ASSERT_TRUE(removal.done);
  EXPECT_EQ(removal.movedProjects, samples + 2);
  // The settings' category for new projects is made for them; the locked one stays.
  const int home = CategoryId("Miscellaneous");
  EXPECT_EQ(removal.homeId, home);
  EXPECT_EQ(LoadProjects(*session_, home)->size(), samples + 2);
  EXPECT_EQ(LoadCategories(*session_)->size(), 2u);
  EXPECT_EQ(CategoryId("Imported Projects"), imported);

  // An empty category just goes.
  ASSERT_TRUE(AddCategory(*session_, "Empty").Done());
  EXPECT_EQ(DeleteCategories(*session_, {CategoryId("Empty")}).movedProjects, 0u);
  EXPECT_EQ(CategoryId("Empty"), -1);
}

}  // namespace
}  // namespace trawlix
