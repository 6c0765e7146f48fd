#include "storage/DatabaseSeed.h"

#include "base/Guid.h"
#include "base/Text.h"
#include "storage/CategoriesTable.h"
#include "storage/DateText.h"
#include "storage/ProjectLinksTable.h"
#include "storage/ProjectsTable.h"
#include "storage/ScanHistoryTable.h"

namespace trawlix {

namespace {

constexpr const char* kCategories[] = {"Actresses", "Models", kSampleProjectsCategory,
                                       "Imported Projects"};

constexpr const char* kSample2Keywords = "modelfeatured";
constexpr const char* kSample2Links[] = {
    "https://swimsuit.sportsweekly.example/model/livia-brandt/",
    "https://swimsuit.sportsweekly.example/2025/model/livia-brandt/",
    "https://swimsuit.sportsweekly.example/2024/model/livia-brandt/",
};

ProjectsRecord SampleTemplate(int categoryId) {
  ProjectsRecord r;
  r.id = 0;
  r.catId = categoryId;
  r.jpeg = true;
  r.png = r.gif = r.bmp = r.ico = r.tif = false;
  r.orientation = 0;
  r.createFolders = false;
  r.searchSubFolders = true;
  r.filterMinimumSize = true;
  r.minimumSize = 350;
  r.autoRename = r.includePhotoSize = r.replaceSpaces = false;
  r.padNumbers = true;
  r.padding = 3;
  r.autoResize = false;
  r.resizeBoundingBox = 1600;
  r.autoConvert = false;
  r.convertToFormat = 0;
  r.autoCreateThumbnails = false;
  r.thumbnailBoundingBox = 256;
  r.thumbnailFormat = 0;
  r.excludeThumbnailFolder = true;
  r.autoCreateMobile = false;
  r.mobileBoundingBox = 480;
  r.mobileFormat = 2;
  r.excludeMobileFolder = true;
  r.keywordMustExist = false;
  r.thumbnailOrientation = r.mobileOrientation = 0;
  r.thumbnailsSaveToLocation = 0;
  r.thumbnailsExternalIncludeTitle = true;
  r.mobileSaveToLocation = 0;
  r.mobileExternalIncludeTitle = true;
  return r;
}

void NameSample(ProjectsRecord& r, const std::string& baseFolder, const char* title,
                const char* url) {
  r.title = title;
  r.url = url;
  r.saveTo = baseFolder + title;
  r.namePrefix = ReplacedAll(title, " ", "_") + "_";
  r.thumbnailSaveTo = r.saveTo + "/Thumbnails";
  r.mobileSaveTo = r.saveTo + "/Mobile";
}

bool AddSample2Links(const std::string& databasePath, MessageSink& messages, int projectId) {
  bool ok = true;
  for (const char* url : kSample2Links) {
    ProjectLinksRecord link;
    link.projectId = projectId;
    link.date = TodayDateText();
    link.searchSubFolders = true;
    link.url = url;
    link.keywordMustExist = false;
    link.keywords = kSample2Keywords;
    NewGUIDString(link.guid);
    link.photos = 0;
    ok = AddProjectLink(databasePath, messages, link) && ok;
  }
  return ok;
}

int SeedCategories(const std::string& databasePath, MessageSink& messages) {
  CategoriesTable categories(databasePath, messages);
  if (!categories.OpenTable()) return -1;
  for (const char* name : kCategories) categories.InsertCategory(name);
  return categories.CategoryIdByName(kSampleProjectsCategory);
}

}  // namespace

bool SeedNewDatabase(const std::string& databasePath, MessageSink& messages,
                     const std::string& picturesFolder) {
  const int categoryId = SeedCategories(databasePath, messages);
  if (categoryId < 0) return false;
  // The history table is made now too, so that a new file holds all four tables.
  ScanHistoryTable history(databasePath, messages);
  if (!history.OpenTable()) return false;
  ProjectsTable projects(databasePath, messages);
  if (!projects.OpenTable()) return false;
  std::string baseFolder = picturesFolder;
  if (baseFolder.empty() || baseFolder.back() != '/') baseFolder += '/';

  // One record carries over from sample to sample, as each only sets what differs.
  ProjectsRecord r = SampleTemplate(categoryId);
  NameSample(r, baseFolder, "NASA Image of the Day", "https://www.nasa.gov/image-of-the-day/");
  r.keywords = "";
  r.orientation = 2;
  r.filterMinimumSize = true;
  r.minimumSize = 600;
  r.autoResize = true;
  r.resizeBoundingBox = 1800;
  bool ok = projects.InsertProject(r);

  NameSample(r, baseFolder, "Livia Brandt", kSample2Links[0]);
  r.autoRename = true;
  r.keywords = kSample2Keywords;
  r.filterMinimumSize = true;
  r.minimumSize = 350;
  r.orientation = 1;
  r.autoResize = false;
  r.resizeBoundingBox = 1800;
  ok = projects.InsertProject(r) && ok;
  ProjectsRecord stored;
  if (projects.LoadByCategoryAndTitle(categoryId, r.title) && projects.GetCurrent(stored)) {
    ok = AddSample2Links(databasePath, messages, stored.id) && ok;
  } else {
    ok = false;
  }

  NameSample(r, baseFolder, "Marisol Fenwick",
             "https://www.filmstargallery.example/actress/marisol-fenwick/photos/");
  r.keywords = "";
  r.filterMinimumSize = true;
  r.minimumSize = 450;
  r.orientation = 0;
  r.autoResize = false;
  r.resizeBoundingBox = 1800;
  r.autoConvert = true;
  r.convertToFormat = 2;
  return projects.InsertProject(r) && ok;
}

}  // namespace trawlix
