#pragma once

#include <cstdint>
#include <string>

namespace trawlix {

// Every value stored in the settings file, in file order, with the defaults of a new file.
// The default 'Save To' folder and the resolution depend on the machine and are filled in
// by Settings::ResetToDefaults. Flags are stored as 0 or 1.
struct SettingsValues {
  static constexpr std::int32_t kCurrentVersion = 18;

  std::int32_t version = kCurrentVersion;  // 18: the two trailing values follow
  std::string fileName = "Settings_v2.0.txdat";
  std::int32_t panelColor = 0xEBEBEB;  // photo panels, RGB(235, 235, 235)
  std::int32_t reserved4 = 0;
  bool customUserAgent = false;  // userAgent was typed in
  std::string userAgent = "Googlebot-Image/1.0";
  std::int32_t scanPriority = 0;  // -2, -1, 0, 1, 2 or 15
  std::int32_t thumbnailView = 3;
  bool showTooltips = true;
  std::int32_t reserved10 = 0;
  bool confirmDeletePhotos = true;
  std::int32_t clearedByOptions12 = 0;  // set to 0 when the options are confirmed
  std::string startupCategory = "All";
  std::string newProjectCategory = "Miscellaneous";
  std::int64_t reserved64 = 0;  // kept as read
  bool confirmDeleteHistory = true;
  bool reloadViewerAfterChanges = true;
  bool chooserIncludeSubFolders = true;
  std::string defaultSaveTo;  // the pictures folder
  bool useProjectNameForSaveTo = true;
  bool autoCreateFolders = true;
  bool confirmDeleteProjects = true;
  std::string thumbnailsFolderName = "Thumbs";
  std::string mobileFolderName = "Mobile";
  std::int32_t jpegQuality = 95;  // 1 to 100
  std::int32_t reserved26 = 1;
  std::int32_t clearedByOptions27 = 1;
  std::int32_t clearedByOptions28 = 1;
  bool noCachePhotos = true;  // always fetch fresh copies

  // Defaults of a new project (Projects columns of the same name).
  bool newJPEG = true;
  bool newPNG = false;
  bool newGIF = false;
  bool newBMP = false;
  bool newTIF = false;
  bool newCreateFolders = false;
  bool newSearchSubFolders = true;
  std::int32_t newMinimumSize = 350;
  bool newAutoRename = true;
  bool newIncludePhotoSize = false;
  bool newPadNumbers = true;
  std::int32_t newPadding = 3;
  bool newAutoResize = false;
  std::int32_t newResizeBoundingBox = 1024;
  bool newAutoConvert = false;
  std::int32_t newConvertToFormat = 0;
  bool newAutoCreateThumbnails = false;
  std::int32_t newThumbnailBoundingBox = 256;
  std::int32_t newThumbnailFormat = 0;
  bool newAutoCreateMobile = false;
  std::int32_t newMobileBoundingBox = 480;
  std::int32_t newMobileFormat = 2;
  std::int32_t newOrientation = 0;

  bool displayScanResults = true;
  bool restoreWindowAfterScan = true;
  bool confirmExitWhileScanning = true;
  std::int32_t connectionTimeout = 4;  // seconds
  bool historyOnlySuccessfulScans = false;
  std::string reserved58;
  std::string reserved59;
  bool autoFollow = true;
  bool confirmDeleteProjectLinks = true;
  std::string exporterName;
  std::string exporterEmail;
  std::string exporterWebsite;
  bool exportIncludeInfo = false;
  bool exportIncludeCategory = true;
  std::int32_t exportOption67 = 1;
  std::string importCategory = "Imported Projects";
  bool pasteAndGo = false;  // paste the URL and start at once
  std::string filesToIgnore = "bnsftr.jpg, mag_thumb.jpg, _mag_cover.jpg";
  bool twoPassScanning = false;
  bool setPhotoDpi = true;
  std::int32_t photoDpi = 96;  // the screen's horizontal resolution
  bool importUseProjectCategory = false;
  std::int32_t importDuplicateAction = 3;  // 2: merge the links, 3: skip
  bool exportUseLogo = false;
  std::int32_t viewerDoubleClick = 0;  // 0 and 1: open or edit the photo
  std::int32_t newThumbnailOrientation = 0;
  std::int32_t newThumbnailsSaveToLocation = 0;  // 0: sub-folder, 1: external folder
  std::string newThumbnailsExternalSaveTo;
  bool newThumbnailsExternalIncludeTitle = true;
  std::int32_t newMobileOrientation = 0;
  std::int32_t newMobileSaveToLocation = 0;
  std::string newMobileExternalSaveTo;
  bool newMobileExternalIncludeTitle = true;
  bool deleteDerivedOnRescan = false;    // thumbnails and mobile photos
  std::int32_t duplicateNameAction = 0;  // 0 skip, 1 rename, 2 overwrite, 3 if larger
  bool rememberLastProject = false;
  std::int32_t windowLeft = -1;
  std::int32_t windowTop = -1;
  bool viewerDropShadow = false;
  std::int32_t reserved92 = 0;
  std::int32_t windowWidth = 793;
  std::int32_t windowHeight = 606;
  // Present only in version 18 files.
  bool newFilterMinimumSize = true;
  std::int32_t PhotoTransformBehavior = 0;  // 1: replace the photo, 0: create a new one

