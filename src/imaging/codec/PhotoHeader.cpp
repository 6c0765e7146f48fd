#include "imaging/codec/PhotoHeader.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>

#include "imaging/codec/JpegMarkers.h"
#include "imaging/codec/MemoryByteSource.h"
#include "imaging/codec/PhotoLimits.h"

namespace trawlix {
namespace {

// Multi-byte values in either byte order, from a reader's At().
template <typename Bytes>
class ByteOrder {
 public:
  std::uint32_t U16(std::uint64_t at, bool bigEndian) const {
    const auto& in = static_cast<const Bytes&>(*this);
    return bigEndian ? in.At(at) << 8 | in.At(at + 1) : in.At(at) | in.At(at + 1) << 8;
  }

  std::uint32_t U32(std::uint64_t at, bool bigEndian) const {
    return bigEndian ? U16(at, true) << 16 | U16(at + 2, true)
                     : U16(at, false) | U16(at + 2, false) << 16;
  }
};

// The bytes received so far. Every read first asks for the bytes up to its end, so the
// verdict on a prefix is NeedMore exactly where the walk would need bytes not yet there.
class Received : public ByteOrder<Received> {
 public:
  explicit Received(std::string_view bytes) : bytes_(bytes) {}

  // Null when bytes [0, end) are here; otherwise NeedMore, or Unknown when they lie past
  // the limit (which makes the verdict independent of anything after it).
  std::optional<PhotoHeader> Lacks(std::uint64_t end) const {
    if (end > kPhotoHeaderLimit) return PhotoHeader::Unknown();
    if (end > bytes_.size()) return PhotoHeader::NeedMore();
    return std::nullopt;
  }

  unsigned At(std::uint64_t at) const { return static_cast<std::uint8_t>(bytes_[at]); }

  // The bytes a verdict may depend on.
  std::string_view WithinLimit() const { return bytes_.substr(0, kPhotoHeaderLimit); }

  bool Matches(std::uint64_t at, std::string_view text) const {
    return bytes_.substr(at, text.size()) == text;
  }

  // The CRC-32 of bytes [from, to), as PNG chunks carry it.
  std::uint32_t Crc(std::uint64_t from, std::uint64_t to) const {
    return static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(bytes_.data() + from),
                                            static_cast<uInt>(to - from)));
  }

 private:
  std::string_view bytes_;
};

// A whole file, read where it is asked: bytes past its end are Unknown, as nothing follows.
class WholeFile : public ByteOrder<WholeFile> {
 public:
  explicit WholeFile(const ByteSource& source) : source_(source) {}

  std::optional<PhotoHeader> Lacks(std::uint64_t end) const {
    if (end > source_.Size()) return PhotoHeader::Unknown();
    return std::nullopt;
  }

  unsigned At(std::uint64_t at) const {
    std::uint8_t byte = 0;
    source_.ReadAt(at, &byte, 1);
    return byte;
  }

 private:
  const ByteSource& source_;
};

PhotoHeader Sized(std::int64_t width, std::int64_t height) {
  if (width < 1 || height < 1 || width > kMaxPhotoSide || height > kMaxPhotoSide)
    return PhotoHeader::Unknown();
  return PhotoHeader::Known(static_cast<int>(width), static_cast<int>(height));
}

PhotoHeader ReadJpeg(const Received& in) {
  const MemoryByteSource bytes(in.WithinLimit());
  JpegMarkerWalk walk(bytes);
  for (;;) {
    const JpegMarker marker = walk.Next();
    // A scan before any frame header, whatever its length.
    if (marker.code == 0xDA) return PhotoHeader::Unknown();
    switch (marker.kind) {
      case JpegMarker::Kind::Short:
        return in.Lacks(marker.needed).value_or(PhotoHeader::Unknown());
      // Decoders skip stray bytes between segments with a warning; a header that has them
      // is not one whose size we vouch for.
      case JpegMarker::Kind::Invalid:
        return PhotoHeader::Unknown();
      case JpegMarker::Kind::StandAlone:  // RSTn and TEM may stand anywhere; not SOI or EOI
        if (marker.code == 0xD8 || marker.code == 0xD9) return PhotoHeader::Unknown();
        continue;
      case JpegMarker::Kind::Segment:
        break;
    }
    if (IsStartOfFrame(marker.code)) {
      // Length, precision, height, width, component count, then three bytes a component.
      const std::uint64_t at = marker.at + 2;
      if (auto lack = in.Lacks(at + 8)) return *lack;
      const unsigned components = in.At(at + 7);
      if (components == 0 || marker.length != 8 + 3 * components) return PhotoHeader::Unknown();
      // A height of 0 defers it to a DNL marker after the first scan: Unknown, as decoders
      // refuse such files anyway.
      return Sized(in.U16(at + 5, true), in.U16(at + 3, true));
    }
    // APPn, COM, DQT, DHT, DRI and the rest are walked over.
  }
}

bool PngDepthFits(unsigned colourType, unsigned depth) {
  switch (colourType) {
    case 0:  // grey
      return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3:  // palette
      return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:  // RGB
    case 4:  // grey and alpha
    case 6:  // RGBA
      return depth == 8 || depth == 16;
    default:
      return false;
  }
}

