#pragma once

#include <cstdint>
#include <string>

namespace trawlix {

// Every value stored in the settings file, in file order, with the defaults of a new file.
// The default 'Save To' folder and the resolution depend on the machine and are filled in
// by Settings::ResetToDefaults. Flags are 0 or 1.
struct SettingsValues {
  static constexpr std::int32_t kCurrentVersion = 18;

  std::int32_t version = kCurrentVersion;  // 18: the two trailing values follow
  std::string fileName = "Settings_v2.0.txdat";
  std::int32_t panelColor = 0xEBEBEB;  // photo panels, RGB(235, 235, 235)
  std::int32_t reserved4 = 0;
  std::int32_t customUserAgent = 0;  // 1: userAgent was typed in
  std::string userAgent = "Googlebot-Image/1.0";
  std::int32_t scanPriority = 0;  // -2, -1, 0, 1, 2 or 15
  std::int32_t thumbnailView = 3;
  std::int32_t showTooltips = 1;
  std::int32_t reserved10 = 0;
  std::int32_t confirmDeletePhotos = 1;
  std::int32_t clearedByOptions12 = 0;  // set to 0 when the options are confirmed
  std::string startupCategory = "All";
  std::string newProjectCategory = "Miscellaneous";
  std::int64_t reserved64 = 0;  // kept as read
  std::int32_t confirmDeleteHistory = 1;
  std::int32_t reloadViewerAfterChanges = 1;
  std::int32_t chooserIncludeSubFolders = 1;
  std::string defaultSaveTo;  // the pictures folder
  std::int32_t useProjectNameForSaveTo = 1;
  std::int32_t autoCreateFolders = 1;
  std::int32_t confirmDeleteProjects = 1;
  std::string thumbnailsFolderName = "Thumbs";
  std::string mobileFolderName = "Mobile";
  std::int32_t jpegQuality = 95;  // 1 to 100
  std::int32_t reserved26 = 1;
  std::int32_t clearedByOptions27 = 1;
  std::int32_t clearedByOptions28 = 1;
  std::int32_t noCachePhotos = 1;  // always fetch fresh copies

  // Defaults of a new project (Projects columns of the same name).
  std::int32_t newJPEG = 1;
  std::int32_t newPNG = 0;
  std::int32_t newGIF = 0;
  std::int32_t newBMP = 0;
  std::int32_t newTIF = 0;
  std::int32_t newCreateFolders = 0;
  std::int32_t newSearchSubFolders = 1;
  std::int32_t newMinimumSize = 350;
  std::int32_t newAutoRename = 1;
  std::int32_t newIncludePhotoSize = 0;
  std::int32_t newPadNumbers = 1;
  std::int32_t newPadding = 3;
  std::int32_t newAutoResize = 0;
  std::int32_t newResizeBoundingBox = 1024;
  std::int32_t newAutoConvert = 0;
  std::int32_t newConvertToFormat = 0;
  std::int32_t newAutoCreateThumbnails = 0;
  std::int32_t newThumbnailBoundingBox = 256;
  std::int32_t newThumbnailFormat = 0;
  std::int32_t newAutoCreateMobile = 0;
  std::int32_t newMobileBoundingBox = 480;
  std::int32_t newMobileFormat = 2;
  std::int32_t newOrientation = 0;

  std::int32_t displayScanResults = 1;
  std::int32_t restoreWindowAfterScan = 1;
  std::int32_t confirmExitWhileScanning = 1;
  std::int32_t connectionTimeout = 4;  // seconds
  std::int32_t historyOnlySuccessfulScans = 0;
  std::string reserved58;
  std::string reserved59;
  std::int32_t autoFollow = 1;
  std::int32_t confirmDeleteProjectLinks = 1;
  std::string exporterName;
  std::string exporterEmail;
  std::string exporterWebsite;
  std::int32_t exportIncludeInfo = 0;
  std::int32_t exportIncludeCategory = 1;
  std::int32_t exportOption67 = 1;
  std::string importCategory = "Imported Projects";
  std::int32_t pasteAndGo = 0;  // 1: paste the URL and start at once
  std::string filesToIgnore = "bnsftr.jpg, mag_thumb.jpg, _mag_cover.jpg";
  std::int32_t twoPassScanning = 0;
  std::int32_t setPhotoDpi = 1;
  std::int32_t photoDpi = 96;  // the screen's horizontal resolution
  std::int32_t importUseProjectCategory = 0;
  std::int32_t importDuplicateAction = 3;  // 2: merge the links, 3: skip
  std::int32_t exportUseLogo = 0;
  std::int32_t viewerDoubleClick = 0;  // 0 and 1: open or edit the photo
  std::int32_t newThumbnailOrientation = 0;
  std::int32_t newThumbnailsSaveToLocation = 0;  // 0: sub-folder, 1: external folder
  std::string newThumbnailsExternalSaveTo;
  std::int32_t newThumbnailsExternalIncludeTitle = 1;
  std::int32_t newMobileOrientation = 0;
  std::int32_t newMobileSaveToLocation = 0;
  std::string newMobileExternalSaveTo;
  std::int32_t newMobileExternalIncludeTitle = 1;
  std::int32_t deleteDerivedOnRescan = 0;  // thumbnails and mobile photos
  std::int32_t duplicateNameAction = 0;    // 0 skip, 1 rename, 2 overwrite, 3 if larger
  std::int32_t rememberLastProject = 0;
  std::int32_t windowLeft = -1;
  std::int32_t windowTop = -1;
  std::int32_t viewerDropShadow = 0;
  std::int32_t reserved92 = 0;
  std::int32_t windowWidth = 793;
  std::int32_t windowHeight = 606;
  // Present only in version 18 files.
  std::int32_t newFilterMinimumSize = 1;
  std::int32_t PhotoTransformBehavior = 0;  // 1: replace the photo, 0: create a new one

