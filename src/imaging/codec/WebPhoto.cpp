#include "imaging/codec/WebPhoto.h"

#include <algorithm>
#include <string_view>

#include "imaging/codec/VipsSupport.h"
#include "platform/FileIO.h"

namespace trawlix {

namespace {

// An ISO media file whose "ftyp" box names an AVIF brand, as major or compatible brand.
bool IsAvif(std::string_view head) {
  if (head.size() < 16 || head.substr(4, 4) != "ftyp") return false;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(head[i]); };
  const std::size_t boxSize = (std::size_t{byte(0)} << 24) | (std::size_t{byte(1)} << 16) |
                              (std::size_t{byte(2)} << 8) | byte(3);
  const std::size_t end = std::min(boxSize, head.size());
  for (std::size_t brand = 8; brand + 4 <= end; brand += brand == 8 ? 8 : 4) {
    const std::string_view name = head.substr(brand, 4);
    if (name == "avif" || name == "avis") return true;
  }
  return false;
}

// The name without its extension, or the whole name when it has none.
std::string Title(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

bool HasWebPhotoExtension(const std::string& name) {
  std::string lower = name;
  for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return lower.ends_with(".webp") || lower.ends_with(".avif");
}

}  // namespace

WebPhotoFormat SniffWebPhoto(const std::string& path) {
  const std::string head = ReadFileHead(path, 64);
  if (head.size() >= 12 && head.substr(0, 4) == "RIFF" && head.substr(8, 4) == "WEBP")
    return WebPhotoFormat::WebP;
  if (IsAvif(head)) return WebPhotoFormat::Avif;
  return WebPhotoFormat::None;
}

bool ConvertWebPhotoToJpeg(const std::string& path, int jpegQuality, std::optional<int> dpi) {
  const WebPhotoFormat format = SniffWebPhoto(path);
  if (format == WebPhotoFormat::None) return false;
  imaging_internal::EnsureVips();
  try {
    auto* options = vips::VImage::option()
                        ->set("access", VIPS_ACCESS_SEQUENTIAL)
                        ->set("fail_on", VIPS_FAIL_ON_TRUNCATED);
    vips::VImage image = format == WebPhotoFormat::WebP
                             ? vips::VImage::webpload(path.c_str(), options)
                             : vips::VImage::heifload(path.c_str(), options);
    // The header is all that is read so far: refuse a photo too large to decode.
    const auto sampleBytes = static_cast<int>(vips_format_sizeof(image.format()));
    if (!imaging_internal::WithinDecodeLimits({image.width(), image.height()}, image.bands(),
                                              sampleBytes))
      return false;
    imaging_internal::EncodeRequest request;
    request.format = PhotoFormat::Jpeg;
    request.jpegQuality = jpegQuality;
    request.dpi = dpi;
    return imaging_internal::SaveReplacing(imaging_internal::ToSrgb8(image), path, request);
  } catch (const vips::VError&) {
    imaging_internal::ForgetVipsError();
    return false;
  }
}

}  // namespace trawlix

namespace trawlix {

std::optional<std::string> PrepareWebPhoto(const std::string& path, const std::string& name,
                                           int jpegQuality) {
  if (SniffWebPhoto(path) != WebPhotoFormat::None) {
    if (!ConvertWebPhotoToJpeg(path, jpegQuality, std::nullopt)) return std::nullopt;
    return Title(name) + ".jpg";
  }
  if (!HasWebPhotoExtension(name)) return name;
  const PhotoFormat format = imaging_internal::FormatOf(imaging_internal::SniffContainer(path));
  // Anything else is no photo, and is turned away when its size is read.
  return format == PhotoFormat::None ? name : Title(name) + PhotoFormatExtension(format);
}

}  // namespace trawlix
