#include "imaging/tools/ThumbnailTool.h"

#include <cstdint>
#include <filesystem>
#include <system_error>
#include <utility>

#include "base/Number.h"
#include "base/Path.h"
#include "base/Text.h"

namespace trawlix {
namespace {

std::string Thousands(std::size_t value) {
  return FormatThousands(static_cast<std::int64_t>(value));
}

bool IsFolder(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

bool Wanted(const SmallCopyOptions& kind, PhotoOrientation orientation) {
  return kind.create &&
         (kind.orientation == PhotoOrientation::Any || kind.orientation == orientation);
}

std::string Part(const char* what, std::size_t count, const SmallCopyOptions& kind) {
  return Format("%s %s with a bounding-box of %d pixels,\nstored in %s format and saved to '%s'",
                Thousands(count).c_str(), what, kind.box,
                PhotoFormatDisplayName(kind.format).c_str(), kind.folder.c_str());
}

}  // namespace

ThumbnailTool::ThumbnailTool(std::vector<std::string> photos, ThumbnailToolOptions options,
                             SmallCopyWriter writer)
    : BatchJob(std::move(photos)), options_(std::move(options)), writer_(std::move(writer)) {
  if (!writer_) writer_ = SaveResizedCopies;
}

std::optional<ThumbnailToolProblem> ThumbnailTool::Check(const ThumbnailToolOptions& options,
                                                         const std::string& saveTo,
                                                         bool createFolders) {
  const SmallCopyOptions& thumbs = options.thumbnails;
  const SmallCopyOptions& mobile = options.mobile;
  if (thumbs.create && Trim(thumbs.folder).empty())
    return ThumbnailToolProblem{ThumbnailToolField::ThumbnailFolder,
                                "Please select a destination folder for the Thumbnails."};
  if (mobile.create && Trim(mobile.folder).empty())
    return ThumbnailToolProblem{ThumbnailToolField::MobileFolder,
                                "Please select a destination folder for the Mobile Photos."};
  if (thumbs.create) {
    if (SameFolder(thumbs.folder, saveTo))
      return ThumbnailToolProblem{
          ThumbnailToolField::ThumbnailFolder,
          "The Thumbnail folder cannot be the same as the project's main folder."};
    if (!createFolders && !IsFolder(Trim(thumbs.folder)))
      return ThumbnailToolProblem{ThumbnailToolField::ThumbnailFolder,
                                  "Please select the destination folder for the Thumbnails."};
  }
  if (mobile.create) {
    if (SameFolder(mobile.folder, saveTo))
      return ThumbnailToolProblem{
          ThumbnailToolField::MobileFolder,
          "The Mobile Photos folder cannot be the same as the project's main folder."};
    if (!createFolders && !IsFolder(Trim(mobile.folder)))
      return ThumbnailToolProblem{ThumbnailToolField::MobileFolder,
                                  "Please select the destination folder for the Mobile Photos."};
  }
  return std::nullopt;
}

bool ThumbnailTool::Prepare(const std::function<void(const std::string&)>& status) {
  bool ready = true;
  const auto prepare = [&](SmallCopyOptions& kind, const char* clearing) {
    if (!kind.create) return;
    kind.folder = NormalizeFolderPath(kind.folder, TrailingSlash::Remove);
    std::error_code error;
    std::filesystem::create_directories(kind.folder, error);
    if (!IsFolder(kind.folder)) {
      ready = false;
      return;
    }
    if (!kind.clearFirst) return;
    if (status) status(clearing);
    ClearPhotoFolder(kind.folder);
  };
  prepare(options_.thumbnails, "Clearing Thumbnails folder");
  prepare(options_.mobile, "Clearing Mobile Photos folder");
  return ready;
}

std::string ThumbnailTool::ProgressText() const {
  if (Done()) return {};
  return Format("Processing photo %s of %s - %s", Thousands(NextIndex() + 1).c_str(),
                Thousands(Count()).c_str(), SplitPath(photos_[NextIndex()]).FileName().c_str());
}

bool ThumbnailTool::Handle(std::size_t index) {
  const std::string& photo = photos_[index];
  const PhotoSize size = ReadPhotoSize(photo);
  if (size.width <= 0 || size.height <= 0) return false;
  const PhotoOrientation orientation = OrientationOf(size);
  std::vector<ResizedCopy> copies;
  for (const SmallCopyOptions* kind : {&options_.thumbnails, &options_.mobile}) {
    if (!Wanted(*kind, orientation)) continue;
    copies.push_back(ResizedCopy{kind->folder, "", kind->box,
                                 PhotoEncoding(kind->format, options_.jpegQuality, options_.dpi)});
  }
  if (copies.empty()) return true;
  bool all = true;
  for (const SavedPhoto& saved : writer_(photo, copies)) all = all && saved.written;
  return all;
}

std::string ThumbnailTool::Summary() const {
  const bool thumbs = options_.thumbnails.create;
  const bool mobile = options_.mobile.create;
  std::string text;
  if (thumbs && mobile) {
    text = Format("Trawlix() PRO created %s\nand %s.",
                  Part("thumbnails", Count(), options_.thumbnails).c_str(),
                  Part("mobile photos", Count(), options_.mobile).c_str());
  } else if (thumbs) {
    text = "Trawlix() PRO created " + Part("thumbnails", Count(), options_.thumbnails);
  } else if (mobile) {
    text = "Trawlix() PRO created " + Part("mobile photos", Count(), options_.mobile);
  }
  if (!Failures().empty())
    text += Format("\n\nSeveral Photos (%s) could not be read or their copies not saved.",
                   Thousands(Failures().size()).c_str());
  return text;
}

}  // namespace trawlix
