#include "storage/ProjectDefaults.h"

#include <algorithm>

#include "base/Path.h"
#include "base/Text.h"

namespace trawlix {

namespace {

std::string JoinFolder(std::string_view folder, std::string_view name) {
  return NormalizeFolderPath(folder, TrailingSlash::Add) + std::string(name);
}

// A sub-folder of the save-to folder, or the external location (with the title below it
// when asked). An external location that was never chosen falls back to the sub-folder:
// joining the title to nothing would point at the root of the file system.
std::string DerivedFolder(const CProjectsRecord& record, int location, const std::string& external,
                          int includeTitle, const std::string& subFolderName) {
  if (location == 1 && !Trim(external).empty()) {
    if (includeTitle == 0) return NormalizeFolderPath(external, TrailingSlash::Remove);
    return JoinFolder(external, record.m_lpszTitle);
  }
  return JoinFolder(record.m_lpszSaveTo, subFolderName);
}

}  // namespace

CProjectsRecord NewProjectRecord(const SettingsValues& s,
                                 const std::vector<CCategoriesRecord>& categories) {
  CProjectsRecord r;
  const auto named = std::find_if(categories.begin(), categories.end(), [&](const auto& c) {
    return EqualsNoCase(Trim(c.m_lpszName), Trim(s.newProjectCategory));
  });
  if (named != categories.end()) {
    r.m_nCatId = named->m_lId;
  } else if (!categories.empty()) {
    r.m_nCatId = categories.front().m_lId;
  }
  r.m_lpszURL = "http://";
  r.m_nJPEG = s.newJPEG;
  r.m_nPNG = s.newPNG;
  r.m_nGIF = s.newGIF;
  r.m_nBMP = s.newBMP;
  r.m_nTIF = s.newTIF;
  r.m_nICO = 0;
  r.m_nCreateFolders = s.newCreateFolders;
  r.m_nSearchSubFolders = s.newSearchSubFolders;
  r.m_nFilterMinimumSize = s.newFilterMinimumSize;
  r.m_nMinimumSize = s.newMinimumSize;
  r.m_nOrientation = s.newOrientation;
  r.m_nKeywordMustExist = 0;
  r.m_nAutoRename = s.newAutoRename;
  r.m_nIncludePhotoSize = s.newIncludePhotoSize;
  r.m_nReplaceSpaces = 0;
  r.m_nPadNumbers = s.newPadNumbers;
  r.m_nPadding = s.newPadding;
  r.m_nAutoResize = s.newAutoResize;
  r.m_nResizeBoundingBox = s.newResizeBoundingBox;
  r.m_nAutoConvert = s.newAutoConvert;
  r.m_nConvertToFormat = s.newConvertToFormat;
  r.m_nAutoCreateThumbnails = s.newAutoCreateThumbnails;
  r.m_nThumbnailBoundingBox = s.newThumbnailBoundingBox;
  r.m_nThumbnailFormat = s.newThumbnailFormat;
  r.m_nThumbnailOrientation = s.newThumbnailOrientation;
  r.m_nExcludeThumbnailFolder = 1;
  r.m_nAutoCreateMobile = s.newAutoCreateMobile;
  r.m_nMobileBoundingBox = s.newMobileBoundingBox;
  r.m_nMobileFormat = s.newMobileFormat;
  r.m_nMobileOrientation = s.newMobileOrientation;
  r.m_nExcludeMobileFolder = 1;
  r.m_nThumbnailsSaveToLocation = 0;
  r.m_nThumbnailsExternalIncludeTitle = 0;
  r.m_nMobileSaveToLocation = 0;
  r.m_nMobileExternalIncludeTitle = 0;
  return r;
}

std::string DefaultSaveTo(const SettingsValues& settings, std::string_view title) {
  if (settings.useProjectNameForSaveTo == 0 || Trim(title).empty()) {
    return NormalizeFolderPath(settings.defaultSaveTo, TrailingSlash::Remove);
  }
  return JoinFolder(settings.defaultSaveTo, Trim(title));
}

std::string DefaultNamePrefix(std::string_view title) {
  return ReplacedAll(title, " ", "_") + "_";
}

void CompleteNewProject(CProjectsRecord& record, const SettingsValues& s) {
  if (record.m_lpszThumbnailSaveTo.empty()) {
    record.m_lpszThumbnailSaveTo =
        DerivedFolder(record, s.newThumbnailsSaveToLocation, s.newThumbnailsExternalSaveTo,
                      s.newThumbnailsExternalIncludeTitle, s.thumbnailsFolderName);
  }
  if (record.m_lpszMobileSaveTo.empty()) {
    record.m_lpszMobileSaveTo =
        DerivedFolder(record, s.newMobileSaveToLocation, s.newMobileExternalSaveTo,
                      s.newMobileExternalIncludeTitle, s.mobileFolderName);
  }
  if (record.m_lpszNamePrefix.empty())
    record.m_lpszNamePrefix = DefaultNamePrefix(record.m_lpszTitle);
}

}  // namespace trawlix
