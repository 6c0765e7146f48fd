#pragma once

#include <gtest/gtest.h>

#include <string>

#include "storage/ProjectsRecord.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

namespace trawlix::testing {

// A fresh database path and a recording message sink for each test.
class TableTest : public ::testing::Test {
 protected:
  std::string DbPath() const { return (dir / "Projects_v2.4.txdb").string(); }

  // A project with every column set to something distinct.
  static CProjectsRecord SampleProject(const std::string& title, int categoryId = 1) {
    CProjectsRecord r;
    r.m_nCatId = categoryId;
    r.m_lpszTitle = title;
    r.m_lpszURL = "http://www.example.com/gallery-1/index.php?a=1&b=2";
    r.m_lpszSaveTo = "/home/user/Pictures/" + title;
    r.m_nJPEG = 1;
    r.m_nPNG = 0;
    r.m_nGIF = 1;
    r.m_nBMP = 0;
    r.m_nICO = 0;
    r.m_nCreateFolders = 1;
    r.m_nSearchSubFolders = 1;
    r.m_lpszKeywords = "beach, sunset & sea";
    r.m_nFilterMinimumSize = 1;
    r.m_nMinimumSize = 350;
    r.m_nAutoRename = 1;
    r.m_nIncludePhotoSize = 0;
    r.m_nReplaceSpaces = 0;
    r.m_nPadNumbers = 1;
    r.m_nPadding = 3;
    r.m_lpszNamePrefix = "it's_";
    r.m_nAutoResize = 1;
    r.m_nResizeBoundingBox = 1600;
    r.m_nAutoConvert = 0;
    r.m_nConvertToFormat = 2;
    r.m_nAutoCreateThumbnails = 1;
    r.m_nThumbnailBoundingBox = 256;
    r.m_nThumbnailFormat = 4;
    r.m_lpszThumbnailSaveTo = r.m_lpszSaveTo + "/Thumbnails";
    r.m_nExcludeThumbnailFolder = 1;
    r.m_nAutoCreateMobile = 1;
    r.m_nMobileBoundingBox = 480;
    r.m_nMobileFormat = 3;
    r.m_lpszMobileSaveTo = r.m_lpszSaveTo + "/Mobile";
    r.m_nExcludeMobileFolder = 0;
    r.m_nKeywordMustExist = 1;
    r.m_nThumbnailOrientation = 1;
    r.m_nMobileOrientation = 2;
    r.m_nTIF = 1;
    r.m_nOrientation = 2;
    r.m_nThumbnailsSaveToLocation = 1;
    r.m_lpszThumbnailsLocalSaveTo = "thumbs (small)";
    r.m_lpszThumbnailsExternalSaveTo = "/mnt/ext/thumbs";
    r.m_nThumbnailsExternalIncludeTitle = 1;
    r.m_nMobileSaveToLocation = 0;
    r.m_lpszMobileLocalSaveTo = "mobile";
    r.m_lpszMobileExternalSaveTo = "/mnt/ext/mobile";
    r.m_nMobileExternalIncludeTitle = 0;
    return r;
  }

  TempDir dir;
  RecordingMessageSink messages;
};

}  // namespace trawlix::testing
