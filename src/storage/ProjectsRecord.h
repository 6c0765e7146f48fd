#pragma once

#include <string>

namespace trawlix {

// One row of the Projects table. A cleared record has every integer -1 and every text
// empty; Id -1 marks a record that was never stored.
struct ProjectsRecord {
  int id = -1;
  int catId = -1;
  std::string title;
  std::string url;
  std::string saveTo;
  int jpeg = -1;
  int png = -1;
  int gif = -1;
  int bmp = -1;
  int ico = -1;
  int createFolders = -1;
  int searchSubFolders = -1;
  std::string keywords;
  int filterMinimumSize = -1;
  int minimumSize = -1;
  int autoRename = -1;
  int includePhotoSize = -1;
  int replaceSpaces = -1;
  int padNumbers = -1;
  int padding = -1;
  std::string namePrefix;
  int autoResize = -1;
  int resizeBoundingBox = -1;
  int autoConvert = -1;
  int convertToFormat = -1;
  int autoCreateThumbnails = -1;
  int thumbnailBoundingBox = -1;
  int thumbnailFormat = -1;
  std::string thumbnailSaveTo;
  int excludeThumbnailFolder = -1;
  int autoCreateMobile = -1;
  int mobileBoundingBox = -1;
  int mobileFormat = -1;
  std::string mobileSaveTo;
  int excludeMobileFolder = -1;
  int keywordMustExist = -1;
  int thumbnailOrientation = -1;
  int mobileOrientation = -1;
  int tif = -1;
  int orientation = -1;
  int thumbnailsSaveToLocation = -1;
  std::string thumbnailsLocalSaveTo;
  std::string thumbnailsExternalSaveTo;
  int thumbnailsExternalIncludeTitle = -1;
  int mobileSaveToLocation = -1;
  std::string mobileLocalSaveTo;
  std::string mobileExternalSaveTo;
  int mobileExternalIncludeTitle = -1;

  bool operator==(const ProjectsRecord&) const = default;
};

inline void ClearRecord(ProjectsRecord& record) {
  record = ProjectsRecord{};
}

// Save-location codes of the thumbnail and mobile folders.
inline constexpr int kSaveToSubFolder = 0;
inline constexpr int kSaveToExternalFolder = 1;

}  // namespace trawlix
