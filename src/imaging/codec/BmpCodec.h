#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "imaging/codec/ByteSource.h"

namespace trawlix::bmp {

// What the headers of a Windows bitmap say, checked for consistency.
struct BmpHeader {
  int width = 0;
  int height = 0;  // always positive; topDown tells the row order
  bool topDown = false;
  int bitsPerPixel = 0;
  int compression = 0;
  std::uint32_t redMask = 0;
  std::uint32_t greenMask = 0;
  std::uint32_t blueMask = 0;
  std::uint32_t alphaMask = 0;
  int xPixelsPerMeter = 0;
  int yPixelsPerMeter = 0;
  std::uint32_t pixelOffset = 0;
  std::uint32_t paletteOffset = 0;
  int paletteEntries = 0;
  int paletteEntrySize = 4;
};

// Decoded pixels: top-down rows of 8-bit RGB (3 bands) or RGBA (4 bands), in a
// malloc'd buffer that an image may take over without a copy.
struct BmpPixels {
  struct Free {
    void operator()(std::uint8_t* p) const { std::free(p); }
  };

  int width = 0;
  int height = 0;
  int bands = 3;
  std::unique_ptr<std::uint8_t[], Free> data;
  std::size_t size = 0;

  std::span<const std::uint8_t> Bytes() const { return {data.get(), size}; }
};

inline bool LooksLikeBmp(std::string_view bytes) {
  return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
}

// Null for anything that is not a bitmap this decoder can read, or whose size
// exceeds maxPixels. The source is read piece by piece: rows stream into the decoded
// pixels, so a file is never held in memory whole.
std::optional<BmpHeader> ReadBmpHeader(const ByteSource& file, long long maxPixels);
std::optional<BmpPixels> DecodeBmp(const ByteSource& file, long long maxPixels);
std::optional<BmpHeader> ReadBmpHeader(std::string_view file, long long maxPixels);
std::optional<BmpPixels> DecodeBmp(std::string_view file, long long maxPixels);

// 24-bit bitmap for 3 bands, 32-bit with an alpha mask for 4 bands. Rows are top-down
// in `pixels`; the resolution is in pixels per metre (0 when unknown).
std::string EncodeBmp(const std::uint8_t* pixels, int width, int height, int bands,
                      int xPixelsPerMeter, int yPixelsPerMeter);

}  // namespace trawlix::bmp