PhotoHeader ReadPng(const Received& in) {
  // The signature, then IHDR, which must come first: length, type, 13 bytes, CRC.
  constexpr std::uint64_t kData = 16;
  if (auto lack = in.Lacks(kData + 13 + 4)) return *lack;
  if (in.U32(8, true) != 13 || !in.Matches(12, "IHDR")) return PhotoHeader::Unknown();
  if (in.Crc(12, kData + 13) != in.U32(kData + 13, true)) return PhotoHeader::Unknown();
  const unsigned depth = in.At(kData + 8);
  const unsigned colourType = in.At(kData + 9);
  const bool methodsKnown =
      in.At(kData + 10) == 0 && in.At(kData + 11) == 0 && in.At(kData + 12) <= 1;
  if (!PngDepthFits(colourType, depth) || !methodsKnown) return PhotoHeader::Unknown();
  return Sized(in.U32(kData, true), in.U32(kData + 4, true));
}

// Logical screen sizes that the GIF decoder distrusts (common desktop sizes that
// some writers put there regardless of the picture, and nonsense): it starts from 1 x 1
// instead and lets the first frame set the size.
bool ScreenDistrusted(std::uint32_t width, std::uint32_t height) {
  static constexpr std::array<std::array<std::uint32_t, 2>, 6> kDesktops{
      {{640, 480}, {640, 512}, {800, 600}, {1024, 768}, {1280, 1024}, {1600, 1200}}};
  const bool desktop = std::find(kDesktops.begin(), kDesktops.end(),
                                 std::array<std::uint32_t, 2>{width, height}) != kDesktops.end();
  return desktop || width == 0 || height == 0 || width > 2048 || height > 2048;
}

// A GIF's frames are drawn onto its logical screen, so the screen is the photo's size,
// not any frame's. The decoder enlarges it to hold the first frame when that frame spills
// over (later frames are clipped), so the walk goes on to the first image descriptor.
PhotoHeader ReadGif(const Received& in) {
  if (auto lack = in.Lacks(13)) return *lack;
  std::uint32_t width = in.U16(6, false);
  std::uint32_t height = in.U16(8, false);
  if (ScreenDistrusted(width, height)) width = height = 1;
  const unsigned flags = in.At(10);
  std::uint64_t at = 13;
  if ((flags & 0x80) != 0) at += 3u << ((flags & 7) + 1);  // global colour table
  for (;;) {
    if (auto lack = in.Lacks(at + 1)) return *lack;
    const unsigned block = in.At(at);
    if (block == 0x2C) {  // image descriptor: left, top, width, height
      if (auto lack = in.Lacks(at + 9)) return *lack;
      width = std::max(width, in.U16(at + 1, false) + in.U16(at + 5, false));
      height = std::max(height, in.U16(at + 3, false) + in.U16(at + 7, false));
      return Sized(width, height);
    }
    if (block != 0x21) return PhotoHeader::Unknown();  // the trailer before any frame, or junk
    if (auto lack = in.Lacks(at + 3)) return *lack;
    // The decoder takes an extension's first sub-block as its fixed part even when empty;
    // only comments start with ordinary sub-blocks. Where the two readings part, give up.
    const bool comment = in.At(at + 1) == 0xFE;
    if (!comment && in.At(at + 2) == 0) return PhotoHeader::Unknown();
    at += 2;
    for (;;) {  // sub-blocks up to the empty one
      if (auto lack = in.Lacks(at + 1)) return *lack;
      const unsigned size = in.At(at);
      at += 1 + size;
      if (size == 0) break;
    }
  }
}

// Header sizes our bitmap decoder reads: OS/2 1.x (12 bytes, 16-bit sides), OS/2 2.x
// (16 and 64) and the Windows info headers up to version 5.
bool KnownBmpInfoSize(std::uint32_t size) {
  static constexpr std::array<std::uint32_t, 8> kSizes{12, 16, 40, 52, 56, 64, 108, 124};
  return std::find(kSizes.begin(), kSizes.end(), size) != kSizes.end();
}

PhotoHeader ReadBmp(const Received& in) {
  constexpr std::uint64_t kInfo = 14;  // after the file header
  if (auto lack = in.Lacks(kInfo + 4)) return *lack;
  const std::uint32_t infoSize = in.U32(kInfo, false);
  if (!KnownBmpInfoSize(infoSize)) return PhotoHeader::Unknown();
  if (infoSize == 12) {
    if (auto lack = in.Lacks(kInfo + 8)) return *lack;
    return Sized(in.U16(kInfo + 4, false), in.U16(kInfo + 6, false));
  }
  if (auto lack = in.Lacks(kInfo + 12)) return *lack;
  const auto width = static_cast<std::int32_t>(in.U32(kInfo + 4, false));
  // Negative for rows stored top-down.
  const auto height = static_cast<std::int32_t>(in.U32(kInfo + 8, false));
  if (height == std::numeric_limits<std::int32_t>::min()) return PhotoHeader::Unknown();
  return Sized(width, height < 0 ? -height : height);
}

