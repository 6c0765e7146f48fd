#pragma once

#include <string>

namespace trawlix {

// One row of the Projects table. A cleared record has every integer -1 and every text
// empty; Id -1 marks a record that was never stored.
struct CProjectsRecord {
  int m_nId = -1;
  int m_nCatId = -1;
  std::string m_lpszTitle;
  std::string m_lpszURL;
  std::string m_lpszSaveTo;
  int m_nJPEG = -1;
  int m_nPNG = -1;
  int m_nGIF = -1;
  int m_nBMP = -1;
  int m_nICO = -1;
  int m_nCreateFolders = -1;
  int m_nSearchSubFolders = -1;
  std::string m_lpszKeywords;
  int m_nFilterMinimumSize = -1;
  int m_nMinimumSize = -1;
  int m_nAutoRename = -1;
  int m_nIncludePhotoSize = -1;
  int m_nReplaceSpaces = -1;
  int m_nPadNumbers = -1;
  int m_nPadding = -1;
  std::string m_lpszNamePrefix;
  int m_nAutoResize = -1;
  int m_nResizeBoundingBox = -1;
  int m_nAutoConvert = -1;
  int m_nConvertToFormat = -1;
  int m_nAutoCreateThumbnails = -1;
  int m_nThumbnailBoundingBox = -1;
  int m_nThumbnailFormat = -1;
  std::string m_lpszThumbnailSaveTo;
  int m_nExcludeThumbnailFolder = -1;
  int m_nAutoCreateMobile = -1;
  int m_nMobileBoundingBox = -1;
  int m_nMobileFormat = -1;
  std::string m_lpszMobileSaveTo;
  int m_nExcludeMobileFolder = -1;
  int m_nKeywordMustExist = -1;
  int m_nThumbnailOrientation = -1;
  int m_nMobileOrientation = -1;
  int m_nTIF = -1;
  int m_nOrientation = -1;
  int m_nThumbnailsSaveToLocation = -1;
  std::string m_lpszThumbnailsLocalSaveTo;
  std::string m_lpszThumbnailsExternalSaveTo;
  int m_nThumbnailsExternalIncludeTitle = -1;
  int m_nMobileSaveToLocation = -1;
  std::string m_lpszMobileLocalSaveTo;
  std::string m_lpszMobileExternalSaveTo;
  int m_nMobileExternalIncludeTitle = -1;

  bool operator==(const CProjectsRecord&) const = default;
};

inline void ClearRecord(CProjectsRecord& record) {
  record = CProjectsRecord{};
}

// Save-location codes of the thumbnail and mobile folders.
inline constexpr int kSaveToSubFolder = 0;
inline constexpr int kSaveToExternalFolder = 1;

}  // namespace trawlix
