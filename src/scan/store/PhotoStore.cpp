#include "scan/store/PhotoStore.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "base/Path.h"
#include "base/Text.h"
#include "imaging/PhotoNaming.h"
#include "imaging/codec/DensityInPlace.h"
#include "imaging/codec/PhotoCheck.h"
#include "imaging/codec/PhotoCodec.h"
#include "imaging/codec/ReceivedName.h"
#include "imaging/codec/WebPhoto.h"
#include "platform/FileMove.h"
#include "platform/WritableFolder.h"
#include "scan/markup/UrlParts.h"
#include "scan/store/MirroredFolder.h"

namespace trawlix {

namespace fs = std::filesystem;

namespace {

bool Exists(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error);
}

std::string FolderOf(const std::string& path) {
  std::string folder = SplitPath(path).folder;
  if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

// A folder as compared with another: no ".", "..", doubled or trailing '/'.
fs::path NormalFolder(const std::string& folder) {
  fs::path normal = fs::path(folder).lexically_normal();
  return normal.has_filename() ? normal : normal.parent_path();
}

// The tools' work list and the photo count take ".jpg", not ".jpeg": a photo accepted as
// ".jpeg" is stored as ".jpg" so that they see it.
std::string StoredName(const std::string& name) {
  const PathParts parts = SplitPath(name);
  if (!EqualsNoCase(parts.extension, ".jpeg")) return name;
  return parts.title + PhotoFormatExtension(PhotoFormat::Jpeg);
}

int CountFolderPhotos(const std::string& folder) {
  int count = 0;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (!it->is_regular_file(error)) continue;
    const std::string ext = ToLowerAscii(it->path().extension().string());
    if (ext == ".jpg" || ext == ".png" || ext == ".bmp" || ext == ".tif" || ext == ".tiff" ||
        ext == ".gif")
      ++count;
  }
  return count;
}

}  // namespace

bool PassesSizeFilter(const ProjectsRecord& project, PhotoSize size) {
  if (!project.filterMinimumSize) return true;
  if (size.width < project.minimumSize || size.height < project.minimumSize) return false;
  if (project.orientation == 1 && size.width > size.height) return false;
  if (project.orientation == 2 && size.height > size.width) return false;
  return true;
}

PhotoStore::PhotoStore(const ProjectsRecord& project, const ScanOptions& options,
                       std::string startFolderPath, CopyWorkers* copies)
    : project_(project),
      options_(options),
      startFolderPath_(std::move(startFolderPath)),
      copies_(copies) {
  // Only auto-renaming into Save To itself numbers from the project's photo count; the walk
  // over a large folder is not worth making otherwise.
  if (project_.autoRename && !project_.createFolders)
    renameCounter_ = CountProjectPhotos(project_.saveTo, project_.thumbnailSaveTo,
                                        project_.mobileSaveTo, Recursion::SubFolders);
}

bool PhotoStore::Reencodes() const {
  return project_.autoConvert || project_.autoResize || options_.setResolution;
}

std::string PhotoStore::FolderFor(const std::string& pageURL) const {
  if (!project_.createFolders) return project_.saveTo;
  return MirroredFolder(project_.saveTo, UrlParts(pageURL).path, startFolderPath_,
                        {project_.thumbnailSaveTo, project_.mobileSaveTo});
}

