#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "storage/ProjectValidation.h"
#include "storage/RecordColumns.h"
#include "support/TempDir.h"

namespace trawlix {
namespace {

namespace fs = std::filesystem;
using Changes = std::vector<std::pair<std::string, std::string>>;

class ProjectValidation : public ::testing::Test {
 protected:
  // A project that passes every check, in an existing folder.
  ProjectsRecord ValidProject() const {
    ProjectsRecord record;
    record.catId = 3;
    record.title = "Harbour Lights";
    record.url = "http://www.example.org/harbour/";
    record.saveTo = dir_.str();
    record.jpeg = true;
    record.png = record.gif = record.bmp = record.tif = false;
    record.autoRename = true;
    record.namePrefix = "Harbour_Lights_";
    record.autoCreateThumbnails = false;
    record.autoCreateMobile = false;
    return record;
  }

  // The valid project with some columns set from text, as the editor would set them.
  ProjectsRecord Changed(const Changes& changes) const {
    ProjectsRecord record = ValidProject();
    std::string error;
    for (const auto& [column, value] : changes) {
      EXPECT_TRUE(SetColumnFromText(record, column, value, error)) << error;
    }
    return record;
  }

  ProjectCheckOptions Options(bool createMissing) const { return {{1, 3, 4}, createMissing}; }