  bool operator==(const SettingsValues&) const = default;
};

// Visits every stored value in file order; `archive` offers Int, Int64, Flag and String. The two
// trailing values are visited only when the version (as read so far) asks for them.
template <typename Archive>
void VisitSettings(SettingsValues& v, Archive& archive) {
  archive.Int(v.version);
  archive.String(v.fileName);
  archive.Int(v.panelColor);
  archive.Int(v.reserved4);
  archive.Flag(v.customUserAgent);
  archive.String(v.userAgent);
  archive.Int(v.scanPriority);
  archive.Int(v.thumbnailView);
  archive.Flag(v.showTooltips);
  archive.Int(v.reserved10);
  archive.Flag(v.confirmDeletePhotos);
  archive.Int(v.clearedByOptions12);
  archive.String(v.startupCategory);
  archive.String(v.newProjectCategory);
  archive.Int64(v.reserved64);
  archive.Flag(v.confirmDeleteHistory);
  archive.Flag(v.reloadViewerAfterChanges);
  archive.Flag(v.chooserIncludeSubFolders);
  archive.String(v.defaultSaveTo);
  archive.Flag(v.useProjectNameForSaveTo);
  archive.Flag(v.autoCreateFolders);
  archive.Flag(v.confirmDeleteProjects);
  archive.String(v.thumbnailsFolderName);
  archive.String(v.mobileFolderName);
  archive.Int(v.jpegQuality);
  archive.Int(v.reserved26);
  archive.Int(v.clearedByOptions27);
  archive.Int(v.clearedByOptions28);
  archive.Flag(v.noCachePhotos);
  archive.Flag(v.newJPEG);
  archive.Flag(v.newPNG);
  archive.Flag(v.newGIF);
  archive.Flag(v.newBMP);
  archive.Flag(v.newTIF);
  archive.Flag(v.newCreateFolders);
  archive.Flag(v.newSearchSubFolders);
  archive.Int(v.newMinimumSize);
  archive.Flag(v.newAutoRename);
  archive.Flag(v.newIncludePhotoSize);
  archive.Flag(v.newPadNumbers);
  archive.Int(v.newPadding);
  archive.Flag(v.newAutoResize);
  archive.Int(v.newResizeBoundingBox);
  archive.Flag(v.newAutoConvert);
  archive.Int(v.newConvertToFormat);
  archive.Flag(v.newAutoCreateThumbnails);
  archive.Int(v.newThumbnailBoundingBox);
  archive.Int(v.newThumbnailFormat);
  archive.Flag(v.newAutoCreateMobile);
  archive.Int(v.newMobileBoundingBox);
  archive.Int(v.newMobileFormat);
  archive.Int(v.newOrientation);
  archive.Flag(v.displayScanResults);
  archive.Flag(v.restoreWindowAfterScan);
  archive.Flag(v.confirmExitWhileScanning);
  archive.Int(v.connectionTimeout);
  archive.Flag(v.historyOnlySuccessfulScans);
  archive.String(v.reserved58);
  archive.String(v.reserved59);
  archive.Flag(v.autoFollow);
  archive.Flag(v.confirmDeleteProjectLinks);
  archive.String(v.exporterName);
  archive.String(v.exporterEmail);
  archive.String(v.exporterWebsite);
  archive.Flag(v.exportIncludeInfo);
  archive.Flag(v.exportIncludeCategory);
  archive.Int(v.exportOption67);
  archive.String(v.importCategory);
  archive.Flag(v.pasteAndGo);
  archive.String(v.filesToIgnore);
  archive.Flag(v.twoPassScanning);
  archive.Flag(v.setPhotoDpi);
  archive.Int(v.photoDpi);
  archive.Flag(v.importUseProjectCategory);
  archive.Int(v.importDuplicateAction);
  archive.Flag(v.exportUseLogo);
  archive.Int(v.viewerDoubleClick);
  archive.Int(v.newThumbnailOrientation);
  archive.Int(v.newThumbnailsSaveToLocation);
  archive.String(v.newThumbnailsExternalSaveTo);
  archive.Flag(v.newThumbnailsExternalIncludeTitle);
  archive.Int(v.newMobileOrientation);
  archive.Int(v.newMobileSaveToLocation);
  archive.String(v.newMobileExternalSaveTo);
  archive.Flag(v.newMobileExternalIncludeTitle);
  archive.Flag(v.deleteDerivedOnRescan);
  archive.Int(v.duplicateNameAction);
  archive.Flag(v.rememberLastProject);
  archive.Int(v.windowLeft);
  archive.Int(v.windowTop);
  archive.Flag(v.viewerDropShadow);
  archive.Int(v.reserved92);
  archive.Int(v.windowWidth);
  archive.Int(v.windowHeight);
  if (v.version == SettingsValues::kCurrentVersion) {
    archive.Flag(v.newFilterMinimumSize);
    archive.Int(v.PhotoTransformBehavior);
  }
}

}  // namespace trawlix