// Classic TIFF only: the first directory's ImageWidth and ImageLength, as SHORT or LONG.
template <typename Bytes>
PhotoHeader ReadTiff(const Bytes& in) {
  constexpr std::uint32_t kImageWidth = 256;
  constexpr std::uint32_t kImageLength = 257;
  constexpr std::uint32_t kShort = 3;
  constexpr std::uint32_t kLong = 4;
  constexpr std::uint64_t kEntrySize = 12;
  if (auto lack = in.Lacks(8)) return *lack;
  const bool big = in.At(0) == 'M';
  const std::uint64_t directory = in.U32(4, big);
  if (directory < 8) return PhotoHeader::Unknown();  // inside the file header
  if (auto lack = in.Lacks(directory + 2)) return *lack;
  const std::uint64_t entries = in.U16(directory, big);
  if (entries == 0) return PhotoHeader::Unknown();
  if (auto lack = in.Lacks(directory + 2 + entries * kEntrySize)) return *lack;
  std::optional<std::uint32_t> width;
  std::optional<std::uint32_t> height;
  for (std::uint64_t i = 0; i < entries; ++i) {
    const std::uint64_t entry = directory + 2 + i * kEntrySize;
    const std::uint32_t tag = in.U16(entry, big);
    if (tag != kImageWidth && tag != kImageLength) continue;
    std::optional<std::uint32_t>& side = tag == kImageWidth ? width : height;
    const std::uint32_t type = in.U16(entry + 2, big);
    // A repeated tag, an array or another type: readers differ on such files.
    if (side || in.U32(entry + 4, big) != 1 || (type != kShort && type != kLong))
      return PhotoHeader::Unknown();
    // A single value sits at the start of the value field, in the file's byte order.
    side = type == kShort ? in.U16(entry + 8, big) : in.U32(entry + 8, big);
  }
  if (!width || !height) return PhotoHeader::Unknown();
  return Sized(*width, *height);
}

struct Signature {
  std::string_view magic;
  PhotoHeader (*read)(const Received&);
  PhotoSignature container;
};

constexpr std::array<Signature, 7> kSignatures{{
    {{"\xFF\xD8", 2}, ReadJpeg, PhotoSignature::Jpeg},
    {{"\x89PNG\r\n\x1A\n", 8}, ReadPng, PhotoSignature::Png},
    {"GIF87a", ReadGif, PhotoSignature::Gif},
    {"GIF89a", ReadGif, PhotoSignature::Gif},
    {"BM", ReadBmp, PhotoSignature::Bmp},
    {{"II*\0", 4}, ReadTiff<Received>, PhotoSignature::Tif},
    {{"MM\0*", 4}, ReadTiff<Received>, PhotoSignature::Tif},
}};

constexpr std::size_t kBrandBytes = 64;

// An ISO media file whose "ftyp" box names an AVIF brand, as its major or a compatible brand
// among the box's first kBrandBytes.
PhotoSignature ReadMediaBrands(std::string_view head) {
  const Received in(head);
  const std::uint64_t box = std::min<std::uint64_t>(in.U32(0, true), kBrandBytes);
  for (std::uint64_t brand = 8; brand + 4 <= box; brand += brand == 8 ? 8 : 4) {
    if (brand + 4 > head.size()) return PhotoSignature::NeedMore;
    const std::string_view name = head.substr(brand, 4);
    if (name == "avif" || name == "avis") return PhotoSignature::Avif;
  }
  return PhotoSignature::None;
}

}  // namespace

PhotoSignature ReadPhotoSignature(std::string_view firstBytes) {
  bool couldStillMatch = false;
  for (const Signature& signature : kSignatures) {
    if (firstBytes.starts_with(signature.magic)) return signature.container;
    couldStillMatch = couldStillMatch || signature.magic.starts_with(firstBytes);
  }
  if (firstBytes.size() < 12) return PhotoSignature::NeedMore;
  if (firstBytes.starts_with("RIFF") && firstBytes.substr(8, 4) == "WEBP")
    return PhotoSignature::WebP;
  if (firstBytes.substr(4, 4) == "ftyp") return ReadMediaBrands(firstBytes);
  return couldStillMatch ? PhotoSignature::NeedMore : PhotoSignature::None;
}

PhotoHeader ReadPhotoHeader(std::string_view firstBytes) {
  const Received in(firstBytes);
  bool couldStillMatch = false;
  for (const Signature& signature : kSignatures) {
    if (firstBytes.starts_with(signature.magic)) return signature.read(in);
    couldStillMatch = couldStillMatch || signature.magic.starts_with(firstBytes);
  }
  return couldStillMatch ? PhotoHeader::NeedMore() : PhotoHeader::Unknown();
}

PhotoHeader ReadTiffHeader(const ByteSource& photo) {
  char magic[4] = {};
  const std::string_view signature(magic, photo.ReadAt(0, magic, sizeof magic));
  if (signature != std::string_view("II*\0", 4) && signature != std::string_view("MM\0*", 4))
    return PhotoHeader::Unknown();
  return ReadTiff(WholeFile(photo));
}

}  // namespace trawlix
