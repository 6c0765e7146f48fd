#pragma once

#include <string>

namespace trawlix {

// The eight rotate/flip combinations in their customary numbering: the rotation is
// clockwise and applied before the horizontal flip.
enum class RotateFlip : int {
  RotateNoneFlipNone = 0,
  Rotate90FlipNone = 1,
  Rotate180FlipNone = 2,
  Rotate270FlipNone = 3,
  RotateNoneFlipX = 4,
  Rotate90FlipX = 5,
  Rotate180FlipX = 6,
  Rotate270FlipX = 7,
};
// "Flip Top-Bottom" is a half turn mirrored.
inline constexpr RotateFlip kRotateNoneFlipY = RotateFlip::Rotate180FlipX;

enum class GrayscaleBackground {
  KeepTransparency,  // the batch tool
  White,             // the single-photo command: transparent parts become white
};

// Both write the target in the format named by the source's extension, with the
// encoder's default quality, through a temporary file, so the target may be the source
// and a failure leaves any file at the target untouched. False when nothing was written.
bool ConvertPhotoToGrayscale(const std::string& sourcePath, const std::string& targetPath,
                             GrayscaleBackground background);
bool RotateFlipPhoto(const std::string& sourcePath, const std::string& targetPath, RotateFlip type);

}  // namespace trawlix
