#pragma once

#include <string>

#include "scan/TransferPool.h"
#include "settings/Settings.h"

namespace trawlix {

// How a photo whose file name is already taken is handled (AutoRename off).
enum class DuplicateHandling : int { Skip = 0, Rename = 1, Overwrite = 2, OverwriteIfLarger = 3 };

// The options a scan reads, taken from the settings once when it starts, so that the
// workers read a copy nobody changes while they run.
struct ScanOptions {
  std::string tempFolder;
  std::string databasePath;
  WebFileOptions web;
  int priority = 0;  // -2 lowest .. 2 higher, 15 time critical
  int jpegQuality = 95;
  bool setResolution = true;
  int dpi = 96;
  DuplicateHandling duplicates = DuplicateHandling::Skip;
  bool onlySuccessfulScansInHistory = false;
  std::string filesToIgnore = "bnsftr.jpg, mag_thumb.jpg, _mag_cover.jpg";
  bool showResults = true;
  bool autoFollow = true;
};

ScanOptions ScanOptionsFromSettings(const CXSettings& settings);

}  // namespace trawlix
