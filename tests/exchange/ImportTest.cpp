#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "exchange/ExchangeTestSupport.h"
#include "exchange/ProjectExporter.h"
#include "exchange/ProjectImporter.h"
#include "storage/DateText.h"

namespace trawlix::exchange {
namespace {

using ::testing::ElementsAre;
using testing::Transported;

auto Kinds(const ImportSummary& s) {
  std::vector<ImportResultKind> kinds;
  for (const auto& r : s.rows) kinds.push_back(r.kind);
  return kinds;
}

auto Messages(const ImportSummary& s) {
  std::vector<std::string> texts;
  for (const auto& r : s.rows) texts.push_back(r.message);
  return texts;
}

ImportedProject FileProject(const std::string& title, const std::string& category,
                            std::vector<std::string> urls = {}) {
  ImportedProject p;
  p.projectId = 42;
  p.title = title;
  p.category = category;
  p.url = "http://file.example/start";
  p.keywords = "k";
  p.namePrefix = "np_";
  std::tie(p.jpeg, p.png, p.tif, p.minimumSize, p.orientation, p.padding) =
      std::make_tuple(false, true, true, 100, 1, 5);
  for (const auto& url : urls) p.links.push_back({42, true, false, url, "lk"});
  p.numLinks = static_cast<std::int32_t>(p.links.size());
  return p;
}

class ImportTest : public testing::ExchangeDbTest {
 protected:
  ImportSummary Import(const std::vector<ImportedProject>& projects, const ImportOptions& options,
                       const std::string& db = {}) {
    ProjectImporter importer(db.empty() ? DbPath() : db, settings, messages);
    return importer.Import(projects, options);
  }
  static ImportOptions Into(const std::string& category,
                            DuplicateHandling duplicates = DuplicateHandling::DontImport) {
    return {ImportTarget::SelectedCategory, category, duplicates};
  }
  static ImportOptions FileCategories(
      DuplicateHandling duplicates = DuplicateHandling::DontImport) {
    return {ImportTarget::FileCategory, "Imported Projects", duplicates};
  }
};

TEST_F(ImportTest, RoundTripsProjectsAndLinksThroughAFile) {
  const int cats = AddCategory("Cats & Dogs");
  const int tom = AddProject("Tom & Jerry", cats);
  AddLink(tom, "http://a.example/1", true);
  AddLink(tom, "http://a.example/2", false);
  const int other = AddProject("Zoë ☃", AddCategory("Birds"));
  const std::string path = (dir / "x.txexport").string();
  ProjectExporter exporter(DbPath(), TempFolder(), messages);
  ASSERT_TRUE(exporter.Export(Request({tom, other}, path)).ok);

  const std::optional<ExchangeFile> file = OpenImportFile(path, messages);
  ASSERT_TRUE(file);
  const std::string target = DbPath("Other.txdb");
  AddCategory("Imported Projects", target);
  const ImportSummary summary = Import(file->projects, FileCategories(), target);

  EXPECT_TRUE(summary.categoriesCreated);
  EXPECT_THAT(CategoryNames(target), ElementsAre("Birds", "Cats & Dogs", "Imported Projects"));
  EXPECT_THAT(Messages(summary),
              ElementsAre("Project Tom & Jerry imported (2 links) to Category (Cats & Dogs)",
                          "Project Zoë ☃ imported (0 links) to Category (Birds)"));
  EXPECT_EQ(summary.rows[0].action.code, ImportAction::kImportIntoSuggestedCategory);
  EXPECT_STREQ(summary.rows[0].action.Name(), "Import Into Suggested Category");

  const std::vector<ProjectsRecord> source = Projects();
  const std::vector<ProjectsRecord> rows = Projects(target);
  ASSERT_EQ(rows.size(), 2u);
  const ProjectsRecord& r = rows[0];
  EXPECT_EQ(Transported(r), Transported(source[0]));
  EXPECT_EQ(Transported(rows[1]), Transported(source[1]));

  const std::vector<ProjectLinksRecord> links = Links(r.id, target);
  ASSERT_EQ(links.size(), 2u);
  EXPECT_EQ(std::tie(links[0].url, links[0].searchSubFolders, links[1].searchSubFolders),
            std::make_tuple("http://a.example/1", true, false));
  for (const ProjectLinksRecord& l : links) {
    EXPECT_EQ(std::tie(l.date, l.title, l.keywordMustExist, l.photos),
              std::make_tuple(TodayDateText(), "", 1, 0));
    EXPECT_EQ(l.guid.size(), 36u);
  }
  EXPECT_NE(links[0].guid, links[1].guid);
}

TEST_F(ImportTest, FillsTheRestAsForANewProject) {
  settings.newAutoResize = true;
  settings.newResizeBoundingBox = 2048;
  settings.newIncludePhotoSize = true;
  settings.newMobileFormat = 4;
  settings.thumbnailsFolderName = "Small";
  const int cat = AddCategory("Models");
  Import({FileProject("My Trip", "Models")}, Into("Models"));

  const std::vector<ProjectsRecord> rows = Projects();
  ASSERT_EQ(rows.size(), 1u);
  const ProjectsRecord& r = rows[0];
  const std::string saveTo = (dir / "Pictures" / "My Trip").string();
  EXPECT_EQ(r.catId, cat);
  EXPECT_EQ(r.saveTo, saveTo);
  EXPECT_EQ(r.thumbnailSaveTo, saveTo + "/Small");
  EXPECT_EQ(r.mobileSaveTo, saveTo + "/Mobile");
  EXPECT_EQ(std::tie(r.autoResize, r.resizeBoundingBox, r.includePhotoSize, r.mobileFormat,
                     r.keywordMustExist),
            std::make_tuple(1, 2048, 1, 4, 0));
  // Values that travel in the file win over the defaults.
  EXPECT_EQ(Transported(r), Transported(FileProject("My Trip", "Models")));
}

TEST_F(ImportTest, NamesFoldersAndPrefixesSafely) {
  AddCategory("Models");
  ImportedProject noPrefix = FileProject("  My Trip  ", "Models");
  noPrefix.namePrefix = "";
  ImportedProject climbing = FileProject("../../etc", "Models");
  climbing.namePrefix = "a/../b";
  Import({noPrefix, climbing}, Into("Models"));

  const std::vector<ProjectsRecord> rows = Projects();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].title, "My Trip");
  EXPECT_EQ(rows[0].namePrefix, "My_Trip_");
  EXPECT_EQ(rows[1].title, "../../etc");
  EXPECT_EQ(rows[1].saveTo, (dir / "Pictures" / ".._.._etc").string());
  EXPECT_EQ(rows[1].namePrefix, "a_.._b");
}

