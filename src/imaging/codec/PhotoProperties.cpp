#include "imaging/codec/PhotoProperties.h"

#include <array>
#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "base/Number.h"
#include "base/Text.h"
#include "imaging/codec/VipsSupport.h"

namespace trawlix {
namespace {

using imaging_internal::Container;
using vips::VImage;

// Files that carry no resolution read as the screen's.
constexpr double kDefaultDpi = 96.0;

RawFormat RawFormatOf(Container container) {
  switch (container) {
    case Container::Jpeg:
      return RawFormat::Jpeg;
    case Container::Png:
      return RawFormat::Png;
    case Container::Gif:
      return RawFormat::Gif;
    case Container::Tiff:
      return RawFormat::Tiff;
    case Container::Bmp:
      return RawFormat::Bmp;
    default:
      return RawFormat::Undefined;
  }
}

PixelFormat IndexedByDepth(int bits) {
  if (bits <= 1) return PixelFormat::Indexed1;
  if (bits <= 4) return PixelFormat::Indexed4;
  return PixelFormat::Indexed8;
}

PixelFormat BmpPixelFormat(const bmp::BmpHeader& h) {
  switch (h.bitsPerPixel) {
    case 1:
    case 4:
    case 8:
      return IndexedByDepth(h.bitsPerPixel);
    case 16:
      if (h.alphaMask != 0) return PixelFormat::Argb1555;
      return h.greenMask == 0x07E0 ? PixelFormat::Rgb565 : PixelFormat::Rgb555;
    case 24:
      return PixelFormat::Rgb24;
    default:
      return h.alphaMask != 0 ? PixelFormat::Argb32 : PixelFormat::Rgb32;
  }
}

// A decoder that hands out palettes reports palette photos as indexed; everything
// else decodes to 24-bit RGB, 32-bit ARGB or, at 16 bits a sample, 48/64 bits.
PixelFormat DecodedPixelFormat(const imaging_internal::LoadedPhoto& photo) {
  if (photo.bmpHeader) return BmpPixelFormat(*photo.bmpHeader);
  const VImage& image = photo.image;
  if (photo.container == Container::Gif) return PixelFormat::Indexed8;
  if (image.get_typeof("palette-bit-depth") != 0)
    return IndexedByDepth(image.get_int("palette-bit-depth"));
  const bool wide = image.format() == VIPS_FORMAT_USHORT;
  const bool alpha = image.has_alpha();
  if (image.bands() == 1 && !wide)
    return PixelFormat::Indexed8;  // grey photos come with a grey palette
  if (image.bands() == 1) return PixelFormat::Gray16;
  if (wide) return alpha ? PixelFormat::Argb64 : PixelFormat::Rgb48;
  return alpha ? PixelFormat::Argb32 : PixelFormat::Rgb24;
}

double DpiOf(double pixelsPerMillimetre) {
  // vips reads a missing resolution as one pixel per millimetre.
  if (pixelsPerMillimetre <= 0 || pixelsPerMillimetre == 1.0) return kDefaultDpi;
  return pixelsPerMillimetre * 25.4;
}

std::string LastSavedText(std::filesystem::file_time_type lastWrite) {
  const auto system = std::chrono::file_clock::to_sys(lastWrite);
  const std::time_t when = std::chrono::system_clock::to_time_t(system);
  std::tm local{};
  if (localtime_r(&when, &local) == nullptr) return {};
  std::array<char, 128> text{};
  const std::size_t length =
      std::strftime(text.data(), text.size(), "%A, %B %d, %Y, %I:%M:%S%p", &local);
  return std::string(text.data(), length);
}

}  // namespace

std::string DescribePixelFormat(PixelFormat format) {
  switch (format) {
    case PixelFormat::Indexed1:
      return "1 BPP, indexed";
    case PixelFormat::Indexed4:
      return "4 BPP, indexed";
    case PixelFormat::Indexed8:
      return "8 BPP, indexed";
    case PixelFormat::Gray16:
      return "16 BPP, grayscale";
    case PixelFormat::Rgb555:
      return "16 BPP (RGB555)";
    case PixelFormat::Rgb565:
      return "16 BPP (RGB565)";
    case PixelFormat::Argb1555:
      return "16 BPP - Alpha";
    case PixelFormat::Rgb24:
      return "24 BPP (RGB888)";
    case PixelFormat::Rgb32:
      return "32 BPP (RGB)";
    case PixelFormat::Argb32:
      return "32 BBP (ARGB888)";
    case PixelFormat::Pargb32:
      return "32 BPP (PARGB8x8x8xA)";
    case PixelFormat::Rgb48:
      return "48 BBP (RGB16x16x16)";
    case PixelFormat::Argb64:
      return "64 BPP (ARGB16x16x16x16)";
    case PixelFormat::Pargb64:
      return "64 BPP (PARGB16x16x16xA)";
    default:
      return "Unknown Pixel Format";
  }
}

std::string DescribeRawFormat(RawFormat format) {
  switch (format) {
    case RawFormat::Bmp:
      return "(BMP) Windows Bitmap";
    case RawFormat::Emf:
      return "(EMF) Enhanced Metafile";
    case RawFormat::Exif:
      return "(Exif) Exchangeable File";
    case RawFormat::Gif:
      return "(GIF) Graphics Interchage format";
    case RawFormat::Icon:
      return "(ICO) Icon format";
    case RawFormat::Jpeg:
      return "(JPEG) Joint Photographic Experts Group";
    case RawFormat::Png:
      return "(PNG) Portable Network Graphics";
    case RawFormat::Tiff:
      return "(TIFF) Tagged Image File Format";
    case RawFormat::Undefined:
      return "Unknown Image format";
    case RawFormat::Wmf:
      return "(WMF) Window Metafile Format";
    default:
      return "";
  }
}

PhotoDetails ReadPhotoDetails(const std::string& path) {
  PhotoDetails details;
  try {
    std::optional<imaging_internal::LoadedPhoto> photo =
        imaging_internal::LoadPhoto(path, imaging_internal::Access::HeaderOnly);
    if (!photo) return details;
    details.size = photo->size;
    details.rawFormat = RawFormatOf(photo->container);
    details.pixelFormat = DecodedPixelFormat(*photo);
    if (photo->bmpHeader) {
      details.dpiX = DpiOf(photo->bmpHeader->xPixelsPerMeter / 1000.0);
      details.dpiY = DpiOf(photo->bmpHeader->yPixelsPerMeter / 1000.0);
    } else {
      details.dpiX = DpiOf(photo->image.xres());
      details.dpiY = DpiOf(photo->image.yres());
    }
  } catch (const vips::VError&) {
    imaging_internal::ForgetVipsError();
  }
  return details;
}

std::string ShortenPathWithEllipsis(std::string_view path, std::size_t maxChars) {
  static constexpr std::string_view kEllipsis = "...";
  if (path.size() <= maxChars) return std::string(path);
  if (maxChars <= kEllipsis.size()) return std::string(kEllipsis.substr(0, maxChars));
  const std::size_t slash = path.rfind('/');
  const std::string_view tail = slash == std::string_view::npos ? path : path.substr(slash);
  const std::size_t room = maxChars - kEllipsis.size();
  if (tail.size() >= room) {
    // Not even the file name fits: keep its end, where the extension is.
    return std::string(kEllipsis) + std::string(tail.substr(tail.size() - room));
  }
  return std::string(path.substr(0, room - tail.size())) + std::string(kEllipsis) +
         std::string(tail);
}

std::string FormatPhotoProperties(const FileInfo& file, std::size_t locationChars) {
  const std::string location = ShortenPathWithEllipsis(file.path, locationChars);
  // A photo deleted or moved since the viewer listed it has no date, size or format to show.
  std::error_code error;
  if (!std::filesystem::exists(file.path, error)) {
    return Format(
        "Location:\t\t\t%s\nStatus:\t\t\tThis file no longer exists (it was deleted or "
        "moved).",
        location.c_str());
  }
  const PhotoDetails details = ReadPhotoDetails(file.path);
  return Format(
      "Location:\t\t\t%s\nSize on Disk:\t\t\t%s\nLast Saved:\t\t\t%s\nWidth x Height:\t\t\t%s x %s "
      "pixels\nResolution:\t\t\t%s DPI\nPhoto Format:\t\t\t%s\nPixel Format:\t\t\t%s",
      location.c_str(), FormatByteSize(static_cast<std::int64_t>(file.size)).c_str(),
      LastSavedText(file.lastWrite).c_str(), FormatThousands(details.size.width).c_str(),
      FormatThousands(details.size.height).c_str(),
      FormatThousands(static_cast<std::int64_t>(std::trunc(details.dpiY + 0.005))).c_str(),
      DescribeRawFormat(details.rawFormat).c_str(),
      DescribePixelFormat(details.pixelFormat).c_str());
}

}  // namespace trawlix
