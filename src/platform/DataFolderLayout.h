#pragma once

#include <string>

namespace trawlix {

// Every path of the per-user data folder, computed from the folder itself so that the
// command line's --data-dir and tests can place it anywhere.
struct DataFolderLayout {
  static constexpr const char* kFolderName = "My Trawlix() PRO";
  static constexpr const char* kDatabaseName = "Projects_v2.4.txdb";
  static constexpr const char* kSettingsName = "Settings_v2.0.txdat";

  // documents folder + "/My Trawlix() PRO".
  static DataFolderLayout ForUser();
  explicit DataFolderLayout(const std::string& dataFolder);

  std::string dataFolder;
  std::string wallpaperPath;    // "Wallpaper.bmp"
  std::string tempFolder;       // "Temp"
  std::string databasePath;     // "Projects_v2.4.txdb"
  std::string settingsPath;     // "Settings_v2.0.txdat"
  std::string tempExportPath;   // "Temp/__tempExport.txExport"
  std::string tempExportXml;    // "Temp/__tempExport.xml"
  std::string tempExportJpg;    // "Temp/__tempExport.jpg"
  std::string defaultLogoPath;  // "defaultLogo.jpg"
  std::string helpFilePath;     // program folder + "Trawlix.chm"
  std::string quickStartPath;   // program folder + "TXQuickStart.chm"
};

struct DataFolderStatus {
  bool ready = false;        // the data folder and its Temp folder exist
  bool newDatabase = false;  // the database file did not exist before
};

// Creates the data folder and its Temp folder when missing, notes whether the database
// is new and empties Temp of files (its sub-folders are kept). Failures are not reported
// beyond `ready`: the database and settings steps report their own errors.
DataFolderStatus SetUpDataFolder(const DataFolderLayout& layout);

// Deletes every file (and symbolic link) directly in the folder; sub-folders stay.
// Failures are ignored. Returns the number of entries deleted.
int EmptyFolderOfFiles(const std::string& folder);

}  // namespace trawlix