TEST_F(ImportTest, SameFileTwiceIntoImportedProjectsMakesASecondProject) {
  const int imported = AddCategory("Imported Projects");
  const std::vector<ImportedProject> file = {FileProject("Tom", "Models", {"http://l/1"})};
  const ImportOptions options = Into("Imported Projects", DuplicateHandling::DontImport);

  const ImportSummary first = Import(file, options);
  const ImportSummary second = Import(file, options);

  EXPECT_EQ(first.rows[0].action.code, ImportAction::kImportIntoSelectedCategory);
  EXPECT_EQ(second.rows[0].action.code, ImportAction::kDuplicateImportIntoSelectedCategory);
  EXPECT_THAT(Kinds(second), ElementsAre(ImportResultKind::Imported));
  EXPECT_EQ(second.rows[0].message,
            "Project Tom imported (1 link) to Category (Imported Projects)");
  EXPECT_FALSE(first.categoriesCreated || second.categoriesCreated);
  const std::vector<ProjectsRecord> rows = Projects();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].title, rows[1].title);
  EXPECT_EQ(rows[1].catId, imported);
  EXPECT_EQ(Links(rows[1].id).size(), 1u);
}

TEST_F(ImportTest, MergesOnlyLinksThatAreNew) {
  const int models = AddCategory("Models");
  const int existing = AddProject("tom & JERRY", models);
  AddLink(existing, "http://l/1");
  const ImportedProject p =
      FileProject("Tom & Jerry", "Elsewhere", {"http://l/1", "http://l/2", "http://l/2"});
  const ImportOptions merge = FileCategories(DuplicateHandling::MergeLinks);

  const ImportSummary first = Import({p}, merge);
  const ImportSummary again = Import({p}, merge);

  EXPECT_THAT(Kinds(first), ElementsAre(ImportResultKind::Merged));
  EXPECT_EQ(first.rows[0].action.code, ImportAction::kDuplicateMergeLinks);
  EXPECT_THAT(Messages(first),
              ElementsAre("1 link merged into Tom & Jerry project, category (Models)"));
  EXPECT_THAT(Messages(again),
              ElementsAre("0 links merged into Tom & Jerry project, category (Models)"));
  EXPECT_FALSE(first.categoriesCreated);  // the duplicate's category is not needed
  EXPECT_EQ(Projects().size(), 1u);
  const std::vector<ProjectLinksRecord> links = Links(existing);
  ASSERT_EQ(links.size(), 2u);
  EXPECT_EQ(links[1].url, "http://l/2");
  EXPECT_EQ(links[1].date, TodayDateText());
}

