#pragma once

#include <string>

namespace trawlix {

// One row of the Projects table. A cleared record has every integer -1, every flag off and
// every text empty; Id -1 marks a record that was never stored.
struct ProjectsRecord {
  int id = -1;
  int catId = -1;
  std::string title;
  std::string url;
  std::string saveTo;
  bool jpeg = false;
  bool png = false;
  bool gif = false;
  bool bmp = false;
  bool ico = false;
  bool createFolders = false;
  bool searchSubFolders = false;
  std::string keywords;
  bool filterMinimumSize = false;
  int minimumSize = -1;
  bool autoRename = false;
  bool includePhotoSize = false;
  bool replaceSpaces = false;
  bool padNumbers = false;
  int padding = -1;
  std::string namePrefix;
  bool autoResize = false;
  int resizeBoundingBox = -1;
  bool autoConvert = false;
  int convertToFormat = -1;
  bool autoCreateThumbnails = false;
  int thumbnailBoundingBox = -1;
  int thumbnailFormat = -1;
  std::string thumbnailSaveTo;
  bool excludeThumbnailFolder = false;
  bool autoCreateMobile = false;
  int mobileBoundingBox = -1;
  int mobileFormat = -1;
  std::string mobileSaveTo;
  bool excludeMobileFolder = false;
  bool keywordMustExist = false;
  int thumbnailOrientation = -1;
  int mobileOrientation = -1;
  bool tif = false;
  int orientation = -1;
  int thumbnailsSaveToLocation = -1;
  std::string thumbnailsLocalSaveTo;
  std::string thumbnailsExternalSaveTo;
  bool thumbnailsExternalIncludeTitle = false;
  int mobileSaveToLocation = -1;
  std::string mobileLocalSaveTo;
  std::string mobileExternalSaveTo;
  bool mobileExternalIncludeTitle = false;

  bool operator==(const ProjectsRecord&) const = default;
};

inline void ClearRecord(ProjectsRecord& record) {
  record = ProjectsRecord{};
}

// Save-location codes of the thumbnail and mobile folders.
inline constexpr int kSaveToSubFolder = 0;
inline constexpr int kSaveToExternalFolder = 1;

}  // namespace trawlix
