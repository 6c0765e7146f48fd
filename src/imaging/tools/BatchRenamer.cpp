#include "imaging/tools/BatchRenamer.h"

#include <filesystem>
#include <utility>

#include "base/Number.h"
#include "base/Path.h"
#include "base/Text.h"

namespace trawlix {
namespace {

constexpr int kMaxParkingTries = 1'000'000;

std::string FolderName(const std::string& folderWithSlash) {
  return SplitPath(NormalizeFolderPath(folderWithSlash, TrailingSlash::Remove)).FileName();
}

}  // namespace

BatchRenamer::BatchRenamer(std::vector<std::string> photos, BatchRenameOptions options,
                           std::string thumbnailFolder, std::string mobileFolder)
    : BatchJob(std::move(photos)),
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
  return NameFor(NextIndex(), FolderNumberFor(NextIndex()));
}

std::string BatchRenamer::ProgressText() const {
  return Format("Renaming Photo #%s of %s to %s",
                FormatThousands(static_cast<std::int64_t>(NextIndex()) + 1).c_str(),
                FormatThousands(static_cast<std::int64_t>(photos_.size())).c_str(),
                NextName().c_str());
}

bool BatchRenamer::ParkHolder(const std::string& newPath, std::string& parkedPath) {
  const PathParts parts = SplitPath(newPath);
  std::string extension = PhotoFormatExtension(PhotoFormatFromPath(newPath));
  if (!extension.empty()) extension.erase(0, 1);
  ImageFileList folderPhotos;
  folderPhotos.AddExcludedFolder(thumbnailFolder_);
  folderPhotos.AddExcludedFolder(mobileFolder_);
  folderPhotos.Walk(parts.folder, Recursion::SubFolders);
  int counter = static_cast<int>(folderPhotos.Count());
  for (int tries = 0; tries < kMaxParkingTries; ++tries, ++counter) {
    const std::string parked =
        parts.folder + Format("%s%04d.%s", "zel", counter, extension.c_str());
    if (PathExists(parked)) continue;
    if (!RenameWithoutReplacing(newPath, parked)) return false;
    for (std::size_t i = NextIndex() + 1; i < photos_.size(); ++i) {
      if (photos_[i] == newPath) photos_[i] = parked;
    }
    parkedPath = parked;
    return true;
  }
  return false;
}

bool BatchRenamer::Handle(std::size_t index) {
  const std::string folder = SplitPath(photos_[index]).folder;
  const int folderNumber = FolderNumberFor(index);
  const std::string newPath = folder + NameFor(index, folderNumber);
  folderNumbers_[ToLowerAscii(folder)] = folderNumber;
  if (EqualsNoCase(newPath, photos_[index])) return true;
  std::string parked;
  const bool free = !PathExists(newPath) || ParkHolder(newPath, parked);
  if (free && RenameWithoutReplacing(photos_[index], newPath)) {
    photos_[index] = newPath;
    return true;
  }
  // Both names stay as they were: a parked holder goes back.
  if (!parked.empty() && RenameWithoutReplacing(parked, newPath)) {
    for (std::size_t i = index + 1; i < photos_.size(); ++i) {
      if (photos_[i] == parked) photos_[i] = newPath;
    }
  }
  return false;
}

std::string BatchRenamer::Summary() const {
  if (Failures().empty())
    return Format("Successfully renamed %s photos.",
                  FormatThousands(static_cast<std::int64_t>(Count())).c_str());
  return Format("Several Photos (%s) could not be renamed.",
                FormatThousands(static_cast<std::int64_t>(Failures().size())).c_str());
}

}  // namespace trawlix
