#include "platform/FileMove.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <random>
#include <system_error>

namespace trawlix {

namespace {

namespace fs = std::filesystem;

bool SyncFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fdatasync(fd) == 0;
  return ::close(fd) == 0 && synced;
}

MoveResult Rename(const std::string& from, const std::string& to, bool replace) {
  const int result =
      replace ? ::rename(from.c_str(), to.c_str())
              : ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
  if (result == 0) return MoveResult::Moved;
  return errno == EEXIST ? MoveResult::NameTaken : MoveResult::Failed;
}

// A copy under a hidden name beside `to` that nobody else can have made or linked.
std::string CopyBeside(const std::string& from, const std::string& to) {
  const fs::path target(to);
  std::random_device random;
  // Appended piece by piece: GCC 12 reports a false -Wrestrict for "." + std::string.
  std::string hidden(1, '.');
  hidden.append(target.filename().string()).append(".").append(std::to_string(random()));
  hidden.append(".part");
  const std::string part = (target.parent_path() / hidden).string();
  const int in = ::open(from.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (in < 0) return {};
  const int out = ::open(part.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  bool copied = out >= 0;
  while (copied) {
    const ssize_t moved = ::copy_file_range(in, nullptr, out, nullptr, 1 << 20, 0);
    if (moved == 0) break;
    copied = moved > 0 || errno == EINTR;
  }
  ::close(in);
  if (out >= 0) copied = ::close(out) == 0 && copied;
  if (copied) return part;
  if (out >= 0) ::unlink(part.c_str());
  return {};
}

}  // namespace

MoveResult MoveFileInto(const std::string& from, const std::string& to, bool replace) {
  if (replace && !SyncFile(from)) return MoveResult::Failed;
  MoveResult result = Rename(from, to, replace);
  if (result != MoveResult::Failed || errno != EXDEV) return result;
  const std::string part = CopyBeside(from, to);
  if (part.empty()) return MoveResult::Failed;
  if (replace && !SyncFile(part)) {
    ::unlink(part.c_str());
    return MoveResult::Failed;
  }
  result = Rename(part, to, replace);
  if (result == MoveResult::Moved) {
    ::unlink(from.c_str());
  } else {
    ::unlink(part.c_str());
  }
  return result;
}

void RemoveFile(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
}

}  // namespace trawlix
