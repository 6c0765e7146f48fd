#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "storage/ProjectValidation.h"
#include "support/TempDir.h"

namespace trawlix {
namespace {

namespace fs = std::filesystem;

class ProjectValidation : public ::testing::Test {
 protected:
  // A project that passes every check, in an existing folder.
  CProjectsRecord ValidProject() const {
    CProjectsRecord record;
    record.m_nCatId = 3;
    record.m_lpszTitle = "Harbour Lights";
    record.m_lpszURL = "http://www.example.org/harbour/";
    record.m_lpszSaveTo = dir_.str();
    record.m_nJPEG = 1;
    record.m_nPNG = record.m_nGIF = record.m_nBMP = record.m_nTIF = 0;
    record.m_nAutoRename = 1;
    record.m_lpszNamePrefix = "Harbour_Lights_";
    record.m_nAutoCreateThumbnails = 0;
    record.m_nAutoCreateMobile = 0;
    return record;
  }

  ProjectCheckOptions Options(bool createMissing) const { return {{1, 3, 4}, createMissing}; }

  testing::TempDir dir_;
};

TEST_F(ProjectValidation, ReportsTheFirstFailingCheckInTheEditorsOrder) {
  struct Row {
    const char* what;
    std::function<void(CProjectsRecord&)> change;
    bool createMissing;
    ProjectField field;
    const char* message;
  };
  const std::string missing = (dir_ / "not" / "there").string();
  const Row rows[] = {
      {"no category", [](auto& r) { r.m_nCatId = -1; }, true, ProjectField::Category,
       kNoCategoryMessage},
      {"unknown category", [](auto& r) { r.m_nCatId = 2; }, true, ProjectField::Category,
       kNoCategoryMessage},
      {"category before name",
       [](auto& r) {
         r.m_nCatId = 9;
         r.m_lpszTitle.clear();
       },
       true, ProjectField::Category, kNoCategoryMessage},
      {"blank name", [](auto& r) { r.m_lpszTitle = "  \t"; }, true, ProjectField::Title,
       kNoNameMessage},
      {"name before URL",
       [](auto& r) {
         r.m_lpszTitle.clear();
         r.m_lpszURL.clear();
       },
       true, ProjectField::Title, kNoNameMessage},
      {"empty URL", [](auto& r) { r.m_lpszURL.clear(); }, true, ProjectField::URL, kBadURLMessage},
      {"URL without scheme", [](auto& r) { r.m_lpszURL = "www.example.org"; }, true,
       ProjectField::URL, kBadURLMessage},
      {"empty save-to", [](auto& r) { r.m_lpszSaveTo.clear(); }, true, ProjectField::SaveTo,
       kNoSaveToMessage},
      {"missing save-to, no creating", [&](auto& r) { r.m_lpszSaveTo = missing; }, false,
       ProjectField::SaveTo, kNoSaveToMessage},
      {"no format", [](auto& r) { r.m_nJPEG = 0; }, true, ProjectField::Formats, kNoFormatMessage},
      {"formats unset", [](auto& r) { r.m_nJPEG = -1; }, true, ProjectField::Formats,
       kNoFormatMessage},
      {"rename without prefix", [](auto& r) { r.m_lpszNamePrefix.clear(); }, true,
       ProjectField::NamePrefix, kNoPrefixMessage},
      {"format before prefix",
       [](auto& r) {
         r.m_nJPEG = 0;
         r.m_lpszNamePrefix.clear();
       },
       true, ProjectField::Formats, kNoFormatMessage},
      {"thumbnails folder missing",
       [&](auto& r) {
         r.m_nAutoCreateThumbnails = 1;
         r.m_lpszThumbnailSaveTo = missing;
       },
       false, ProjectField::ThumbnailSaveTo, kNoThumbnailFolderMessage},
      {"mobile folder empty",
       [](auto& r) {
         r.m_nAutoCreateMobile = 1;
         r.m_lpszMobileSaveTo.clear();
       },
       true, ProjectField::MobileSaveTo, kNoMobileFolderMessage},
  };
  for (const auto& row : rows) {
    CProjectsRecord record = ValidProject();
    row.change(record);
    const auto problem = CheckProject(record, Options(row.createMissing));
    ASSERT_TRUE(problem) << row.what;
    EXPECT_EQ(problem->field, row.field) << row.what;
    EXPECT_EQ(problem->message, row.message) << row.what;
  }
}

TEST_F(ProjectValidation, AcceptsWhatTheEditorAccepts) {
  struct Row {
    const char* what;
    std::function<void(CProjectsRecord&)> change;
  };
  const Row rows[] = {
      {"as is", [](auto&) {}},
      {"secure address", [](auto& r) { r.m_lpszURL = "https://www.example.org/"; }},
      {"upper-case scheme", [](auto& r) { r.m_lpszURL = "  HTTPS://example.org "; }},
      {"only TIF",
       [](auto& r) {
         r.m_nJPEG = 0;
         r.m_nTIF = 1;
       }},
      {"no renaming, no prefix",
       [](auto& r) {
         r.m_nAutoRename = 0;
         r.m_lpszNamePrefix.clear();
       }},
      {"thumbnails off, folder empty", [](auto& r) { r.m_lpszThumbnailSaveTo.clear(); }},
      {"missing folders that may be created",
       [&](auto& r) {
         r.m_lpszSaveTo = (dir_ / "new").string();
         r.m_nAutoCreateThumbnails = 1;
         r.m_lpszThumbnailSaveTo = (dir_ / "new" / "Thumbs").string();
       }},
  };
  for (const auto& row : rows) {
    CProjectsRecord record = ValidProject();
    row.change(record);
    const auto problem = CheckProject(record, Options(true));
    EXPECT_FALSE(problem) << row.what << ": " << problem->message;
  }
  EXPECT_FALSE(fs::exists(dir_ / "new")) << "checking never creates folders";
}

TEST(StartAddress, NeedsAWebSchemeAndSomethingAfterIt) {
  const std::pair<const char*, bool> rows[] = {
      {"http://example.org", true},
      {"https://example.org/a?b=c", true},
      {"Http://x", true},
      {"http://", false},
      {"https://  ", false},
      {"ftp://example.org", false},
      {"example.org/http://", false},
      {"", false},
      {"javascript:http://x", false},
  };
  for (const auto& [url, ok] : rows) EXPECT_EQ(IsStartAddress(url), ok) << url;
}

TEST_F(ProjectValidation, CreatesTheFoldersThatAreSwitchedOn) {
  CProjectsRecord record = ValidProject();
  record.m_lpszSaveTo = (dir_ / "Sam&#39s Photos").string();
  record.m_nAutoCreateThumbnails = 1;
  record.m_lpszThumbnailSaveTo = (dir_ / "Sam&#39s Photos" / "Thumbs").string();
  record.m_nAutoCreateMobile = 0;
  record.m_lpszMobileSaveTo = (dir_ / "Mobile").string();
  EXPECT_FALSE(CreateProjectFolders(record));
  EXPECT_TRUE(fs::is_directory(dir_ / "Sam's Photos" / "Thumbs"));
  EXPECT_FALSE(fs::exists(dir_ / "Sam&#39s Photos"));
  EXPECT_FALSE(fs::exists(dir_ / "Mobile"));
}

TEST_F(ProjectValidation, ReportsAFolderThatCannotBeMade) {
  CProjectsRecord record = ValidProject();
  const fs::path file = dir_ / "plain-file";
  std::ofstream(file) << "x";
  record.m_lpszSaveTo = (file / "sub").string();
  const auto problem = CreateProjectFolders(record);
  ASSERT_TRUE(problem);
  EXPECT_EQ(problem->field, ProjectField::SaveTo);
}

TEST(ColumnValues, KeepCodesFlagsAndSizesInRange) {
  struct Row {
    const char* column;
    int value;
    bool ok;
  };
  const Row rows[] = {
      {"JPEG", 1, true},
      {"jpeg", 2, false},
      {"AutoRename", -1, false},
      {"ConvertToFormat", -1, true},
      {"ConvertToFormat", 4, true},
      {"MobileFormat", 5, false},
      {"Orientation", 2, true},
      {"Orientation", -1, false},
      {"ThumbnailOrientation", -1, true},
      {"MobileSaveToLocation", 2, false},
      {"MinimumSize", 0, true},
      {"MinimumSize", -5, false},
      {"ResizeBoundingBox", 0, false},
      {"ThumbnailBoundingBox", 100000, true},
      {"Padding", 0, false},
      {"Padding", 10, true},
      {"CatId", 12345, true},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(!CheckColumnValue(row.column, row.value), row.ok) << row.column << row.value;
  }
  EXPECT_EQ(CheckColumnValue("png", 7), "PNG must be 0 (off) or 1 (on), not 7.");
}

}  // namespace
}  // namespace trawlix
