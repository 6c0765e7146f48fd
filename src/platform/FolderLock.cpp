#include "platform/FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

namespace trawlix {

namespace {

// FNV-1a: a stable file name for any folder path.
std::string LockName(const std::string& folder) {
  std::uint64_t hash = 1469598103934665603ULL;
  for (const char c : folder) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ULL;
  }
  char name[40];
  std::snprintf(name, sizeof name, "folder-%016llx.lock", static_cast<unsigned long long>(hash));
  return name;
}

}  // namespace

std::optional<FolderLock> FolderLock::Take(const std::string& lockFolder,
                                           const std::string& folder) {
  std::error_code error;
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(folder, error);
  std::string path = error ? folder : resolved.string();
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  const std::string file = lockFolder + "/" + LockName(path);
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return std::nullopt;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return std::nullopt;
  }
  return FolderLock(fd);
}

std::optional<FolderLock> FolderLock::TakeSaveTo(const std::string& tempFolder,
                                                 const std::string& saveTo) {
  const std::string lockFolder = tempFolder + "/locks";
  std::error_code error;
  std::filesystem::create_directories(lockFolder, error);
  return Take(lockFolder, saveTo);
}

FolderLock::FolderLock(FolderLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace trawlix
