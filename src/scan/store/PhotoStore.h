#pragma once

#include <map>
#include <optional>
#include <string>

#include "imaging/codec/PhotoCodec.h"
#include "imaging/codec/PhotoFormat.h"
#include "platform/FileMove.h"
#include "scan/engine/LinkLists.h"
#include "scan/engine/ScanOptions.h"
#include "scan/store/CopyWorkers.h"
#include "storage/ProjectsRecord.h"

namespace trawlix {

// What became of one downloaded photo.
struct StoredPhoto {
  enum class Kind { Saved, Replaced, Skipped, WriteFailed };
  Kind kind = Kind::Skipped;
  std::string path;     // where it was stored; for WriteFailed, the folder
  std::string problem;  // why the folder cannot be written
};

// Whether a photo of this size passes the project's minimum-size and orientation filters.
bool PassesSizeFilter(const ProjectsRecord& project, PhotoSize size);

// The store step of a scan: checks a downloaded photo against the project's filters, names
// it, stores it and hands its thumbnail and mobile copies to the copy workers. Photos are
// stored one at a time, in the scan's order, so names and numbers do not depend on how fast
// downloads arrive.
class PhotoStore {
 public:
  // `startFolderPath` is the folder path of the scan's start URL; `copies` may be null when
  // the project makes no copies.
  PhotoStore(const ProjectsRecord& project, const ScanOptions& options, std::string startFolderPath,
             CopyWorkers* copies);

  // Stores the download at `tempPath` (which is gone afterwards, or owned by a copy job).
  StoredPhoto Store(const std::string& tempPath, const PhotoUrlInfo& photo);

  // The folder a photo of this page is stored in.
  std::string FolderFor(const std::string& pageURL) const;

 private:
  bool Validate(const std::string& tempPath, PhotoSize& size, PhotoOrientation& orientation) const;
  std::string FinalPath(const std::string& target, const std::string& downloadName) const;
  bool ChooseAutoRenamePath(const std::string& folder, PhotoSize size,
                            const std::string& downloadName, std::string& target);
  bool QueueCopies(const std::string& source, bool removeSource, const std::string& finalPath,
                   PhotoOrientation orientation) const;
  struct Destination {
    std::string path;
    bool replaces = false;  // a photo already there makes way
  };
  std::optional<Destination> Choose(const std::string& folder, PhotoSize size,
                                    const std::string& downloadName);
  bool Prepare(const std::string& tempPath, PhotoSize size);
  MoveResult Place(const std::string& tempPath, const std::string& finalPath,
                   PhotoOrientation orientation, bool replace);
  bool SavePhoto(const std::string& tempPath, const std::string& finalPath) const;
  bool OnlyResolution() const;
  PhotoEncoding Encoding(PhotoFormat format) const;
  bool Reencodes() const;

  const ProjectsRecord project_;
  const ScanOptions options_;
  const std::string startFolderPath_;
  CopyWorkers* copies_;
  bool reencode_ = false;  // the photo being stored is re-encoded
  int renameCounter_ = 0;
  // Auto-rename into mirrored folders: the next number per folder, counted once.
  std::map<std::string, int> folderNumbers_;
};

}  // namespace trawlix
