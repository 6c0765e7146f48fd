#include <array>
#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "base/Number.h"
#include "base/Text.h"
#include "imaging/codec/PhotoProperties.h"

namespace trawlix {
namespace {

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
