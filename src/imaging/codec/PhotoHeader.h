#pragma once

#include <cstddef>
#include <string_view>

#include "imaging/codec/ByteSource.h"
#include "imaging/codec/PhotoFormat.h"

namespace trawlix {

// How far into a download the size is looked for. A JPEG may carry several APP segments
// of up to 64 KiB each (Exif with its thumbnail, XMP, ICC profile, maker notes) before its
// frame header, and a TIFF's first directory may lie anywhere; past this many bytes the
// whole photo is fetched and measured as usual.
inline constexpr std::size_t kPhotoHeaderLimit = 256 * 1024;

// What the first bytes of a download say about the photo's size.
struct PhotoHeader {
  enum class Verdict {
    NeedMore,  // too few bytes yet to tell
    Size,      // `size` is the photo's size, as the decoders will report it
    Unknown,   // not a JPEG, PNG, GIF, BMP or TIFF we read, a malformed header, or the size
               // lies past kPhotoHeaderLimit: more bytes will not change this
  };

  Verdict verdict = Verdict::NeedMore;
  PhotoSize size;  // only with Verdict::Size

  static PhotoHeader NeedMore() { return {Verdict::NeedMore, {}}; }
  static PhotoHeader Unknown() { return {Verdict::Unknown, {}}; }
  static PhotoHeader Known(int width, int height) { return {Verdict::Size, {width, height}}; }

  friend bool operator==(const PhotoHeader&, const PhotoHeader&) = default;
};

// The container whose signature a download begins with. WebP and AVIF are named too: a
// project that wants JPEG photos takes them.
enum class PhotoSignature { NeedMore, None, Jpeg, Png, Gif, Bmp, Tif, WebP, Avif };

// By the first bytes only (at most 64 are looked at), whatever the address or the server said.
PhotoSignature ReadPhotoSignature(std::string_view firstBytes);

// The verdict on the bytes received so far. It depends on the first kPhotoHeaderLimit
// bytes only, and once it is not NeedMore, more bytes never change it. Sides outside
// 1..kMaxPhotoSide are Unknown.
PhotoHeader ReadPhotoHeader(std::string_view firstBytes);

// A classic TIFF's size from its first directory, wherever in the file that lies (writers
// often put it after the pixels); Unknown for anything else.
PhotoHeader ReadTiffHeader(const ByteSource& photo);

}  // namespace trawlix
