#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/MessageBox.h"
#include "exchange/ExchangeRecords.h"

namespace trawlix {
class Settings;
}

namespace trawlix::exchange {

struct ExportRequest {
  std::vector<int> projectIds;  // in export order
  std::string target;           // the .txexport file to write
  std::string description;
  // Without it the name, e-mail address and website stay empty in the file.
  bool includeMyInfo = false;
  std::string name;
  std::string emailAddress;
  std::string website;
  std::string photoPath;  // picture for the sample photo; empty for none
  // Without it the projects' category names stay empty in the file.
  bool includeCategory = true;
};

// What the export dialogs start with: the exporter's details, the include check box and
// the default logo when the settings ask for it.
ExportRequest ExportRequestFromSettings(const Settings& settings);

struct ExportResult {
  bool ok = false;
  std::string message;  // the outcome for the user

  // The outcome as a message box: information on success, a warning on failure.
  MessageRequest Box() const;
};

// Called before each project is written: its position (from 0) and title.
using ExportProgress = std::function<void(std::size_t index, const std::string& title)>;

// The export date as the file stores it, "%A, %B %d, %Y" in English whatever the locale.
std::string ExportDateText(std::time_t when);

// Writes exchange files from the project database.
class ProjectExporter {
 public:
  ProjectExporter(std::string databasePath, std::string tempFolder, MessageSink& messages);

  // Writes the file. Database errors are shown on the way; the outcome is returned for
  // the caller to show (ExportResult::Box) or print.
  ExportResult Export(const ExportRequest& request, const ExportProgress& progress = {});

  // The record of one project with its links as the file holds it; nothing when the
  // project does not exist or the database cannot be read.
  std::optional<ImportedProject> LoadProject(int projectId, bool withCategory);

 private:
  std::string MakeSamplePhoto(const std::string& photoPath);

  std::string databasePath_;
  std::string tempFolder_;
  MessageSink& messages_;
};

}  // namespace trawlix::exchange
