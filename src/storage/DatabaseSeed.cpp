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

CProjectsRecord SampleTemplate(int categoryId) {
  CProjectsRecord r;
  r.m_nId = 0;
  r.m_nCatId = categoryId;
  r.m_nJPEG = 1;
  r.m_nPNG = r.m_nGIF = r.m_nBMP = r.m_nICO = r.m_nTIF = 0;
  r.m_nOrientation = 0;
  r.m_nCreateFolders = 0;
  r.m_nSearchSubFolders = 1;
  r.m_nFilterMinimumSize = 1;
  r.m_nMinimumSize = 350;
  r.m_nAutoRename = r.m_nIncludePhotoSize = r.m_nReplaceSpaces = 0;
  r.m_nPadNumbers = 1;
  r.m_nPadding = 3;
  r.m_nAutoResize = 0;
  r.m_nResizeBoundingBox = 1600;
  r.m_nAutoConvert = r.m_nConvertToFormat = 0;
  r.m_nAutoCreateThumbnails = 0;
  r.m_nThumbnailBoundingBox = 256;
  r.m_nThumbnailFormat = 0;
  r.m_nExcludeThumbnailFolder = 1;
  r.m_nAutoCreateMobile = 0;
  r.m_nMobileBoundingBox = 480;
  r.m_nMobileFormat = 2;
  r.m_nExcludeMobileFolder = 1;
  r.m_nKeywordMustExist = 0;
  r.m_nThumbnailOrientation = r.m_nMobileOrientation = 0;
  r.m_nThumbnailsSaveToLocation = 0;
  r.m_nThumbnailsExternalIncludeTitle = 1;
  r.m_nMobileSaveToLocation = 0;
  r.m_nMobileExternalIncludeTitle = 1;
  return r;
}

void NameSample(CProjectsRecord& r, const std::string& baseFolder, const char* title,
                const char* url) {
  r.m_lpszTitle = title;
  r.m_lpszURL = url;
  r.m_lpszSaveTo = baseFolder + title;
  r.m_lpszNamePrefix = ReplacedAll(title, " ", "_") + "_";
  r.m_lpszThumbnailSaveTo = r.m_lpszSaveTo + "/Thumbnails";
  r.m_lpszMobileSaveTo = r.m_lpszSaveTo + "/Mobile";
}

bool AddSample2Links(const std::string& databasePath, MessageSink& messages, int projectId) {
  bool ok = true;
  for (const char* url : kSample2Links) {
    CProjectLinksRecord link;
    link.m_nProjectId = projectId;
    link.m_lpszdtDate = TodayDateText();
    link.m_nSearchSubFolders = 1;
    link.m_lpszURL = url;
    link.m_nKeywordMustExist = 0;
    link.m_lpszKeywords = kSample2Keywords;
    NewGUIDString(link.m_lpszGUID);
    link.m_nPhotos = 0;
    ok = AddProjectLink(databasePath, messages, link) && ok;
  }
  return ok;
}

int SeedCategories(const std::string& databasePath, MessageSink& messages) {
  CCategoriesTable categories(databasePath, messages);
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
  CScanHistoryTable history(databasePath, messages);
  if (!history.OpenTable()) return false;
  CProjectsTable projects(databasePath, messages);
  if (!projects.OpenTable()) return false;
  std::string baseFolder = picturesFolder;
  if (baseFolder.empty() || baseFolder.back() != '/') baseFolder += '/';

  // One record carries over from sample to sample, as each only sets what differs.
  CProjectsRecord r = SampleTemplate(categoryId);
  NameSample(r, baseFolder, "NASA Image of the Day", "https://www.nasa.gov/image-of-the-day/");
  r.m_lpszKeywords = "";
  r.m_nOrientation = 2;
  r.m_nFilterMinimumSize = 1;
  r.m_nMinimumSize = 600;
  r.m_nAutoResize = 1;
  r.m_nResizeBoundingBox = 1800;
  bool ok = projects.InsertProject(r);

  NameSample(r, baseFolder, "Livia Brandt", kSample2Links[0]);
  r.m_nAutoRename = 1;
  r.m_lpszKeywords = kSample2Keywords;
  r.m_nFilterMinimumSize = 1;
  r.m_nMinimumSize = 350;
  r.m_nOrientation = 1;
  r.m_nAutoResize = 0;
  r.m_nResizeBoundingBox = 1800;
  ok = projects.InsertProject(r) && ok;
  CProjectsRecord stored;
  if (projects.LoadByCategoryAndTitle(categoryId, r.m_lpszTitle) && projects.GetCurrent(stored)) {
    ok = AddSample2Links(databasePath, messages, stored.m_nId) && ok;
  } else {
    ok = false;
  }

  NameSample(r, baseFolder, "Marisol Fenwick",
             "https://www.filmstargallery.example/actress/marisol-fenwick/photos/");
  r.m_lpszKeywords = "";
  r.m_nFilterMinimumSize = 1;
  r.m_nMinimumSize = 450;
  r.m_nOrientation = 0;
  r.m_nAutoResize = 0;
  r.m_nResizeBoundingBox = 1800;
  r.m_nAutoConvert = 1;
  r.m_nConvertToFormat = 2;
  return projects.InsertProject(r) && ok;
}

}  // namespace trawlix