TEST_F(ImportTest, DontImportLeavesDuplicatesAlone) {
  const int models = AddCategory("Models");
  AddProject("Tom", models);
  AddCategory("Other");
  const ImportSummary summary =
      Import({FileProject("TOM", "x", {"http://new"}), FileProject("Jerry", "x")}, Into("Other"));

  EXPECT_THAT(Kinds(summary), ElementsAre(ImportResultKind::Skipped, ImportResultKind::Imported));
  EXPECT_EQ(summary.rows[0].message, "Project (TOM) already exists in Category (Models)");
  EXPECT_STREQ(summary.rows[0].action.Name(), "Duplicate: Don't Import Project");
  EXPECT_EQ(Projects().size(), 2u);
  EXPECT_TRUE(Links(Projects()[0].id).empty());
}

TEST_F(ImportTest, DuplicatesWithinOneFileFollowTheDuplicateRule) {
  AddCategory("Models");
  const ImportSummary summary = Import(
      {FileProject("Tom", "Models", {"http://l/1"}), FileProject("tom", "Models", {"http://l/2"})},
      Into("Models", DuplicateHandling::MergeLinks));
  EXPECT_THAT(Kinds(summary), ElementsAre(ImportResultKind::Imported, ImportResultKind::Merged));
  ASSERT_EQ(Projects().size(), 1u);
  EXPECT_EQ(Links(Projects()[0].id).size(), 2u);
}

TEST_F(ImportTest, CreatesEachFileCategoryOnce) {
  const std::vector<ImportedProject> file = {
      FileProject("A", "Travel"), FileProject("B", " Travel "), FileProject("C", "Travel"),
      FileProject("D", ""), FileProject("E", "all")};

  const ImportSummary summary = Import(file, FileCategories());

  EXPECT_TRUE(summary.categoriesCreated);
  // Projects without a usable category of their own go to the chosen one.
  EXPECT_THAT(CategoryNames(), ElementsAre("Imported Projects", "Travel"));
  EXPECT_THAT(Kinds(summary), ::testing::Each(ImportResultKind::Imported));
  EXPECT_EQ(summary.rows[3].message,
            "Project D imported (0 links) to Category (Imported Projects)");

  const ImportSummary again = Import({FileProject("F", "Travel")}, FileCategories());
  EXPECT_FALSE(again.categoriesCreated);
  EXPECT_THAT(CategoryNames(), ElementsAre("Imported Projects", "Travel"));
}

TEST_F(ImportTest, OptionsComeFromTheSettings) {
  settings.importUseProjectCategory = true;
  settings.importCategory = "Mine";
  settings.importDuplicateAction = 2;
  const ImportOptions o = ImportOptionsFromSettings(settings);
  EXPECT_EQ(o.target, ImportTarget::FileCategory);
  EXPECT_EQ(o.categoryName, "Mine");
  EXPECT_EQ(o.duplicates, DuplicateHandling::MergeLinks);
  settings.importUseProjectCategory = false;
  settings.importDuplicateAction = 3;  // unknown
  EXPECT_EQ(ImportOptionsFromSettings(settings).duplicates, DuplicateHandling::DontImport);
}

TEST_F(ImportTest, DamagedFileIsReportedAndYieldsNothing) {
  const auto path = dir / "bad.txexport";
  std::ofstream(path, std::ios::binary) << "PK garbage";
  EXPECT_FALSE(OpenImportFile(path.string(), messages));
  ASSERT_EQ(messages.requests.size(), 1u);
  EXPECT_THAT(messages.requests[0].text, ::testing::StartsWith("The file is damaged: "));
}

}  // namespace
}  // namespace trawlix::exchange
