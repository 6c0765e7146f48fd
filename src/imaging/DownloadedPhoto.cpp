// What a scan asks of each download before storing it: its size from its header, and
// a name in one of the five formats. Both reach for the pixel library only for the few
// photos their own readers cannot settle.

#include <algorithm>
#include <optional>
#include <string>

#include "base/Text.h"
#include "imaging/codec/Container.h"
#include "imaging/codec/FileByteSource.h"
#include "imaging/codec/PhotoCodec.h"
#include "imaging/codec/PhotoHeader.h"
#include "imaging/codec/WebPhoto.h"

namespace trawlix {

namespace {

// The first `bytes` of a photo; fewer when it is shorter or cannot be read.
std::string ReadHead(const FileByteSource& photo, std::size_t bytes) {
  std::string head(static_cast<std::size_t>(std::min<std::uint64_t>(bytes, photo.Size())), '\0');
  head.resize(photo.ReadAt(0, head.data(), head.size()));
  return head;
}

// Most photos show their size in their first few kilobytes.
constexpr std::size_t kFirstLook = 16 * 1024;
// Eight bytes a pixel (four 16-bit samples) is the most any layout needs.
constexpr long long kMostBytesPerPixel = 8;

// The name without its extension, or the whole name when it has none.
std::string Title(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

bool HasWebPhotoExtension(const std::string& name) {
  const std::string lower = ToLowerAscii(name);
  return lower.ends_with(".webp") || lower.ends_with(".avif");
}

}  // namespace

PhotoSize ReadPhotoSizeQuickly(const std::string& path) {
  PhotoHeader header;
  {
    const FileByteSource photo(path);
    header = ReadPhotoHeader(ReadHead(photo, kFirstLook));
    if (header.verdict == PhotoHeader::Verdict::NeedMore && photo.Size() > kFirstLook)
      header = ReadPhotoHeader(ReadHead(photo, kPhotoHeaderLimit));
    if (header.verdict != PhotoHeader::Verdict::Size) header = ReadTiffHeader(photo);
  }
  const PhotoSize size = header.size;
  if (header.verdict == PhotoHeader::Verdict::Size &&
      static_cast<long long>(size.width) * size.height * kMostBytesPerPixel <= kMaxDecodedBytes)
    return size;
  return ReadPhotoSize(path);
}

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
