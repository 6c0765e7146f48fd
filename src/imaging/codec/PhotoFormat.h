#pragma once

#include <string>
#include <string_view>

namespace trawlix {

// Photo format codes as stored in the project fields ConvertToFormat, ThumbnailFormat
// and MobileFormat.
enum class PhotoFormat : int { None = -1, Jpeg = 0, Bmp = 1, Png = 2, Tif = 3, Gif = 4 };

// Orientation codes as stored in Orientation, ThumbnailOrientation and MobileOrientation.
enum class PhotoOrientation : int { Any = 0, Portrait = 1, Landscape = 2 };

struct PhotoSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const PhotoSize&, const PhotoSize&) = default;
};

// A stored code; anything out of range is PhotoFormat::None.
PhotoFormat PhotoFormatFromCode(int code);
// A stored orientation code; anything out of range is Any.
PhotoOrientation PhotoOrientationFromCode(int code);

// Substring test on the lower-cased path (not only the final extension): the first of
// ".bmp", ".jpg", ".jpeg", ".png", ".gif", ".tif", ".tiff" found after the first
// character decides, so photo.bmp.jpg is BMP.
PhotoFormat PhotoFormatFromPath(std::string_view path);

// ".jpg", "image/jpeg", "JPEG (Joint Photographic Experts Group)" and so on; empty for
// PhotoFormat::None.
std::string PhotoFormatExtension(PhotoFormat format);
std::string PhotoFormatMimeType(PhotoFormat format);
std::string PhotoFormatDisplayName(PhotoFormat format);

// Landscape when wider than high, portrait when higher than wide, otherwise Any.
PhotoOrientation OrientationOf(PhotoSize size);

// Fits a photo into a box without enlarging it. Single-precision ratios truncated toward
// zero, as the stored thumbnails were always sized: 1001x750 in a 100 box is 100x74.
PhotoSize FitToBoundingBox(int width, int height, int boxWidth, int boxHeight);

}  // namespace trawlix