  testing::TempDir dir_;
};

TEST_F(ProjectValidation, ReportsTheFirstFailingCheckInTheEditorsOrder) {
  struct Row {
    const char* what;
    Changes changes;
    bool createMissing;
    ProjectField field;
    const char* message;
  };
  using F = ProjectField;
  const std::string missing = (dir_ / "not" / "there").string();
  const Row rows[] = {
      {"no category", {{"CatId", "-1"}}, true, F::Category, kNoCategoryMessage},
      {"category before name",
       {{"CatId", "9"}, {"Title", ""}},
       true,
       F::Category,
       kNoCategoryMessage},
      {"blank name", {{"Title", "  \t"}}, true, F::Title, kNoNameMessage},
      {"name before URL", {{"Title", ""}, {"URL", ""}}, true, F::Title, kNoNameMessage},
      {"URL without scheme", {{"URL", "www.example.org"}}, true, F::URL, kBadURLMessage},
      {"empty save-to", {{"SaveTo", ""}}, true, F::SaveTo, kNoSaveToMessage},
      {"missing save-to, no creating", {{"SaveTo", missing}}, false, F::SaveTo, kNoSaveToMessage},
      {"no format", {{"JPEG", "0"}}, true, F::Formats, kNoFormatMessage},
      {"rename without prefix", {{"NamePrefix", ""}}, true, F::NamePrefix, kNoPrefixMessage},
      {"format before prefix",
       {{"JPEG", "0"}, {"NamePrefix", ""}},
       true,
       F::Formats,
       kNoFormatMessage},
      {"thumbnails folder missing",
       {{"AutoCreateThumbnails", "1"}, {"ThumbnailSaveTo", missing}},
       false,
       F::ThumbnailSaveTo,
       kNoThumbnailFolderMessage},
      {"mobile folder empty",
       {{"AutoCreateMobile", "1"}, {"MobileSaveTo", ""}},
       true,
       F::MobileSaveTo,
       kNoMobileFolderMessage},
  };
  for (const auto& row : rows) {
    const auto problem = CheckProject(Changed(row.changes), Options(row.createMissing));
    ASSERT_TRUE(problem) << row.what;
    EXPECT_EQ(problem->field, row.field) << row.what;
    EXPECT_EQ(problem->message, row.message) << row.what;
  }
}

TEST_F(ProjectValidation, AcceptsWhatTheEditorAccepts) {
  const std::pair<const char*, Changes> rows[] = {
      {"as is", {}},
      {"upper-case scheme", {{"URL", "  HTTPS://example.org "}}},
      {"only TIF", {{"JPEG", "0"}, {"TIF", "1"}}},
      {"no renaming, no prefix", {{"AutoRename", "0"}, {"NamePrefix", ""}}},
      {"thumbnails off, folder empty", {{"ThumbnailSaveTo", ""}}},
      {"missing folders that may be created",
       {{"SaveTo", (dir_ / "new").string()},
        {"AutoCreateThumbnails", "1"},
        {"ThumbnailSaveTo", (dir_ / "new" / "Thumbs").string()}}},
  };
  for (const auto& [what, changes] : rows) {
    const auto problem = CheckProject(Changed(changes), Options(true));
    EXPECT_FALSE(problem) << what << ": " << problem->message;
  }
  EXPECT_FALSE(fs::exists(dir_ / "new")) << "checking never creates folders";
}

TEST(StartAddress, NeedsAWebSchemeAndSomethingAfterIt) {
  const std::pair<const char*, bool> rows[] = {
      {"http://example.org", true},
      {"https://example.org/a?b=c", true},
      {"http://", false},
      {"https://  ", false},
      {"ftp://example.org", false},
      {"example.org/http://", false},
      {"javascript:http://x", false},
  };
  for (const auto& [url, ok] : rows) EXPECT_EQ(IsStartAddress(url), ok) << url;
}

TEST_F(ProjectValidation, CreatesTheFoldersThatAreSwitchedOnOrSaysWhichFailed) {
  ProjectsRecord record = ValidProject();
  // Paths are used as given: a reference in a name is no apostrophe.
  record.saveTo = (dir_ / "Sam&#39s Photos").string();
  record.autoCreateThumbnails = true;
  record.thumbnailSaveTo = (dir_ / "Sam&#39s Photos" / "Thumbs").string();
  record.autoCreateMobile = false;
  record.mobileSaveTo = (dir_ / "Mobile").string();
  EXPECT_FALSE(CreateProjectFolders(record));
  EXPECT_TRUE(fs::is_directory(dir_ / "Sam&#39s Photos" / "Thumbs"));
  EXPECT_FALSE(fs::exists(dir_ / "Sam's Photos"));
  EXPECT_FALSE(fs::exists(dir_ / "Mobile"));

  std::ofstream(dir_ / "plain-file") << "x";
  // The user learns which folder and the system's reason, a folder in /proc too.
  for (const std::string& folder :
       {(dir_ / "plain-file" / "sub").string(), std::string("/proc/trawlix-photos")}) {
    record.saveTo = folder;
    const auto problem = CreateProjectFolders(record);
    ASSERT_TRUE(problem) << folder;
    EXPECT_EQ(problem->field, ProjectField::SaveTo);
    EXPECT_NE(problem->message.find("The folder " + folder + " cannot be made: "),
              std::string::npos)
        << problem->message;
  }
  record.saveTo = (dir_ / "plain-file" / "sub").string();
  EXPECT_NE(CreateProjectFolders(record)->message.find(": Not a directory."), std::string::npos);
}

TEST(ColumnValues, KeepCodesFlagsAndSizesInRange) {
  struct Row {
    const char* column;
    int value;
    bool ok;
  };
  const Row rows[] = {
      {"JPEG", 1, true},
      {"AutoRename", -1, false},
      {"ConvertToFormat", -1, true},
      {"MobileFormat", 5, false},
      {"Orientation", 2, true},
      {"Orientation", -1, false},
      {"ThumbnailOrientation", -1, true},
      {"MobileSaveToLocation", 2, false},
      {"MinimumSize", -5, false},
      {"ResizeBoundingBox", 0, false},
      {"ThumbnailBoundingBox", 100000, true},
      {"Padding", 0, false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(!CheckColumnValue(row.column, row.value), row.ok) << row.column << row.value;
  }
  EXPECT_EQ(CheckColumnValue("png", 7), "PNG must be 0 (off) or 1 (on), not 7.");
}

}  // namespace
}  // namespace trawlix
