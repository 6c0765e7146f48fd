#include "operations/DataSession.h"

#include <filesystem>

#include "platform/DataFolderLayout.h"
#include "platform/UserFolders.h"
#include "storage/Database.h"
#include "storage/DatabaseSeed.h"

namespace trawlix {

std::string DamagedDatabaseText(const std::string& path, const std::string& reason) {
  return "The project database " + path + " cannot be read: " + reason +
         ".\n\nTrawlix() PRO leaves the file as it is. Restore it from a backup, or move it "
         "to another folder (or rename it) and start again with a new, empty database.";
}

std::unique_ptr<DataSession> DataSession::Open(const std::string& dataDir, MessageSink& messages,
                                               std::string& error, std::optional<int> screenDpi) {
  std::error_code ignored;
  DataFolderLayout layout = dataDir.empty()
                                ? DataFolderLayout::ForUser()
                                : DataFolderLayout(std::filesystem::absolute(dataDir, ignored));
  const DataFolderStatus status = SetUpDataFolder(layout);
  if (!status.ready) {
    error = "the data folder " + layout.dataFolder + " could not be created";
    return nullptr;
  }
  if (!status.newDatabase) {
    if (const std::string reason = DatabaseReadProblem(layout.databasePath); !reason.empty()) {
      error = DamagedDatabaseText(layout.databasePath, reason);
      return nullptr;
    }
  }
  Settings settings(layout);
  if (screenDpi && *screenDpi > 0) settings.SetScreenDpi(*screenDpi);
  settings.LoadSettings(messages);
  if (status.newDatabase && !SeedNewDatabase(layout.databasePath, messages, PicturesFolder())) {
    error = "the new database " + layout.databasePath + " could not be set up";
    return nullptr;
  }
  return std::unique_ptr<DataSession>(
      new DataSession(std::move(settings), messages, status.newDatabase));
}

}  // namespace trawlix