StoredPhoto PhotoStore::Store(const std::string& tempPath, const PhotoUrlInfo& photo) {
  const StoredPhoto skipped;
  std::string downloadName = StoredName(DownloadFileName(photo.fileName));
  // WebP and AVIF photos are kept as JPEG, so the viewer, the counts, the batch tools and the
  // exchange only ever meet the formats they know.
  if (project_.jpeg) {
    std::optional<std::string> name = PrepareWebPhoto(tempPath, downloadName, options_.jpegQuality);
    if (!name) {
      RemoveFile(tempPath);
      return skipped;
    }
    downloadName = std::move(*name);
  }
  downloadName = NameForReceivedFormat(tempPath, downloadName);
  const std::string folder = FolderFor(photo.pageURL);
  PhotoSize size;
  PhotoOrientation orientation = PhotoOrientation::Any;
  if (!Validate(tempPath, size, orientation) || !Prepare(tempPath, size)) {
    RemoveFile(tempPath);
    return skipped;
  }
  // A name taken by someone else since it was chosen is chosen again.
  for (int attempt = 0; attempt < 3; ++attempt) {
    const std::optional<Destination> destination = Choose(folder, size, downloadName);
    // Only a photo that decodes whole may take the place of one already there: a body cut
    // short would otherwise replace a good photo.
    if (!destination || (destination->replaces && !DecodesWhole(tempPath))) break;
    std::error_code ignored;
    if (project_.createFolders) fs::create_directories(FolderOf(destination->path), ignored);
    // The copies of a photo this one replaces are made first, from that photo.
    if (copies_ != nullptr) copies_->WaitFor(destination->path);
    switch (Place(tempPath, destination->path, orientation, destination->replaces)) {
      case MoveResult::Moved:
        return StoredPhoto{
            destination->replaces && options_.duplicates == DuplicateHandling::Overwrite
                ? StoredPhoto::Kind::Replaced
                : StoredPhoto::Kind::Saved,
            destination->path,
            {}};
      case MoveResult::NameTaken:
        continue;
      case MoveResult::Failed: {
        // A photo that fails alone is skipped; a folder that takes no photo ends the scan.
        const std::string folderOf = FolderOf(destination->path);
        std::string problem = FolderWriteProblem(folderOf);
        if (problem.empty()) return skipped;
        return StoredPhoto{StoredPhoto::Kind::WriteFailed, folderOf, std::move(problem)};
      }
    }
  }
  RemoveFile(tempPath);
  return skipped;
}

// Where the photo goes, by the auto-rename numbers or the download name and the duplicate
// choice; none when it is skipped.
std::optional<PhotoStore::Destination> PhotoStore::Choose(const std::string& folder, PhotoSize size,
                                                          const std::string& downloadName) {
  std::string target = JoinPath(folder, downloadName);
  if (project_.autoRename) {
    if (!ChooseAutoRenamePath(folder, size, downloadName, target)) return std::nullopt;
    return Destination{FinalPath(target, downloadName), false};
  }
  // Duplicates are judged by the file the save would really write, which differs from the
  // download name when the photo is converted or re-encoded.
  const std::string taken = FinalPath(target, downloadName);
  if (!Exists(taken)) return Destination{taken, false};
  switch (options_.duplicates) {
    case DuplicateHandling::Skip:
      return std::nullopt;
    case DuplicateHandling::Rename: {
      const std::optional<std::string> free = MakeLetterSuffixedName(taken);
      if (!free) return std::nullopt;
      return Destination{FinalPath(*free, downloadName), false};
    }
    case DuplicateHandling::OverwriteIfLarger: {
      const PhotoSize existing = ReadPhotoSize(taken);
      if (existing.width >= size.width && existing.height >= size.height) return std::nullopt;
      return Destination{taken, true};
    }
    case DuplicateHandling::Overwrite:
      return Destination{taken, true};
  }
  return std::nullopt;
}

// A photo that only takes the resolution setting gets it written into its own bytes; false
// when that went wrong, for the photo it leaves may be damaged.
bool PhotoStore::Prepare(const std::string& tempPath, PhotoSize size) {
  reencode_ = Reencodes();
  if (!reencode_ || !OnlyResolution()) return true;
  const DensityEdit edit = WriteDensityInPlace(tempPath, options_.dpi);
  if (edit == DensityEdit::Failed) return false;
  if (edit == DensityEdit::Written && ReadPhotoSizeQuickly(tempPath) != size) return false;
  reencode_ = edit == DensityEdit::NotInPlace;
  return true;
}

// Writes the photo at its final path and queues its copies; a re-encoded photo's copies
// are made from the download, with the original's pixels.
MoveResult PhotoStore::Place(const std::string& tempPath, const std::string& finalPath,
                             PhotoOrientation orientation, bool replace) {
  if (!reencode_) {
    const MoveResult moved = MoveFileInto(tempPath, finalPath, replace);
    if (moved == MoveResult::Moved) QueueCopies(finalPath, false, finalPath, orientation);
    if (moved == MoveResult::Failed) RemoveFile(tempPath);
    return moved;
  }
  const bool written = SavePhoto(tempPath, finalPath);
  if (!written || !QueueCopies(tempPath, true, finalPath, orientation)) RemoveFile(tempPath);
  return written ? MoveResult::Moved : MoveResult::Failed;
}

bool PhotoStore::OnlyResolution() const {
  return options_.setResolution && !project_.autoConvert && !project_.autoResize;
}

