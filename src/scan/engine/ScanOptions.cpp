#include "scan/engine/ScanOptions.h"

namespace trawlix {

ScanOptions ScanOptionsFromSettings(const Settings& settings) {
  const SettingsValues& v = settings.Values();
  ScanOptions o;
  o.tempFolder = settings.Paths().tempFolder;
  o.databasePath = settings.Paths().databasePath;
  o.web.userAgent = v.userAgent;
  o.web.connectTimeoutSeconds = v.connectionTimeout;
  o.web.noCache = v.noCachePhotos;
  o.priority = v.scanPriority;
  o.jpegQuality = v.jpegQuality;
  o.setResolution = v.setPhotoDpi;
  o.dpi = v.photoDpi;
  o.duplicates = v.duplicateNameAction >= 0 && v.duplicateNameAction <= 3
                     ? static_cast<DuplicateHandling>(v.duplicateNameAction)
                     : DuplicateHandling::Skip;
  o.onlySuccessfulScansInHistory = v.historyOnlySuccessfulScans;
  o.filesToIgnore = v.filesToIgnore;
  o.showResults = v.displayScanResults;
  o.autoFollow = v.autoFollow;
  return o;
}

}  // namespace trawlix
