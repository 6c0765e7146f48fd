#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "scan/engine/LinkLists.h"
#include "storage/RememberedData.h"

namespace trawlix {

// What the project's scans fetched, for the scan that runs now: photos already saved from an
// address, pages with their validators and links, photos by their content. Looked up in the
// database one address at a time, so a project of any size costs the same memory. What this
// scan fetches is added as it goes: at once to a journal file, which a process killed
// mid-scan leaves behind, and about once a second to the database in one transaction; until
// then it is found here. Engine thread only. When the database cannot be used the memory
// stays empty and the scan goes on as if nothing had been fetched before.
class ScanMemory {
 public:
  ScanMemory(std::string databasePath, int projectId, std::string scanGuid);
  ~ScanMemory();
  ScanMemory(const ScanMemory&) = delete;
  ScanMemory& operator=(const ScanMemory&) = delete;

  // Takes in a journal left by a run that did not end, then opens what is remembered.
  void Load();

  // False until loaded, and when the database could not be used.
  bool Active() const { return data_ != nullptr; }
  const std::string& ScanGuid() const { return scanGuid_; }
  std::optional<RememberedPhoto> Photo(const std::string& url);
  // Without its links.
  std::optional<RememberedPage> Page(const std::string& url);
  std::optional<std::string> PageLinks(const std::string& url);
  // A photo saved with these bytes that is still where it was stored.
  std::optional<RememberedPhoto> SameContent(const std::string& hash);

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
  // Added by this scan and not yet written to the database.
  std::map<std::string, RememberedPhoto, LessNoCase> newPhotos_;
  std::map<std::string, RememberedPage, LessNoCase> newPages_;
  std::map<std::string, std::string> newByHash_;  // hash -> url of a photo saved
  // Pages looked up lately: the engine asks again for the pages it holds back.
  std::map<std::string, std::optional<RememberedPage>, LessNoCase> pageCache_;
  int journal_ = -1;
  std::chrono::steady_clock::time_point lastFlush_{};
};

}  // namespace trawlix
