#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "imaging/PhotoFormat.h"

namespace trawlix::testing {

using Rgba = std::array<std::uint8_t, 4>;
using PixelFn = std::function<Rgba(int x, int y)>;

enum class PhotoKind { Opaque, WithAlpha, Palette };

// A smooth colour ramp, different in every pixel.
Rgba Ramp(int x, int y);

// Writes a photo drawn by `pixel` with vips' own encoders (BMP with ImageMagick's
// through vips), so that the decoders under test read files they did not write.
void WritePhoto(const std::string& path, PhotoFormat format, int width, int height,
                PhotoKind kind = PhotoKind::Opaque, const PixelFn& pixel = Ramp);

void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

// The container the file's first bytes announce (None when unknown).
PhotoFormat SniffedFormat(const std::string& path);

// RGBA of one pixel as decoded by vips (alpha 255 for opaque photos).
Rgba PixelAt(const std::string& path, int x, int y);
int BandsOf(const std::string& path);
// Vertical resolution in dots per inch as stored in the file.
double DpiOf(const std::string& path);

// A tiny valid photo whose header is patched to claim width x height.
std::string PhotoClaimingSize(PhotoFormat format, int width, int height);

}  // namespace trawlix::testing
