#include "platform/DataFolderLayout.h"

#include <filesystem>

#include "base/Path.h"
#include "platform/UserFolders.h"

namespace fs = std::filesystem;

namespace trawlix {

DataFolderLayout DataFolderLayout::ForUser() {
  return DataFolderLayout(DocumentsFolder() + "/" + kFolderName);
}

DataFolderLayout::DataFolderLayout(const std::string& folder)
    : dataFolder(NormalizeFolderPath(folder, TrailingSlash::Remove)) {
  wallpaperPath = dataFolder + "/Wallpaper.bmp";
  tempFolder = dataFolder + "/Temp";
  databasePath = dataFolder + "/" + kDatabaseName;
  settingsPath = dataFolder + "/" + kSettingsName;
  tempExportPath = tempFolder + "/__tempExport.txExport";
  tempExportXml = tempFolder + "/__tempExport.xml";
  tempExportJpg = tempFolder + "/__tempExport.jpg";
  defaultLogoPath = dataFolder + "/defaultLogo.jpg";
  const std::string programFolder = ProgramFolder();
  helpFilePath = programFolder + "Trawlix.chm";
  quickStartPath = programFolder + "TXQuickStart.chm";
}

DataFolderStatus SetUpDataFolder(const DataFolderLayout& layout) {
  std::error_code error;
  fs::create_directories(layout.tempFolder, error);
  DataFolderStatus status;
  status.ready = fs::is_directory(layout.tempFolder, error);
  status.newDatabase = !fs::exists(fs::symlink_status(layout.databasePath, error));
  EmptyFolderOfFiles(layout.tempFolder);
  return status;
}

int EmptyFolderOfFiles(const std::string& folder) {
  std::error_code error;
  fs::directory_iterator it(folder, error);
  if (error) return 0;
  int removed = 0;
  // Increment with an error code so that a folder that vanishes meanwhile cannot throw.
  for (; it != fs::directory_iterator(); it.increment(error)) {
    std::error_code entryError;
    const bool link = it->is_symlink(entryError);
    if (!link && it->is_directory(entryError)) continue;
    if (fs::remove(it->path(), entryError)) ++removed;
  }
  return removed;
}

}  // namespace trawlix
