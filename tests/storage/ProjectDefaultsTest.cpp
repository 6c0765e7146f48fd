#include <gtest/gtest.h>

#include "TableTestSupport.h"
#include "storage/ProjectDefaults.h"

namespace trawlix {
namespace {

const std::vector<CategoriesRecord> kCategories = {
    {1, "Actresses"}, {4, "Imported Projects"}, {5, "miscellaneous"}};

TEST(ProjectDefaults, NewProjectsTakeTheSettingsCategoryOrTheFirst) {
  SettingsValues settings;
  EXPECT_EQ(NewProjectRecord(settings, kCategories).catId, 5) << "any letter case";
  settings.newProjectCategory = "Gone";
  EXPECT_EQ(NewProjectRecord(settings, kCategories).catId, 1);
  EXPECT_EQ(NewProjectRecord(settings, {}).catId, -1);
}

TEST(ProjectDefaults, NewProjectsCopyTheNewProjectOptions) {
  SettingsValues settings;
  settings.newPNG = true;
  settings.newMinimumSize = 640;
  settings.newMobileOrientation = 2;
  settings.newThumbnailsExternalIncludeTitle = true;
  const ProjectsRecord record = NewProjectRecord(settings, kCategories);
  EXPECT_EQ(record.url, "http://");
  EXPECT_EQ(record.png, 1);
  EXPECT_EQ(record.minimumSize, 640);
  EXPECT_EQ(record.mobileOrientation, 2);
  // The location columns are resolved into the two folders, never stored.
  EXPECT_EQ(record.thumbnailsExternalIncludeTitle, 0);
  EXPECT_EQ(record.thumbnailsSaveToLocation, 0);
  EXPECT_TRUE(record.thumbnailsExternalSaveTo.empty());
}

TEST(ProjectDefaults, SaveToFolderFollowsTheNameOption) {
  SettingsValues settings;
  settings.defaultSaveTo = "/home/u/Pictures/";
  EXPECT_EQ(DefaultSaveTo(settings, " Sea Birds "), "/home/u/Pictures/Sea Birds");
  EXPECT_EQ(DefaultSaveTo(settings, ""), "/home/u/Pictures");
  // A title (an older row may read back with "/" and "..") is one folder, never a path.
  EXPECT_EQ(DefaultSaveTo(settings, "/../../etc"), "/home/u/Pictures/_.._.._etc");
  EXPECT_EQ(DefaultSaveTo(settings, ".."), "/home/u/Pictures/_");
  settings.useProjectNameForSaveTo = false;
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
    ProjectsRecord record;
    record.title = "Sea Birds";
    record.saveTo = "/p/Sea Birds";
    CompleteNewProject(record, settings);
    EXPECT_EQ(record.thumbnailSaveTo, row.thumbnails) << row.what;
    EXPECT_EQ(record.mobileSaveTo, "/p/Sea Birds/Mobile") << row.what;
    EXPECT_EQ(record.namePrefix, "Sea_Birds_") << row.what;
  }
  const ProjectsRecord given = testing::SampleProject("X");
  ProjectsRecord completed = given;
  CompleteNewProject(completed, SettingsValues{});
  EXPECT_EQ(completed, given);
}

}  // namespace
}  // namespace trawlix
