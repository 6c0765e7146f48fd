#include "operations/PhotoCommands.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "imaging/PhotoNaming.h"
#include "imaging/codec/PhotoCodec.h"
#include "imaging/codec/PhotoProperties.h"
#include "imaging/codec/PhotoTransforms.h"
#include "imaging/tools/FileList.h"
#include "platform/FileIO.h"

namespace trawlix {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kPropertiesLocationChars = 64;

std::string FileNameOf(const std::string& path) {
  return fs::path(path).filename().string();
}

bool Transform(const std::string& source, const std::string& target, PhotoTransform transform) {
  switch (transform) {
    case PhotoTransform::RotateRight:
      return RotateFlipPhoto(source, target, RotateFlip::Rotate90FlipNone);
    case PhotoTransform::Mirror:
      return RotateFlipPhoto(source, target, RotateFlip::RotateNoneFlipX);
    case PhotoTransform::FlipTopBottom:
      return RotateFlipPhoto(source, target, kRotateNoneFlipY);
    case PhotoTransform::Grayscale:
      return ConvertPhotoToGrayscale(source, target, GrayscaleBackground::White);
  }
  return false;
}

}  // namespace

bool TransformReplacesPhoto(const SettingsValues& values, bool controlHeld) {
  return values.PhotoTransformBehavior == 1 && !controlHeld;
}

TransformResult TransformPhoto(const std::string& photoPath, PhotoTransform transform,
                               bool replace) {
  std::error_code error;
  if (!fs::is_regular_file(photoPath, error)) return {TransformOutcome::Failed, {}};
  if (replace) {
    if (!Transform(photoPath, photoPath, transform)) return {TransformOutcome::Failed, {}};
    return {TransformOutcome::Replaced, photoPath};
  }
  const std::optional<std::string> copy = MakeLetterSuffixedName(photoPath);
  if (!copy) return {TransformOutcome::NoFreeName, {}};
  // A failed save must not leave a file the viewer would list as a photo.
  if (!Transform(photoPath, *copy, transform) || !fs::is_regular_file(*copy, error)) {
    return {TransformOutcome::Failed, {}};
  }
  return {TransformOutcome::Copied, *copy};
}

std::string TransformFailureText(const TransformResult& result, const std::string& photoPath) {
  switch (result.outcome) {
    case TransformOutcome::Replaced:
    case TransformOutcome::Copied:
      return {};
    case TransformOutcome::NoFreeName:
      return "The photo '" + FileNameOf(photoPath) +
             "' was not changed: every name for a new copy of it is taken.";
    case TransformOutcome::Failed:
      break;
  }
  return "The photo '" + FileNameOf(photoPath) + "' could not be changed. It was left as it was.";
}

std::string DeletePhotoQuestion(const std::string& photoPath) {
  return "Are you sure you want to delete the photo '" + FileNameOf(photoPath) +
         "?'\n\nImportant: This action cannot be undone.";
}

bool DeletePhotoFile(const std::string& photoPath) {
  std::error_code error;
  return fs::remove(photoPath, error) && !error;
}

std::string DeleteFailureText(const std::string& photoPath) {
  return "The photo '" + FileNameOf(photoPath) + "' could not be deleted.";
}

int CurrentAfterDelete(int index, int remaining, VisibleRows visible) {
  if (remaining <= 0) return -1;
  int current = index;
  if (current >= remaining || current < visible.first || current > visible.last) --current;
  return std::clamp(current, 0, remaining - 1);
}

std::string CopyPhotoFilter(const std::string& photoPath) {
  std::string extension = fs::path(photoPath).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  const PhotoFormat format = PhotoFormatFromPath(photoPath);
  const std::string name =
      format == PhotoFormat::None ? std::string("Photo") : PhotoFormatDisplayName(format);
  return name + " (*" + extension + ")";
}

bool CopyPhotoTo(const std::string& photoPath, const std::string& targetPath) {
  std::error_code error;
  if (!fs::is_regular_file(photoPath, error)) return false;
  if (fs::equivalent(photoPath, targetPath, error)) return true;
  // Half a copy must never stand where the user's file was.
  const std::string part = targetPath + ".part";
  if (!CopyFileReplacing(photoPath, part)) {
    fs::remove(part, error);
    return false;
  }
  fs::rename(part, targetPath, error);
  if (error) {
    fs::remove(part, error);
    return false;
  }
  return true;
}

bool WriteWallpaper(const std::string& photoPath, const std::string& wallpaperPath,
                    WallpaperStyle style, PhotoSize screen) {
  const PhotoSize size = ReadPhotoSize(photoPath);
  if (size.width <= 0 || size.height <= 0) return false;
  std::optional<int> box;
  const bool toScreen = style == WallpaperStyle::CenteredResized || style == WallpaperStyle::Fit;
  if (toScreen && screen.width > 0 && screen.height > 0) {
    const PhotoSize fitted = FitToBoundingBox(size.width, size.height, screen.width, screen.height);
    // Fitting into a square of the longer fitted side gives the same picture.
    if (fitted.width < size.width || fitted.height < size.height) {
      box = std::max(fitted.width, fitted.height);
    }
  }
  const fs::path target(wallpaperPath);
  return SavePhotoAs(photoPath, target.parent_path().string(), target.filename().string(), box,
                     PhotoEncoding(PhotoFormat::Bmp))
      .written;
}

std::string PhotoPropertiesText(const std::string& photoPath) {
  return FormatPhotoProperties(FileInfoOf(photoPath), kPropertiesLocationChars);
}

}  // namespace trawlix
