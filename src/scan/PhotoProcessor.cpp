#include "scan/PhotoProcessor.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "base/Path.h"
#include "base/Text.h"
#include "imaging/PhotoCodec.h"
#include "imaging/PhotoNaming.h"
#include "scan/MirroredFolder.h"
#include "scan/URLParts.h"
#include "scan/UiThread.h"
#include "scan/WebFile.h"

namespace trawlix {

namespace fs = std::filesystem;

namespace {

bool Exists(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error);
}

void RemoveFile(const std::string& path) {
  std::error_code ignored;
  fs::remove(path, ignored);
}

std::string FolderOf(const std::string& path) {
  std::string folder = SplitPath(path).folder;
  if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

std::string Join(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

// Moves the download into place: a rename when both lie on one file system, else a copy
// through a temporary name beside the target. Either way a replaced photo is never left
// half written.
bool MoveIntoPlace(const std::string& from, const std::string& to) {
  std::error_code error;
  fs::rename(from, to, error);
  if (!error) return true;
  const std::string part = Join(FolderOf(to), "." + SplitPath(to).FileName() + ".part");
  if (fs::copy_file(from, part, fs::copy_options::overwrite_existing, error) && !error) {
    fs::rename(part, to, error);
    if (!error) return true;
  }
  RemoveFile(part);
  return false;
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

PhotoProcessor::PhotoProcessor(const PhotoJob& job, ScanHost& host, ScanThreadBlock& block,
                               CXWebFile& web, ScanCounters& counters)
    : job_(job),
      project_(job.project),
      host_(host),
      block_(block),
      web_(web),
      counters_(counters) {}

bool PhotoProcessor::Reencodes() const {
  return project_.m_nAutoConvert == 1 || project_.m_nAutoResize == 1 || job_.options.setResolution;
}

WorkerEnd PhotoProcessor::Run() {
  if (block_.Stopping()) return WorkerEnd::Finished;
  // Only auto-renaming into Save To itself numbers from the project's photo count; the walk
  // over a large folder is not worth making otherwise.
  if (project_.m_nAutoRename == 1 && project_.m_nCreateFolders != 1)
    renameCounter_ = CountProjectPhotos(project_.m_lpszSaveTo, project_.m_lpszThumbnailSaveTo,
                                        project_.m_lpszMobileSaveTo, Recursion::SubFolders);
  WorkerEnd end = WorkerEnd::Finished;
  for (int index = 0;; ++index) {
    if (!block_.WaitWhileHeld()) {
      end = WorkerEnd::Stopped;
      break;
    }
    NextPhotoRequest request;
    if (host_.NextPhoto(index, request) == -1) break;
    ++counters_.photosProcessed;
    const Outcome outcome = Process(request);
    if (outcome == Outcome::Stopped || block_.Stopping()) {
      end = WorkerEnd::Stopped;
      break;
    }
    if (outcome != Outcome::Rejected && anyDownload_) host_.RefreshPhotoProgress();
  }
  if (anyDownload_) host_.RefreshPhotoProgress();
  return end;
}

PhotoProcessor::Outcome PhotoProcessor::Process(const NextPhotoRequest& request) {
  const std::string downloadName = DownloadFileName(request.fileName);
  std::string folder = project_.m_lpszSaveTo;
  if (project_.m_nCreateFolders == 1)
    folder = MirroredFolder(folder, CXURLParts(request.pageURL).path, job_.startFolderPath);
  if (block_.Stopping()) return Outcome::Stopped;

  const std::string tempPath = Join(job_.options.tempFolder, downloadName);
  std::int64_t bytes = 0;
  int seconds = 0;
  if (!web_.DownloadToFile(request.pageURL, block_.stop, request.photoURL, tempPath, bytes,
                           seconds)) {
    if (block_.Stopping()) return Outcome::Stopped;  // cut short, not a failed photo
    ++counters_.photosSkipped;
    return Outcome::DownloadFailed;
  }
  host_.ReportTransfer(seconds, bytes);
  anyDownload_ = true;
  if (block_.Stopping()) {
    RemoveFile(tempPath);
    return Outcome::Stopped;
  }
  if (!Exists(tempPath)) return Outcome::TempMissing;

  PhotoSize size;
  PhotoOrientation orientation = PhotoOrientation::Any;
  if (!Validate(tempPath, size, orientation)) {
    Skip(tempPath);
    return Outcome::Rejected;
  }

  std::string target = Join(folder, downloadName);
  bool countsAsNew = true;
  if (project_.m_nAutoRename == 1) {
    if (!ChooseAutoRenamePath(folder, size, downloadName, target)) {
      Skip(tempPath);
      return Outcome::Rejected;
    }
  } else {
    // Duplicates are judged by the file the save would really write, which differs from
    // the download name when the photo is converted or re-encoded.
    const std::string taken = FinalPath(target, downloadName);
    if (Exists(taken)) {
      switch (job_.options.duplicates) {
        case DuplicateHandling::Skip:
          Skip(tempPath);
          return Outcome::Rejected;
        case DuplicateHandling::Rename: {
          const std::optional<std::string> free = MakeLetterSuffixedName(taken);
          if (!free) {
            Skip(tempPath);
            return Outcome::Rejected;
          }
          target = *free;
          break;
        }
        case DuplicateHandling::OverwriteIfLarger: {
          const PhotoSize existing = ReadPhotoSize(taken);
          if (existing.width >= size.width && existing.height >= size.height) {
            Skip(tempPath);
            return Outcome::Rejected;
          }
          break;
        }
        case DuplicateHandling::Overwrite:
          countsAsNew = false;
          break;
      }
    }
  }
  const std::string finalPath = FinalPath(target, downloadName);
  if (countsAsNew) ++counters_.photosSaved;

  std::error_code ignored;
  if (project_.m_nCreateFolders == 1) fs::create_directories(FolderOf(finalPath), ignored);
  SaveCopies(tempPath, finalPath, orientation);
  const bool written = SavePhoto(tempPath, finalPath);
  RemoveFile(tempPath);
  if (!written) {
    // Nothing was written (no encoder for the format, disk full): not a saved photo.
    if (countsAsNew) --counters_.photosSaved;
    ++counters_.photosSkipped;
    return Outcome::Rejected;
  }
  host_.PhotoSaved(finalPath);
  return Outcome::Saved;
}

void PhotoProcessor::Skip(const std::string& tempPath) {
  ++counters_.photosSkipped;
  RemoveFile(tempPath);
}

bool PhotoProcessor::Validate(const std::string& tempPath, PhotoSize& size,
                              PhotoOrientation& orientation) const {
  size = ReadPhotoSize(tempPath);
  // A body that is no image (an error page served under a photo's name) is never a photo,
  // whatever the filters say.
  if (size.width <= 0 || size.height <= 0) return false;
  orientation = OrientationOf(size);
  if (project_.m_nFilterMinimumSize != 1) return true;
  if (size.width < project_.m_nMinimumSize || size.height < project_.m_nMinimumSize) return false;
  if (project_.m_nOrientation == 1 && size.width > size.height) return false;
  if (project_.m_nOrientation == 2 && size.height > size.width) return false;
  return true;
}

// Where the photo really lands: a re-encoded photo takes its format's extension (from the
// download name, or the conversion's format).
std::string PhotoProcessor::FinalPath(const std::string& target,
                                      const std::string& downloadName) const {
  if (!Reencodes()) return target;
  const PhotoFormat format = project_.m_nAutoConvert == 1
                                 ? PhotoFormatFromCode(project_.m_nConvertToFormat)
                                 : PhotoFormatFromPath(downloadName);
  return Join(FolderOf(target), SplitPath(target).title + PhotoFormatExtension(format));
}

bool PhotoProcessor::ChooseAutoRenamePath(const std::string& folder, PhotoSize size,
                                          const std::string& downloadName, std::string& target) {
  AutoRenameOptions naming;
  naming.prefix = project_.m_lpszNamePrefix;
  naming.includePhotoSize = project_.m_nIncludePhotoSize == 1;
  naming.padNumbers = project_.m_nPadNumbers == 1;
  naming.padding = project_.m_nPadding;
  const PhotoFormat format = PhotoFormatFromPath(downloadName);
  // Photos deleted from the folder leave the count below the highest number in use: raise
  // the number until the name is free rather than overwrite an existing photo.
  int number = project_.m_nCreateFolders == 1 ? CountFolderPhotos(folder) + 1 : ++renameCounter_;
  for (int attempt = 0; attempt < 100000; ++attempt, ++number) {
    target = Join(folder, MakeAutoRenameName(naming, size, format, number));
    if (Exists(FinalPath(target, downloadName))) continue;
    if (project_.m_nCreateFolders != 1) renameCounter_ = number;
    return true;
  }
  return false;
}

PhotoEncoding PhotoProcessor::Encoding(PhotoFormat format) const {
  PhotoEncoding encoding;
  encoding.format = format;
  encoding.jpegQuality = job_.options.jpegQuality;
  if (job_.options.setResolution) encoding.dpi = job_.options.dpi;
  return encoding;
}

void PhotoProcessor::SaveCopies(const std::string& tempPath, const std::string& finalPath,
                                PhotoOrientation orientation) const {
  const std::string baseName = SplitPath(finalPath).FileName();
  const auto wanted = [orientation](int code) {
    return code == 0 || code == static_cast<int>(orientation);
  };
  if (project_.m_nAutoCreateThumbnails == 1 && wanted(project_.m_nThumbnailOrientation))
    SaveResizedCopy(project_.m_lpszThumbnailSaveTo, baseName, tempPath,
                    project_.m_nThumbnailBoundingBox,
                    Encoding(PhotoFormatFromCode(project_.m_nThumbnailFormat)));
  if (project_.m_nAutoCreateMobile == 1 && wanted(project_.m_nMobileOrientation))
    SaveResizedCopy(project_.m_lpszMobileSaveTo, baseName, tempPath, project_.m_nMobileBoundingBox,
                    Encoding(PhotoFormatFromCode(project_.m_nMobileFormat)));
}

bool PhotoProcessor::SavePhoto(const std::string& tempPath, const std::string& finalPath) const {
  if (!Reencodes()) return MoveIntoPlace(tempPath, finalPath);
  const PhotoFormat format = project_.m_nAutoConvert == 1
                                 ? PhotoFormatFromCode(project_.m_nConvertToFormat)
                                 : PhotoFormatFromPath(SplitPath(finalPath).FileName());
  std::optional<int> box;
  if (project_.m_nAutoResize == 1) box = project_.m_nResizeBoundingBox;
  return SavePhotoAs(tempPath, FolderOf(finalPath), SplitPath(finalPath).FileName(), box,
                     Encoding(format))
      .written;
}

void PhotoProcessorThread(const PhotoJob& job, ScanHost& host, ScanThreadBlock& block,
                          CXWebFile& web, ScanCounters& counters) {
  WorkerEnd end = WorkerEnd::Finished;
  try {
    ApplyScanningPriority(job.options.priority);
    end = PhotoProcessor(job, host, block, web, counters).Run();
  } catch (...) {
    end = block.Stopping() ? WorkerEnd::Stopped : WorkerEnd::Finished;
  }
  try {
    host.ArmWorkerTimer(end == WorkerEnd::Stopped ? kTimerWorkerStopped : kTimerPhotosFinished,
                        job.workerId);
  } catch (...) {
  }
  block.end = end;
}

}  // namespace trawlix
