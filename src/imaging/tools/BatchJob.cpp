#include "imaging/tools/BatchJob.h"

#include <fcntl.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

#include "base/Path.h"
#include "base/Text.h"
#include "imaging/tools/FileList.h"

namespace trawlix {

BatchJob::BatchJob(std::vector<std::string> photos) : photos_(std::move(photos)) {}

bool BatchJob::Step() {
  if (Done()) return false;
  const std::size_t index = next_;
  const std::string before = photos_[index];
  const bool handled = Handle(index);
  if (!handled) failures_.push_back(before);
  ++next_;
  return handled;
}

std::size_t RunBatchJob(BatchJob& job,
                        const std::function<void(std::size_t, const std::string&)>& progress) {
  std::size_t handled = 0;
  while (!job.Done()) {
    if (progress) progress(job.NextIndex(), job.ProgressText());
    if (job.Done()) break;  // cancelled while reporting
    job.Step();
    ++handled;
  }
  return handled;
}

std::vector<std::string> BatchWorkList(const std::string& saveTo,
                                       const std::string& thumbnailFolder,
                                       const std::string& mobileFolder) {
  FileList list;
  list.SetMask(kBatchPhotoMask);
  if (!thumbnailFolder.empty()) list.AddExcludedFolder(thumbnailFolder);
  if (!mobileFolder.empty()) list.AddExcludedFolder(mobileFolder);
  std::vector<std::string> photos;
  if (saveTo.empty()) return photos;
  list.Walk(saveTo, Recursion::SubFolders);
  photos.reserve(list.Count());
  for (const FileInfo& file : list.Files()) photos.push_back(file.path);
  return photos;
}

const char* PhotoWord(std::size_t count) {
  return count == 1 ? "Photo" : "Photos";
}

namespace {

// The folder as the file system resolves it ("." and "..", links), for one that may not
// exist yet; in lower case.
std::string ResolvedFolder(const std::string& folder) {
  std::error_code error;
  const std::filesystem::path resolved =
      std::filesystem::weakly_canonical(std::filesystem::path(Trim(folder)), error);
  return NormalizeFolderPath(error ? Trim(folder) : resolved.string(), TrailingSlash::Remove,
                             LetterCase::Lower);
}

}  // namespace

bool SameFolder(const std::string& a, const std::string& b) {
  std::error_code error;
  if (std::filesystem::equivalent(Trim(a), Trim(b), error)) return true;
  return ResolvedFolder(a) == ResolvedFolder(b);
}

bool PathExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

// Where the file system cannot promise no replacement, an existing target is checked for
// first.
bool RenameWithoutReplacing(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  return !PathExists(to) && std::rename(from.c_str(), to.c_str()) == 0;
}

std::size_t ClearPhotoFolder(const std::string& folder) {
  FileList list;
  list.SetMask(kBatchPhotoMask);
  list.Walk(folder, Recursion::ThisFolder);
  std::size_t removed = 0;
  for (const FileInfo& file : list.Files()) {
    std::error_code error;
    if (std::filesystem::remove(file.path, error)) ++removed;
  }
  return removed;
}

}  // namespace trawlix
