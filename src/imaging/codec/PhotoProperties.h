#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "imaging/codec/PhotoFormat.h"
#include "imaging/tools/FileList.h"

namespace trawlix {

// Pixel layouts under the names Windows users know them by.
enum class PixelFormat {
  Indexed1,
  Indexed4,
  Indexed8,
  Gray16,
  Rgb555,
  Rgb565,
  Argb1555,
  Rgb24,
  Rgb32,
  Argb32,
  Pargb32,
  Rgb48,
  Argb64,
  Pargb64,
  Unknown,
};

// Containers as the photo properties name them; MemoryBmp (a decoded bitmap with no
// file behind it) has no name.
enum class RawFormat { Bmp, Emf, Exif, Gif, Icon, Jpeg, Png, Tiff, Undefined, Wmf, MemoryBmp };

std::string DescribePixelFormat(PixelFormat format);  // "24 BPP (RGB888)"
std::string DescribeRawFormat(RawFormat format);      // "(JPEG) Joint Photographic Experts Group"

struct PhotoDetails {
  PhotoSize size;
  double dpiX = 0;
  double dpiY = 0;
  RawFormat rawFormat = RawFormat::Undefined;
  PixelFormat pixelFormat = PixelFormat::Unknown;
};

// Read from the header; a file that cannot be read gives 0x0, no resolution,
// Undefined and Unknown.
PhotoDetails ReadPhotoDetails(const std::string& path);

// Shortens a path to at most maxChars characters by putting "..." in place of the
// middle, keeping the file name whole when it fits.
std::string ShortenPathWithEllipsis(std::string_view path, std::size_t maxChars);

// The text of the photo properties panel. The location is shortened to
// locationChars characters. A file that no longer exists gets its location and that status.
std::string FormatPhotoProperties(const FileInfo& file, std::size_t locationChars);

}  // namespace trawlix
