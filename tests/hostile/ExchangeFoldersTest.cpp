#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "exchange/ExchangeFile.h"
#include "exchange/ExchangeTestSupport.h"
#include "exchange/ProjectExporter.h"
#include "exchange/ProjectImporter.h"
#include "storage/DbTextEncoding.h"
#include "storage/ProjectFolderCheck.h"

namespace trawlix::exchange {
namespace {

namespace fs = std::filesystem;

// Titles meant to become a folder outside the pictures folder on some way through the
// program: plain "..", references a second decoding would resolve, control characters.
const std::vector<std::string>& HostileTitles() {
  static const std::vector<std::string> titles = {
      "Beach&#47&#46&#46&#47&#46&#46&#47&#46&#46&#47tmp&#47owned",
      "&#38#47&#38#46&#38#46&#38#47etc",
      "../../../../tmp/owned",
      "..",
      "/etc/cron.d",
      "Beach\x1b]52;c;cm0gLXJmIH4=\x07\r\n..",
  };
  return titles;
}

class HostileExchangeTest : public testing::ExchangeDbTest {
 protected:
  HostileExchangeTest() {
    // Thumbnails and mobile copies on, so their folders are made and checked too.
    settings.newAutoCreateThumbnails = true;
    settings.newAutoCreateMobile = true;
    settings.newThumbnailsSaveToLocation = 0;
    settings.newMobileSaveToLocation = 0;
    settings.thumbnailsFolderName = "Small";
    settings.mobileFolderName = "Mobile";
    fs::create_directories(pictures());
  }

  fs::path pictures() const { return dir / "Pictures"; }

  std::vector<ProjectsRecord> ImportFile(const std::string& file, const std::string& db) {
    const auto read = OpenImportFile(file, messages);
    EXPECT_TRUE(read);
    if (!read) return {};
    AddCategory("Imported Projects", db);
    ProjectImporter importer(db, settings, messages);
    importer.Import(read->projects, {ImportTarget::SelectedCategory, "Imported Projects",
                                     DuplicateHandling::DontImport});
    return Projects(db);
  }