  bool operator==(const SettingsValues&) const = default;
};

// Visits every stored value in file order; `archive` offers Int, Int64 and String. The two
// trailing values are visited only when the version (as read so far) asks for them.
template <typename Archive>
void VisitSettings(SettingsValues& v, Archive& archive) {
  archive.Int(v.version);
  archive.String(v.fileName);
  archive.Int(v.panelColor);
  archive.Int(v.reserved4);
  archive.Int(v.customUserAgent);
  archive.String(v.userAgent);
  archive.Int(v.scanPriority);
  archive.Int(v.thumbnailView);
  archive.Int(v.showTooltips);
  archive.Int(v.reserved10);
  archive.Int(v.confirmDeletePhotos);
  archive.Int(v.clearedByOptions12);
  archive.String(v.startupCategory);
  archive.String(v.newProjectCategory);
  archive.Int64(v.reserved64);
  archive.Int(v.confirmDeleteHistory);
  archive.Int(v.reloadViewerAfterChanges);
  archive.Int(v.chooserIncludeSubFolders);
  archive.String(v.defaultSaveTo);
  archive.Int(v.useProjectNameForSaveTo);
  archive.Int(v.autoCreateFolders);
  archive.Int(v.confirmDeleteProjects);
  archive.String(v.thumbnailsFolderName);
  archive.String(v.mobileFolderName);
  archive.Int(v.jpegQuality);
  archive.Int(v.reserved26);
  archive.Int(v.clearedByOptions27);
  archive.Int(v.clearedByOptions28);
  archive.Int(v.noCachePhotos);
  archive.Int(v.newJPEG);
  archive.Int(v.newPNG);
  archive.Int(v.newGIF);
  archive.Int(v.newBMP);
  archive.Int(v.newTIF);
  archive.Int(v.newCreateFolders);
  archive.Int(v.newSearchSubFolders);
  archive.Int(v.newMinimumSize);
  archive.Int(v.newAutoRename);
  archive.Int(v.newIncludePhotoSize);
  archive.Int(v.newPadNumbers);
  archive.Int(v.newPadding);
  archive.Int(v.newAutoResize);
  archive.Int(v.newResizeBoundingBox);
  archive.Int(v.newAutoConvert);
  archive.Int(v.newConvertToFormat);
  archive.Int(v.newAutoCreateThumbnails);
  archive.Int(v.newThumbnailBoundingBox);
  archive.Int(v.newThumbnailFormat);
  archive.Int(v.newAutoCreateMobile);
  archive.Int(v.newMobileBoundingBox);
  archive.Int(v.newMobileFormat);
  archive.Int(v.newOrientation);
  archive.Int(v.displayScanResults);
  archive.Int(v.restoreWindowAfterScan);
  archive.Int(v.confirmExitWhileScanning);
  archive.Int(v.connectionTimeout);
  archive.Int(v.historyOnlySuccessfulScans);
  archive.String(v.reserved58);
  archive.String(v.reserved59);
  archive.Int(v.autoFollow);
  archive.Int(v.confirmDeleteProjectLinks);
  archive.String(v.exporterName);
  archive.String(v.exporterEmail);
  archive.String(v.exporterWebsite);
  archive.Int(v.exportIncludeInfo);
  archive.Int(v.exportIncludeCategory);
  archive.Int(v.exportOption67);
  archive.String(v.importCategory);
  archive.Int(v.pasteAndGo);
  archive.String(v.filesToIgnore);
  archive.Int(v.twoPassScanning);
  archive.Int(v.setPhotoDpi);
  archive.Int(v.photoDpi);
  archive.Int(v.importUseProjectCategory);
  archive.Int(v.importDuplicateAction);
  archive.Int(v.exportUseLogo);
  archive.Int(v.viewerDoubleClick);
  archive.Int(v.newThumbnailOrientation);
  archive.Int(v.newThumbnailsSaveToLocation);
  archive.String(v.newThumbnailsExternalSaveTo);
  archive.Int(v.newThumbnailsExternalIncludeTitle);
  archive.Int(v.newMobileOrientation);
  archive.Int(v.newMobileSaveToLocation);
  archive.String(v.newMobileExternalSaveTo);
  archive.Int(v.newMobileExternalIncludeTitle);
  archive.Int(v.deleteDerivedOnRescan);
  archive.Int(v.duplicateNameAction);
  archive.Int(v.rememberLastProject);
  archive.Int(v.windowLeft);
  archive.Int(v.windowTop);
  archive.Int(v.viewerDropShadow);
  archive.Int(v.reserved92);
  archive.Int(v.windowWidth);
  archive.Int(v.windowHeight);
  if (v.version == SettingsValues::kCurrentVersion) {
    archive.Int(v.newFilterMinimumSize);
    archive.Int(v.PhotoTransformBehavior);
  }
}

}  // namespace trawlix
