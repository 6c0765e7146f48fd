#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "imaging/codec/PhotoFormat.h"
#include "support/TempDir.h"

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

// Every decoded sample with the image's layout, as vips gives it: equal strings mean the
// same pixels.
std::string DecodedPixels(const std::string& path);

// The PNG checksum.
std::uint32_t Crc32(const std::string& bytes);

// A PNG that declares width x height at that bit depth and colour type, with an empty
// image stream: enough for a header to be read, nothing to decode.
std::string PngHeaderClaiming(int width, int height, int bitDepth, int colourType);

// A 4 x 3 uncompressed RGB TIFF in either byte order, with or without resolution tags.
std::string MinimalTiff(bool bigEndian, bool withResolution);

// A tiny valid photo whose header is patched to claim width x height.
std::string PhotoClaimingSize(PhotoFormat format, int width, int height);

// A fresh folder per test, with the image library started.
class PhotoTest : public ::testing::Test {
 protected:
  void SetUp() override;
  std::string Path(const std::string& relative) const { return (dir / relative).string(); }
  // Writes a file (and its folders) with the given bytes; returns its path.
  std::string Touch(const std::string& relative, const std::string& content = "x") const;
  // Writes a photo of that size; returns its path.
  std::string Photo(const std::string& name, PhotoFormat format, int width, int height,
                    PhotoKind kind = PhotoKind::Opaque) const;

  TempDir dir;
};

}  // namespace trawlix::testing