  // Every folder a scan of the project would write to lies inside the pictures folder and
  // passes the check a scan makes first.
  void ExpectInsidePictures(const ProjectsRecord& project) {
    EXPECT_FALSE(ProjectFoldersProblem(project)) << *ProjectFoldersProblem(project);
    const fs::path root = fs::weakly_canonical(pictures());
    for (const std::string& folder :
         {project.saveTo, project.thumbnailSaveTo, project.mobileSaveTo}) {
      const fs::path resolved = fs::weakly_canonical(folder);
      const fs::path relative = resolved.lexically_relative(root);
      EXPECT_FALSE(relative.empty() || *relative.begin() == ".." || relative == ".")
          << folder << " of project " << project.title;
    }
  }
};

TEST_F(HostileExchangeTest, TitlesOfARoundTrippedFileNeverLeaveThePicturesFolder) {
  // Export from one database, import into a second, export and import again: the titles
  // stay as typed and every folder stays inside the user's pictures folder.
  const int category = AddCategory("Beach");
  std::vector<int> ids;
  for (const std::string& title : HostileTitles()) ids.push_back(AddProject(title, category));
  const std::string first = (dir / "first.txexport").string();
  ProjectExporter exporter(DbPath(), TempFolder(), messages);
  ASSERT_TRUE(exporter.Export(Request(ids, first)).ok);

  const std::vector<ProjectsRecord> imported = ImportFile(first, DbPath("Second.txdb"));
  ASSERT_EQ(imported.size(), HostileTitles().size());
  std::vector<int> importedIds;
  for (const ProjectsRecord& project : imported) {
    ExpectInsidePictures(project);
    importedIds.push_back(project.id);
  }
  // A reference typed for a reserved character reads back as the character (older rows
  // hold the same bytes), but never a second time.
  for (std::size_t i = 0; i < 2; ++i)
    EXPECT_EQ(imported[i].title, DecodeDbText(EncodeDbText(HostileTitles()[i])));

  const std::string second = (dir / "second.txexport").string();
  ProjectExporter again(DbPath("Second.txdb"), TempFolder(), messages);
  ASSERT_TRUE(again.Export(Request(importedIds, second)).ok);
  const std::vector<ProjectsRecord> twice = ImportFile(second, DbPath("Third.txdb"));
  ASSERT_EQ(twice.size(), imported.size());
  for (std::size_t i = 0; i < twice.size(); ++i) {
    ExpectInsidePictures(twice[i]);
    EXPECT_EQ(twice[i].title, imported[i].title);
    EXPECT_EQ(twice[i].saveTo, imported[i].saveTo);
  }
  // Nothing was made outside the test's folder on the way.
  EXPECT_FALSE(fs::exists(dir.path().parent_path() / "owned"));
}

TEST_F(HostileExchangeTest, CraftedPrefixesBecomePlainFileNames) {
  ImportedProject project;
  project.title = "Trip";
  project.url = "http://a.example/";
  project.jpeg = true;
  project.autoRename = true;
  const std::string prefixes[] = {"../../../../tmp/x_", "&#47&#46&#46&#47x", "\x1b[2J..", "."};
  std::vector<ImportedProject> projects;
  for (const std::string& prefix : prefixes) {
    project.namePrefix = prefix;
    project.title += "+";
    projects.push_back(project);
  }
  const std::string file = (dir / "crafted.txexport").string();
  std::string error;
  ASSERT_TRUE(WriteExchangeFile(file, {}, projects, {}, error)) << error;

  const std::vector<ProjectsRecord> imported = ImportFile(file, DbPath());
  ASSERT_EQ(imported.size(), std::size(prefixes));
  for (const ProjectsRecord& row : imported) {
    ExpectInsidePictures(row);
    EXPECT_EQ(row.namePrefix.find('/'), std::string::npos) << row.namePrefix;
    EXPECT_EQ(row.namePrefix.find('\x1b'), std::string::npos);
    EXPECT_NE(row.namePrefix, ".");
  }
}

TEST_F(HostileExchangeTest, AProjectWhoseFoldersWouldLeaveIsNotImported) {
  // A default location that is no full path cannot hold an imported project's folders.
  settings.defaultSaveTo = "Pictures/../..";
  ImportedProject project;
  project.title = "Trip";
  project.url = "http://a.example/";
  project.jpeg = true;
  AddCategory("Imported Projects");
  ProjectImporter importer(DbPath(), settings, messages);
  const ImportSummary summary = importer.Import(
      std::vector<ImportedProject>{project},
      {ImportTarget::SelectedCategory, "Imported Projects", DuplicateHandling::DontImport});
  ASSERT_EQ(summary.rows.size(), 1u);
  EXPECT_EQ(summary.rows[0].kind, ImportResultKind::Failed);
  EXPECT_NE(summary.rows[0].message.find("is not a full path"), std::string::npos)
      << summary.rows[0].message;
  EXPECT_TRUE(Projects().empty());
}

// Only web addresses come in: every address is later handed to the network or to the
// desktop's opener, which would run a file: or smb: address.
TEST_F(HostileExchangeTest, OnlyWebAddressesComeInAndTheRefusedAreListed) {
  const std::vector<std::string> foreign = {"file:///etc/passwd", "javascript:alert(1)",
                                            "smb://host/share/run.desktop", "http://", ""};
  ImportedProject project;
  project.title = "Trip";
  project.url = "https://a.example/";
  project.jpeg = 1;
  for (const std::string& url : foreign) project.links.push_back({0, 0, 0, url, ""});
  project.links.push_back({0, 0, 0, "HTTP://b.example/", ""});
  std::vector<ImportedProject> projects = {project};
  for (const std::string& url : foreign) {
    project.title += "+";
    project.url = url;
    project.links.clear();
    projects.push_back(project);
  }
  AddCategory("Imported Projects");
  ProjectImporter importer(DbPath(), settings, messages);
  const ImportSummary summary = importer.Import(
      projects,
      {ImportTarget::SelectedCategory, "Imported Projects", DuplicateHandling::MergeLinks});
  ASSERT_EQ(summary.rows.size(), projects.size());
  EXPECT_EQ(summary.rows[0].kind, ImportResultKind::Imported);
  EXPECT_NE(summary.rows[0].message.find("refused 5 links that are not web addresses: "
                                         "file:///etc/passwd, javascript:alert(1)"),
            std::string::npos)
      << summary.rows[0].message;
  for (std::size_t i = 1; i < summary.rows.size(); ++i) {
    EXPECT_EQ(summary.rows[i].kind, ImportResultKind::Failed) << foreign[i - 1];
    EXPECT_NE(summary.rows[i].message.find("no web address"), std::string::npos);
  }
  const std::vector<ProjectsRecord> imported = Projects();
  ASSERT_EQ(imported.size(), 1u);
  const std::vector<ProjectLinksRecord> links = Links(imported[0].id);
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].url, "HTTP://b.example/");

  // Merged into the project now there: the same refusal.
  const ImportSummary merged =
      importer.Import(std::vector<ImportedProject>{projects[0]},
                      {ImportTarget::SelectedCategory, "Trips", DuplicateHandling::MergeLinks});
  ASSERT_EQ(merged.rows.size(), 1u);
  EXPECT_EQ(merged.rows[0].kind, ImportResultKind::Merged);
  EXPECT_NE(merged.rows[0].message.find("refused 5 links"), std::string::npos);
  EXPECT_EQ(Links(imported[0].id).size(), 1u);
}

}  // namespace
}  // namespace trawlix::exchange
