#include "scan/store/DiskSpace.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <filesystem>
#include <system_error>

namespace trawlix {

namespace {

namespace fs = std::filesystem;

// The folder itself, or the closest parent that exists.
fs::path NearestExisting(const std::string& folder) {
  std::error_code error;
  fs::path path = fs::absolute(folder.empty() ? fs::path(".") : fs::path(folder), error);
  if (error) return "/";
  path = path.lexically_normal();
  while (!fs::exists(path, error) && path.has_relative_path()) path = path.parent_path();
  return path;
}

// Climbs while the parent lies on the same device: the last folder reached is the mount point.
std::string MountPointOf(fs::path path) {
  struct stat here {};
  if (::stat(path.c_str(), &here) != 0) return path.string();
  while (path.has_relative_path()) {
    const fs::path parent = path.parent_path();
    struct stat above {};
    if (::stat(parent.c_str(), &above) != 0 || above.st_dev != here.st_dev) break;
    path = parent;
  }
  return path.string();
}

}  // namespace

VolumeSpace QueryVolumeSpace(const std::string& folder) {
  const fs::path existing = NearestExisting(folder);
  VolumeSpace volume{MountPointOf(existing)};
  struct statvfs info {};
  if (::statvfs(existing.c_str(), &info) == 0) {
    volume.freeBytes = static_cast<std::uint64_t>(info.f_bfree) * info.f_frsize;
  }
  return volume;
}

bool CheckFreeDiskSpace(const VolumeSpace& volume, MessageSink& messages) {
  if (volume.freeBytes >= kRequiredFreeBytes) return true;
  constexpr int kRequiredMB = 100;
  const std::string text = "There's not enough disk space available on Drive (" +
                           volume.mountPoint + ") to continue.\n\nTrawlix() PRO requires around " +
                           std::to_string(kRequiredMB) +
                           "MB of Free Disk Space to download and process photos.";
  messages.Show(MessageRequest{text, kAppCaption, MessageIcon::Information});
  return false;
}

bool CheckFreeDiskSpace(const std::string& folder, MessageSink& messages) {
  return CheckFreeDiskSpace(QueryVolumeSpace(folder), messages);
}

}  // namespace trawlix
