#include "imaging/tools/GrayscaleTool.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "base/Number.h"
#include "base/Path.h"
#include "base/Text.h"
#include "imaging/PhotoNaming.h"
#include "imaging/codec/PhotoCodec.h"
#include "imaging/codec/PhotoTransforms.h"
#include "platform/FileMove.h"

namespace trawlix {
namespace {

std::string Thousands(std::size_t value) {
  return FormatThousands(static_cast<std::int64_t>(value));
}

}  // namespace

GrayscaleTool::GrayscaleTool(std::vector<std::string> photos, GrayscaleToolOptions options,
                             GrayscaleConverter converter)
    : BatchJob(std::move(photos)), options_(std::move(options)), converter_(std::move(converter)) {
  if (!converter_) {
    converter_ = [](const std::string& source, const std::string& target) {
      return ConvertPhotoToGrayscale(source, target, GrayscaleBackground::KeepTransparency);
    };
  }
}

std::string GrayscaleTool::ProgressText() const {
  if (Done()) return {};
  return Format("Converting Photo #%s of %s: %s", Thousands(NextIndex() + 1).c_str(),
                Thousands(Count()).c_str(), SplitPath(photos_[NextIndex()]).FileName().c_str());
}

bool GrayscaleTool::Handle(std::size_t index) {
  const std::string photo = photos_[index];
  const PathParts parts = SplitPath(photo);
  if (!options_.replace) {
    // Never over a file already there: it may be an original of the project or the copy of
    // a photo of the same name from another folder.
    std::optional<std::string> target =
        NormalizeFolderPath(options_.folder, TrailingSlash::Add) + parts.FileName();
    if (PathExists(*target)) target = MakeLetterSuffixedName(*target);
    if (!target) return false;
    if (converter_(photo, *target) && PathExists(*target)) return true;
    RemoveFile(*target);
    return false;
  }
  const std::string parked =
      MakeTempPhotoPath(NormalizeFolderPath(parts.folder, TrailingSlash::Remove), parts.extension);
  if (parked.empty() || !RenameWithoutReplacing(photo, parked)) return false;
  if (converter_(parked, photo) && PathExists(photo)) {
    RemoveFile(parked);
    return true;
  }
  RemoveFile(photo);
  RenameWithoutReplacing(parked, photo);
  return false;
}

std::string GrayscaleTool::Summary() const {
  if (!Failures().empty())
    return Format("Several Photos (%s) could not be converted to grayscale.",
                  Thousands(Failures().size()).c_str());
  if (options_.replace)
    return Format("Successfully converted %s photos to grayscale (Replacing existing photos).",
                  Thousands(Count()).c_str());
  return Format("Successfully converted %s photos to grayscale\nand saved to: '%s'",
                Thousands(Count()).c_str(), options_.folder.c_str());
}

}  // namespace trawlix
