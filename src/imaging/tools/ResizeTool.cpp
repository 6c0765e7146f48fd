#include "imaging/tools/ResizeTool.h"

#include <cstdint>
#include <filesystem>
#include <system_error>
#include <utility>

#include "base/Number.h"
#include "base/Path.h"
#include "base/Text.h"
#include "platform/FileMove.h"

namespace trawlix {
namespace {

std::string Thousands(std::size_t value) {
  return FormatThousands(static_cast<std::int64_t>(value));
}

}  // namespace

ResizeTool::ResizeTool(std::vector<std::string> photos, ResizeToolOptions options, PhotoSaver saver)
    : BatchJob(std::move(photos)), options_(std::move(options)), saver_(std::move(saver)) {
  if (!saver_) saver_ = SavePhotoAs;
}

std::string ResizeTool::ProgressText() const {
  if (Done()) return {};
  return Format("Processing photo %s of %s - %s", Thousands(NextIndex() + 1).c_str(),
                Thousands(Count()).c_str(), SplitPath(photos_[NextIndex()]).FileName().c_str());
}

bool ResizeTool::Handle(std::size_t index) {
  const std::string photo = photos_[index];
  const PathParts parts = SplitPath(photo);
  const PhotoFormat target = options_.convert ? options_.format : PhotoFormatFromPath(photo);
  if (target == PhotoFormat::None) return false;
  const std::string newName = parts.title + PhotoFormatExtension(target);
  const std::string newPath = parts.folder + newName;
  // A conversion must not write over a different photo that already has the new name.
  if (newPath != photo && PathExists(newPath)) return false;

  const std::string folder = NormalizeFolderPath(parts.folder, TrailingSlash::Remove);
  const std::string parked = MakeTempPhotoPath(folder, parts.extension);
  if (parked.empty() || !RenameWithoutReplacing(photo, parked)) return false;

  const PhotoEncoding encoding(target, options_.jpegQuality, options_.dpi);
  const std::optional<int> box =
      options_.resize ? std::optional<int>(options_.box) : std::optional<int>();
  const SavedPhoto saved = saver_(parked, folder, newName, box, encoding);
  if (saved.written && PathExists(newPath)) {
    RemoveFile(parked);
    photos_[index] = newPath;
    return true;
  }
  // Whatever the failed write left goes; the photo returns to its own name.
  RemoveFile(newPath);
  RenameWithoutReplacing(parked, photo);
  return false;
}

std::string ResizeTool::Summary() const {
  const std::string count = Thousands(Count());
  const char* word = PhotoWord(Count());
  const std::string format = PhotoFormatDisplayName(options_.format);
  const char* folder = options_.saveTo.c_str();
  std::string text;
  if (options_.resize && options_.convert) {
    text = Format(
        "Trawlix() PRO resized %s %s (bounding-box of %d pixels)\nand converted them to "
        "%s.\nThe photos have been saved to '%s.'",
        count.c_str(), word, options_.box, format.c_str(), folder);
  } else if (options_.resize) {
    text = "Trawlix() PRO " + Format(
                                  "resized %s %s with a bounding-box of %d pixels\nand saved "
                                  "them to '%s'",
                                  count.c_str(), word, options_.box, folder);
  } else if (options_.convert) {
    text = "Trawlix() PRO " + Format("converted %s %s to %s format\nand saved them to '%s'",
                                     count.c_str(), word, format.c_str(), folder);
  }
  if (!Failures().empty())
    text += Format("\n\nSeveral Photos (%s) could not be saved and were left as they were.",
                   Thousands(Failures().size()).c_str());
  return text;
}

}  // namespace trawlix
