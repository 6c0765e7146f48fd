#include <gtest/gtest.h>

#include "TableTestSupport.h"
#include "storage/ProjectDefaults.h"

namespace trawlix {
namespace {

const std::vector<CCategoriesRecord> kCategories = {
    {1, "Actresses"}, {4, "Imported Projects"}, {5, "miscellaneous"}};

TEST(ProjectDefaults, NewProjectsTakeTheSettingsCategoryOrTheFirst) {
  SettingsValues settings;
  EXPECT_EQ(NewProjectRecord(settings, kCategories).m_nCatId, 5) << "any letter case";
  settings.newProjectCategory = "Gone";
  EXPECT_EQ(NewProjectRecord(settings, kCategories).m_nCatId, 1);
  EXPECT_EQ(NewProjectRecord(settings, {}).m_nCatId, -1);
}

TEST(ProjectDefaults, NewProjectsCopyTheNewProjectOptions) {
  SettingsValues settings;
  settings.newPNG = 1;
  settings.newMinimumSize = 640;
  settings.newMobileOrientation = 2;
  settings.newThumbnailsExternalIncludeTitle = 1;
  const CProjectsRecord record = NewProjectRecord(settings, kCategories);
  EXPECT_EQ(record.m_lpszURL, "http://");
  EXPECT_EQ(record.m_nPNG, 1);
  EXPECT_EQ(record.m_nMinimumSize, 640);
  EXPECT_EQ(record.m_nMobileOrientation, 2);
  // The location columns are resolved into the two folders, never stored.
  EXPECT_EQ(record.m_nThumbnailsExternalIncludeTitle, 0);
  EXPECT_EQ(record.m_nThumbnailsSaveToLocation, 0);
  EXPECT_TRUE(record.m_lpszThumbnailsExternalSaveTo.empty());
}

TEST(ProjectDefaults, SaveToFolderFollowsTheNameOption) {
  SettingsValues settings;
  settings.defaultSaveTo = "/home/u/Pictures/";
  EXPECT_EQ(DefaultSaveTo(settings, " Sea Birds "), "/home/u/Pictures/Sea Birds");
  EXPECT_EQ(DefaultSaveTo(settings, ""), "/home/u/Pictures");
  settings.useProjectNameForSaveTo = 0;
  EXPECT_EQ(DefaultSaveTo(settings, "Sea Birds"), "/home/u/Pictures");
}

TEST(ProjectDefaults, CompletingFillsOnlyWhatIsEmpty) {
  struct Row {
    const char* what;
    int location;
    std::string external;
    int includeTitle;
    std::string thumbnails;
  };
  const Row rows[] = {
      {"sub-folder", 0, "/ext", 1, "/p/Sea Birds/Thumbs"},
      {"external with title", 1, "/ext/", 1, "/ext/Sea Birds"},
      {"external alone", 1, "/ext/", 0, "/ext"},
      {"external never chosen", 1, "", 1, "/p/Sea Birds/Thumbs"},
  };
  for (const auto& row : rows) {
    SettingsValues settings;
    settings.newThumbnailsSaveToLocation = row.location;
    settings.newThumbnailsExternalSaveTo = row.external;
    settings.newThumbnailsExternalIncludeTitle = row.includeTitle;
    CProjectsRecord record;
    record.m_lpszTitle = "Sea Birds";
    record.m_lpszSaveTo = "/p/Sea Birds";
    CompleteNewProject(record, settings);
    EXPECT_EQ(record.m_lpszThumbnailSaveTo, row.thumbnails) << row.what;
    EXPECT_EQ(record.m_lpszMobileSaveTo, "/p/Sea Birds/Mobile") << row.what;
    EXPECT_EQ(record.m_lpszNamePrefix, "Sea_Birds_") << row.what;
  }
  const CProjectsRecord given = testing::SampleProject("X");
  CProjectsRecord completed = given;
  CompleteNewProject(completed, SettingsValues{});
  EXPECT_EQ(completed, given);
}

}  // namespace
}  // namespace trawlix
