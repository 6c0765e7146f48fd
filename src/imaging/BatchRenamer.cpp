#include "imaging/BatchRenamer.h"

#include <fcntl.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <utility>

#include "base/Number.h"
#include "base/Path.h"
#include "base/Text.h"

namespace trawlix {
namespace {

constexpr int kMaxParkingTries = 1'000'000;

bool Exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

// A rename that never replaces a file: where the file system cannot promise that, an
// existing target is checked for first.
bool RenameNoReplace(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  return !Exists(to) && std::rename(from.c_str(), to.c_str()) == 0;
}

std::string FolderName(const std::string& folderWithSlash) {
  return SplitPath(NormalizeFolderPath(folderWithSlash, TrailingSlash::Remove)).FileName();
}

}  // namespace

BatchRenamer::BatchRenamer(std::vector<std::string> photos, BatchRenameOptions options,
                           std::string thumbnailFolder, std::string mobileFolder)
    : photos_(std::move(photos)),
      options_(std::move(options)),
      thumbnailFolder_(std::move(thumbnailFolder)),
      mobileFolder_(std::move(mobileFolder)) {}

int BatchRenamer::FolderNumberFor(std::size_t index) const {
  const auto it = folderNumbers_.find(ToLowerAscii(SplitPath(photos_[index]).folder));
  return it == folderNumbers_.end() ? 1 : it->second + 1;
}

std::string BatchRenamer::NameFor(std::size_t index, int folderNumber) const {
  const std::string& photo = photos_[index];
  AutoRenameOptions pattern{options_.prefix, options_.includePhotoSize, options_.padNumbers,
                            options_.padding};
  if (options_.mode == RenameMode::Prefix)
    return MakeAutoRenameName(pattern, photo, static_cast<int>(index) + 1);
  pattern.prefix = FolderName(SplitPath(photo).folder) + "_";
  std::string name = MakeAutoRenameName(pattern, photo, folderNumber);
  if (options_.spacesToUnderscores) ReplaceAll(name, " ", "_");
  if (options_.dashesToUnderscores) ReplaceAll(name, "-", "_");
  return name;
}

std::string BatchRenamer::NextName() const {
  if (Done()) return {};
  return NameFor(next_, FolderNumberFor(next_));
}

std::string BatchRenamer::ProgressText() const {
  return Format("Renaming Photo #%s of %s to %s",
                FormatThousands(static_cast<std::int64_t>(next_) + 1).c_str(),
                FormatThousands(static_cast<std::int64_t>(photos_.size())).c_str(),
                NextName().c_str());
}

bool BatchRenamer::ParkHolder(const std::string& newPath) {
  const PathParts parts = SplitPath(newPath);
  std::string extension = PhotoFormatExtension(PhotoFormatFromPath(newPath));
  if (!extension.empty()) extension.erase(0, 1);
  CXImageFileList folderPhotos;
  folderPhotos.AddExcludedFolder(thumbnailFolder_);
  folderPhotos.AddExcludedFolder(mobileFolder_);
  folderPhotos.Walk(parts.folder, Recursion::SubFolders);
  int counter = static_cast<int>(folderPhotos.Count());
  for (int tries = 0; tries < kMaxParkingTries; ++tries, ++counter) {
    const std::string parked =
        parts.folder + Format("%s%04d.%s", "zel", counter, extension.c_str());
    if (Exists(parked)) continue;
    if (!RenameNoReplace(newPath, parked)) return false;
    for (std::size_t i = next_ + 1; i < photos_.size(); ++i) {
      if (photos_[i] == newPath) photos_[i] = parked;
    }
    return true;
  }
  return false;
}

bool BatchRenamer::RenameNext() {
  if (Done()) return false;
  const std::size_t index = next_;
  const std::string folder = SplitPath(photos_[index]).folder;
  const int folderNumber = FolderNumberFor(index);
  const std::string newPath = folder + NameFor(index, folderNumber);
  folderNumbers_[ToLowerAscii(folder)] = folderNumber;
  bool renamed = EqualsNoCase(newPath, photos_[index]);
  if (!renamed) {
    const bool free = !Exists(newPath) || ParkHolder(newPath);
    renamed = free && RenameNoReplace(photos_[index], newPath);
  }
  if (renamed) {
    photos_[index] = newPath;
  } else {
    failures_.push_back(photos_[index]);
  }
  ++next_;
  return renamed;
}

}  // namespace trawlix
