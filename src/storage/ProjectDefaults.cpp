#include "storage/ProjectDefaults.h"

#include <algorithm>

#include "base/Path.h"
#include "base/Text.h"
#include "storage/ProjectFolderCheck.h"

namespace trawlix {

namespace {

std::string JoinFolder(std::string_view folder, std::string_view name) {
  return NormalizeFolderPath(folder, TrailingSlash::Add) + std::string(name);
}

// A sub-folder of the save-to folder, or the external location (with the title below it
// when asked). An external location that was never chosen falls back to the sub-folder:
// joining the title to nothing would point at the root of the file system.
std::string DerivedFolder(const ProjectsRecord& record, int location, const std::string& external,
                          int includeTitle, const std::string& subFolderName) {
  if (location == 1 && !Trim(external).empty()) {
    if (includeTitle == 0) return NormalizeFolderPath(external, TrailingSlash::Remove);
    return JoinFolder(external, SafeFolderName(record.title));
  }
  return JoinFolder(record.saveTo, subFolderName);
}

}  // namespace

ProjectsRecord NewProjectRecord(const SettingsValues& s,
                                const std::vector<CategoriesRecord>& categories) {
  ProjectsRecord r;
  const auto named = std::find_if(categories.begin(), categories.end(), [&](const auto& c) {
    return EqualsNoCase(Trim(c.name), Trim(s.newProjectCategory));
  });
  if (named != categories.end()) {
    r.catId = named->id;
  } else if (!categories.empty()) {
    r.catId = categories.front().id;
  }
  r.url = "http://";
  r.jpeg = s.newJPEG;
  r.png = s.newPNG;
  r.gif = s.newGIF;
  r.bmp = s.newBMP;
  r.tif = s.newTIF;
  r.ico = false;
  r.createFolders = s.newCreateFolders;
  r.searchSubFolders = s.newSearchSubFolders;
  r.filterMinimumSize = s.newFilterMinimumSize;
  r.minimumSize = s.newMinimumSize;
  r.orientation = s.newOrientation;
  r.keywordMustExist = false;
  r.autoRename = s.newAutoRename;
  r.includePhotoSize = s.newIncludePhotoSize;
  r.replaceSpaces = false;
  r.padNumbers = s.newPadNumbers;
  r.padding = s.newPadding;
  r.autoResize = s.newAutoResize;
  r.resizeBoundingBox = s.newResizeBoundingBox;
  r.autoConvert = s.newAutoConvert;
  r.convertToFormat = s.newConvertToFormat;
  r.autoCreateThumbnails = s.newAutoCreateThumbnails;
  r.thumbnailBoundingBox = s.newThumbnailBoundingBox;
  r.thumbnailFormat = s.newThumbnailFormat;
  r.thumbnailOrientation = s.newThumbnailOrientation;
  r.excludeThumbnailFolder = true;
  r.autoCreateMobile = s.newAutoCreateMobile;
  r.mobileBoundingBox = s.newMobileBoundingBox;
  r.mobileFormat = s.newMobileFormat;
  r.mobileOrientation = s.newMobileOrientation;
  r.excludeMobileFolder = true;
  r.thumbnailsSaveToLocation = 0;
  r.thumbnailsExternalIncludeTitle = false;
  r.mobileSaveToLocation = 0;
  r.mobileExternalIncludeTitle = false;
  return r;
}

std::string DefaultSaveTo(const SettingsValues& settings, std::string_view title) {
  if (!settings.useProjectNameForSaveTo || Trim(title).empty()) {
    return NormalizeFolderPath(settings.defaultSaveTo, TrailingSlash::Remove);
  }
  // A title is one folder below the default location, never a path of its own.
  return JoinFolder(settings.defaultSaveTo, SafeFolderName(title));
}

std::string DefaultNamePrefix(std::string_view title) {
  return ReplacedAll(title, " ", "_") + "_";
}

void CompleteNewProject(ProjectsRecord& record, const SettingsValues& s) {
  if (record.thumbnailSaveTo.empty()) {
    record.thumbnailSaveTo =
        DerivedFolder(record, s.newThumbnailsSaveToLocation, s.newThumbnailsExternalSaveTo,
                      s.newThumbnailsExternalIncludeTitle, s.thumbnailsFolderName);
  }
  if (record.mobileSaveTo.empty()) {
    record.mobileSaveTo =
        DerivedFolder(record, s.newMobileSaveToLocation, s.newMobileExternalSaveTo,
                      s.newMobileExternalIncludeTitle, s.mobileFolderName);
  }
  if (record.namePrefix.empty()) record.namePrefix = DefaultNamePrefix(record.title);
}

}  // namespace trawlix