bool PhotoStore::Validate(const std::string& tempPath, PhotoSize& size,
                          PhotoOrientation& orientation) const {
  size = ReadPhotoSizeQuickly(tempPath);
  // A body that is no image (an error page served under a photo's name) is never a photo,
  // whatever the filters say.
  if (size.width <= 0 || size.height <= 0) return false;
  orientation = OrientationOf(size);
  return PassesSizeFilter(project_, size);
}

// Where the photo really lands: a re-encoded photo takes its format's extension (from the
// download name, or the conversion's format).
std::string PhotoStore::FinalPath(const std::string& target,
                                  const std::string& downloadName) const {
  if (!Reencodes()) return target;
  const PhotoFormat format = project_.autoConvert ? PhotoFormatFromCode(project_.convertToFormat)
                                                  : PhotoFormatFromPath(downloadName);
  return JoinPath(FolderOf(target), SplitPath(target).title + PhotoFormatExtension(format));
}

bool PhotoStore::ChooseAutoRenamePath(const std::string& folder, PhotoSize size,
                                      const std::string& downloadName, std::string& target) {
  AutoRenameOptions naming;
  naming.prefix = project_.namePrefix;
  naming.includePhotoSize = project_.includePhotoSize;
  naming.padNumbers = project_.padNumbers;
  naming.padding = project_.padding;
  const PhotoFormat format = PhotoFormatFromPath(downloadName);
  // Photos deleted from the folder leave the count below the highest number in use: raise
  // the number until the name is free rather than overwrite an existing photo.
  const bool mirrored = project_.createFolders;
  int number = 0;
  if (mirrored) {
    const auto [next, counted] = folderNumbers_.try_emplace(folder, 0);
    if (counted) next->second = CountFolderPhotos(folder);
    number = next->second + 1;
  } else {
    number = renameCounter_ + 1;
  }
  for (int attempt = 0; attempt < 100000; ++attempt, ++number) {
    target = JoinPath(folder, MakeAutoRenameName(naming, size, format, number));
    if (Exists(FinalPath(target, downloadName))) continue;
    (mirrored ? folderNumbers_[folder] : renameCounter_) = number;
    return true;
  }
  return false;
}

PhotoEncoding PhotoStore::Encoding(PhotoFormat format) const {
  PhotoEncoding encoding;
  encoding.format = format;
  encoding.jpegQuality = options_.jpegQuality;
  if (options_.setResolution) encoding.dpi = options_.dpi;
  return encoding;
}

bool PhotoStore::QueueCopies(const std::string& source, bool removeSource,
                             const std::string& finalPath, PhotoOrientation orientation) const {
  const std::string baseName = SplitPath(finalPath).FileName();
  // A copy made into the original's own folder would take the original's place.
  const fs::path originalFolder = NormalFolder(FolderOf(finalPath));
  const auto wanted = [&](int code, const std::string& folder) {
    std::error_code error;
    const fs::path copies = NormalFolder(folder);
    return (code == 0 || code == static_cast<int>(orientation)) && copies != originalFolder &&
           !fs::equivalent(copies, originalFolder, error);
  };
  PhotoCopyJob job{source, removeSource, {}};
  if (project_.autoCreateThumbnails &&
      wanted(project_.thumbnailOrientation, project_.thumbnailSaveTo))
    job.targets.push_back({project_.thumbnailSaveTo, baseName, project_.thumbnailBoundingBox,
                           Encoding(PhotoFormatFromCode(project_.thumbnailFormat))});
  if (project_.autoCreateMobile && wanted(project_.mobileOrientation, project_.mobileSaveTo))
    job.targets.push_back({project_.mobileSaveTo, baseName, project_.mobileBoundingBox,
                           Encoding(PhotoFormatFromCode(project_.mobileFormat))});
  if (copies_ == nullptr || job.targets.empty()) return false;
  copies_->Queue(std::move(job));
  return true;
}

bool PhotoStore::SavePhoto(const std::string& tempPath, const std::string& finalPath) const {
  const PhotoFormat format = project_.autoConvert
                                 ? PhotoFormatFromCode(project_.convertToFormat)
                                 : PhotoFormatFromPath(SplitPath(finalPath).FileName());
  std::optional<int> box;
  if (project_.autoResize) box = project_.resizeBoundingBox;
  return SavePhotoAs(tempPath, FolderOf(finalPath), SplitPath(finalPath).FileName(), box,
                     Encoding(format))
      .written;
}

}  // namespace trawlix
