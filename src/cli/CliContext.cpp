#include "cli/CliContext.h"

#include <filesystem>

#include "cli/CommandRegistry.h"
#include "platform/DataFolderLayout.h"
#include "platform/UserFolders.h"
#include "storage/DatabaseSeed.h"

namespace trawlix::cli {

bool CliContext::OpenData() {
  if (settings_) return true;
  std::error_code error;
  DataFolderLayout layout = dataDir_.empty()
                                ? DataFolderLayout::ForUser()
                                : DataFolderLayout(std::filesystem::absolute(dataDir_, error));
  const DataFolderStatus status = SetUpDataFolder(layout);
  if (!status.ready) {
    Fail("the data folder " + layout.dataFolder + " could not be created");
    return false;
  }
  CXSettings settings(layout);
  settings.LoadSettings(messages_);
  if (status.newDatabase && !SeedNewDatabase(layout.databasePath, messages_, PicturesFolder())) {
    Fail("the new database " + layout.databasePath + " could not be set up");
    return false;
  }
  settings_.emplace(std::move(settings));
  return true;
}

int CliContext::Fail(const std::string& text) {
  err_ << "trawlix-cli: " << text << '\n';
  return kExitFailure;
}

}  // namespace trawlix::cli
