#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "imaging/PhotoNaming.h"
#include "imaging/tools/BatchJob.h"

namespace trawlix {

enum class RenameMode {
  Prefix,      // "Rename photos with the prefix:"
  FolderName,  // "Rename photos using container folder's name"
};

struct BatchRenameOptions {
  RenameMode mode = RenameMode::Prefix;
  std::string prefix;  // Prefix mode
  bool includePhotoSize = false;
  bool padNumbers = false;
  int padding = 0;
  bool spacesToUnderscores = false;  // FolderName mode
  bool dashesToUnderscores = false;  // FolderName mode
};

// Renames a list of photos one step at a time, for a worker that reports progress.
// Prefix mode numbers the photos 1..n in list order; folder-name mode numbers them per
// folder, each folder counting on from its own last number. A file already holding a
// new name is parked as "zel%04d" first, and gets its own new name in its turn when it
// is in the list.
class BatchRenamer : public BatchJob {
 public:
  BatchRenamer(std::vector<std::string> photos, BatchRenameOptions options,
               std::string thumbnailFolder, std::string mobileFolder);

  // The new file name of the next photo (no folder).
  std::string NextName() const;
  // "Renaming Photo #3 of 1,200 to Beach3.jpg" for the next photo.
  std::string ProgressText() const override;

  // Renames the next photo and moves on; false when it failed (it then joins the
  // failures and keeps its name). A photo that already has its new name counts as
  // renamed.
  bool RenameNext() { return Step(); }

  // "Successfully renamed 12 photos." or "Several Photos (2) could not be renamed."
  std::string Summary() const override;

 protected:
  bool Handle(std::size_t index) override;

 private:
  std::string NameFor(std::size_t index, int folderNumber) const;
  int FolderNumberFor(std::size_t index) const;
  bool ParkHolder(const std::string& newPath, std::string& parkedPath);

  BatchRenameOptions options_;
  std::string thumbnailFolder_;
  std::string mobileFolder_;
  std::map<std::string, int> folderNumbers_;  // by lower-cased folder
};

}  // namespace trawlix
