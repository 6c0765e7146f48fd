#pragma once

#include <optional>
#include <string>

namespace trawlix {

// An exclusive hold on a folder among processes of this program: a lock file named after
// the folder, kept in `lockFolder`, locked as long as the object lives. Lock files of
// ended processes lock nothing.
class FolderLock {
 public:
  // Empty when another process holds the folder or no lock file could be made. The folder
  // is known as the file system resolves it, however it is spelt.
  static std::optional<FolderLock> Take(const std::string& lockFolder, const std::string& folder);
  // The hold on a project's Save To folder that scans and the batch tools share, kept in the
  // data folder's Temp folder: either would otherwise write over what the other saves.
  static std::optional<FolderLock> TakeSaveTo(const std::string& tempFolder,
                                              const std::string& saveTo);

  FolderLock(FolderLock&& other) noexcept;
  FolderLock& operator=(FolderLock&& other) noexcept;
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  ~FolderLock();

 private:
  explicit FolderLock(int fd) : fd_(fd) {}
  int fd_ = -1;
};

}  // namespace trawlix
