#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "imaging/codec/PhotoFormat.h"

namespace trawlix {

// A photo shrunk into memory for the screen: 8-bit sRGB, 3 bands (RGB) or 4 (RGBA, not
// premultiplied), rows packed without padding.
struct DecodedThumbnail {
  int width = 0;
  int height = 0;
  int bands = 3;
  PhotoSize photoSize;  // the photo's own size, as its header gives it
  std::vector<std::uint8_t> pixels;
};

// Decodes the photo at the size that fits the box, never larger than the photo. A JPEG is
// decoded at a fraction of its size (shrink-on-load), never whole. Nothing when the file is
// missing, damaged, not one of the photo formats or beyond the pixel limits. Safe to call
// from several threads at once.
std::optional<DecodedThumbnail> DecodeThumbnail(const std::string& path, int boxWidth,
                                                int boxHeight);

}  // namespace trawlix
