#include "imaging/codec/PhotoFormat.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace trawlix {
namespace {

struct FormatRow {
  PhotoFormat format;
  const char* extension;
  const char* mimeType;
  const char* displayName;
};

constexpr std::array<FormatRow, 5> kFormats{{
    {PhotoFormat::Jpeg, ".jpg", "image/jpeg", "JPEG (Joint Photographic Experts Group)"},
    {PhotoFormat::Bmp, ".bmp", "image/bmp", "BMP (Windows Bitmap Format)"},
    {PhotoFormat::Png, ".png", "image/png", "PNG (Portable Network Graphics)"},
    {PhotoFormat::Tif, ".tif", "image/tiff", "TIF (Tagged Image File Format)"},
    {PhotoFormat::Gif, ".gif", "image/gif", "GIF (Graphics Interchange Format)"},
}};

const FormatRow* FindRow(PhotoFormat format) {
  for (const FormatRow& row : kFormats) {
    if (row.format == format) return &row;
  }
  return nullptr;
}

}  // namespace

PhotoFormat PhotoFormatFromCode(int code) {
  if (code < 0 || code > static_cast<int>(PhotoFormat::Gif)) return PhotoFormat::None;
  return static_cast<PhotoFormat>(code);
}

PhotoOrientation PhotoOrientationFromCode(int code) {
  if (code < 0 || code > static_cast<int>(PhotoOrientation::Landscape))
    return PhotoOrientation::Any;
  return static_cast<PhotoOrientation>(code);
}

PhotoFormat PhotoFormatFromPath(std::string_view path) {
  static constexpr std::array<std::pair<std::string_view, PhotoFormat>, 7> kSearchOrder{{
      {".bmp", PhotoFormat::Bmp},
      {".jpg", PhotoFormat::Jpeg},
      {".jpeg", PhotoFormat::Jpeg},
      {".png", PhotoFormat::Png},
      {".gif", PhotoFormat::Gif},
      {".tif", PhotoFormat::Tif},
      {".tiff", PhotoFormat::Tif},
  }};
  std::string lower(path);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const auto& [needle, format] : kSearchOrder) {
    std::size_t at = lower.find(needle);
    if (at != std::string::npos && at > 0) return format;
  }
  return PhotoFormat::None;
}

std::string PhotoFormatExtension(PhotoFormat format) {
  const FormatRow* row = FindRow(format);
  return row ? row->extension : "";
}

std::string PhotoFormatMimeType(PhotoFormat format) {
  const FormatRow* row = FindRow(format);
  return row ? row->mimeType : "";
}

std::string PhotoFormatDisplayName(PhotoFormat format) {
  const FormatRow* row = FindRow(format);
  return row ? row->displayName : "";
}

PhotoOrientation OrientationOf(PhotoSize size) {
  if (size.width > size.height) return PhotoOrientation::Landscape;
  if (size.height > size.width) return PhotoOrientation::Portrait;
  return PhotoOrientation::Any;
}

PhotoSize FitToBoundingBox(int width, int height, int boxWidth, int boxHeight) {
  const float photoW = static_cast<float>(width);
  const float photoH = static_cast<float>(height);
  const float boxW = static_cast<float>(boxWidth);
  const float boxH = static_cast<float>(boxHeight);
  PhotoSize fitted{width, height};
  // Each step pins one side to the box; two steps at most settle any box.
  for (int step = 0; step < 4; ++step) {
    const bool tooWide = static_cast<float>(fitted.width) > boxW;
    const bool tooHigh = static_cast<float>(fitted.height) > boxH;
    if (!tooWide && !tooHigh) break;
    const bool pinWidth = width > height ? tooWide : !tooHigh;
    if (pinWidth) {
      fitted.height = static_cast<int>((boxW / photoW) * photoH);
      fitted.width = static_cast<int>(boxW);
    } else {
      fitted.width = static_cast<int>((boxH / photoH) * photoW);
      fitted.height = static_cast<int>(boxH);
    }
  }
  return fitted;
}

}  // namespace trawlix
