#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "scan/engine/LinkLists.h"
#include "storage/RememberedData.h"

namespace trawlix {

// What the project's scans fetched, for the scan that runs now: photos already saved from an
// address, pages with their validators and links, photos by their content. What this scan
// fetches is added as it goes: at once to a journal file, which a process killed mid-scan
// leaves behind, and about once a second to the database in one transaction. Engine thread
// only. When the database cannot be used the memory stays empty and the scan goes on as if
// nothing had been fetched before.
class ScanMemory {
 public:
  ScanMemory(std::string databasePath, int projectId, std::string scanGuid);
  ~ScanMemory();
  ScanMemory(const ScanMemory&) = delete;
  ScanMemory& operator=(const ScanMemory&) = delete;

  // Takes in a journal left by a run that did not end, then reads what is remembered.
  void Load();

  // False until loaded, and when the database could not be used.
  bool Active() const { return data_ != nullptr; }
  const std::string& ScanGuid() const { return scanGuid_; }
  const RememberedPhoto* Photo(const std::string& url) const;
  const RememberedPage* Page(const std::string& url) const;
  std::optional<std::string> PageLinks(const std::string& url);
  // A photo saved with these bytes that is still where it was stored.
  const RememberedPhoto* SameContent(const std::string& hash) const;

  void Remember(RememberedPhoto photo);
  void Remember(RememberedPage page);
  // Writes what was added to the database: at most once a second unless `now`.
  void Flush(bool now);

  // Where the journal of a project's scan is kept: beside the database.
  static std::string JournalPath(const std::string& databasePath, int projectId);

 private:
  void TakeInJournal();
  void Journal(const std::string& record);

  const std::string databasePath_;
  const int projectId_;
  const std::string scanGuid_;
  std::unique_ptr<RememberedData> data_;
  std::map<std::string, RememberedPhoto, LessNoCase> photos_;
  std::map<std::string, RememberedPage, LessNoCase> pages_;
  std::map<std::string, std::string> savedByHash_;  // hash -> url of a saved photo
  std::vector<RememberedPhoto> newPhotos_;
  std::vector<RememberedPage> newPages_;
  int journal_ = -1;
  std::chrono::steady_clock::time_point lastFlush_{};
};

}  // namespace trawlix
