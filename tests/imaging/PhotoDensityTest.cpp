#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vips/vips8>

#include "ImagingTestSupport.h"
#include "imaging/codec/BmpCodec.h"
#include "imaging/codec/MemoryByteSource.h"
#include "imaging/codec/PhotoCodec.h"
#include "imaging/codec/PhotoDensity.h"

namespace trawlix {
namespace {

using testing::PhotoKind;
using vips::VImage;
namespace fs = std::filesystem;

std::optional<std::vector<ByteEdit>> Plan(const std::string& bytes, PhotoFormat format, int dpi) {
  return PlanDensityEdits(MemoryByteSource(bytes), format, dpi);
}

std::string Apply(const std::string& bytes, const std::vector<ByteEdit>& edits) {
  return ApplyEdits(MemoryByteSource(bytes), edits);
}

std::string Segment(unsigned marker, const std::string& data) {
  std::string s{'\xFF', static_cast<char>(marker), static_cast<char>((data.size() + 2) >> 8),
                static_cast<char>((data.size() + 2) & 0xFF)};
  return s + data;
}

// Markers only, no image data: what a density plan reads.
std::string JpegHeaders(const std::string& before, char id0, char id1, char id2) {
  const std::string frame{8, 0, 1, 0, 1, 3, id0, 0x11, 0, id1, 0x11, 0, id2, 0x11, 0};
  return "\xFF\xD8" + before + Segment(0xC0, frame) +
         Segment(0xDA, std::string("\x03\x01\x00\x02\x11\x03\x11\x00\x3F\x00", 10));
}

std::string Adobe(char transform) {
  return Segment(0xEE, std::string("Adobe\x00\x64\x00\x00\x00\x00", 11) + transform);
}

std::string WithoutPngChunk(std::string png, const std::string& type) {
  const std::size_t at = png.find(type);
  const auto length = static_cast<std::size_t>(static_cast<unsigned char>(png[at - 2]) << 8 |
                                               static_cast<unsigned char>(png[at - 1]));
  return png.erase(at - 4, length + 12);
}

// A 2 x 1 bitmap with the 12-byte header, which has no resolution fields.
std::string CoreBitmap() {
  std::string bytes = "BM";
  const auto put = [&bytes](std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) bytes.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  put(14 + 12 + 8, 4);
  put(0, 4);
  put(14 + 12, 4);
  put(12, 4);
  put(2, 2);
  put(1, 2);
  put(1, 2);
  put(24, 2);
  return bytes + std::string("\x10\x20\x30\x40\x50\x60\0\0", 8);
}

class PhotoDensityTest : public testing::PhotoTest {
 protected:
  // The ramp photo re-saved by vips with a save string such as ".jpg[interlace]".
  std::string Vips(const std::string& saveAs, PhotoKind kind = PhotoKind::Opaque,
                   const std::function<VImage(VImage)>& change = {}) {
    const std::string drawn = Path("drawn.png");
    testing::WritePhoto(drawn, PhotoFormat::Png, 40, 30, kind);
    VImage image = VImage::new_from_file(drawn.c_str());
    if (change) image = change(image);
    void* data = nullptr;
    std::size_t size = 0;
    image.write_to_buffer(saveAs.c_str(), &data, &size);
    std::string bytes(static_cast<const char*>(data), size);
    g_free(data);
    return bytes;
  }

  long Temporaries() const {
    return std::count_if(fs::directory_iterator(dir.path()), fs::directory_iterator(),
                         [](const fs::directory_entry& entry) {
                           return entry.path().filename().string().starts_with(".");
                         });
  }

  std::string Ours(int bands) {
    std::vector<std::uint8_t> pixels(7 * 5 * static_cast<std::size_t>(bands));
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 13);
    return bmp::EncodeBmp(pixels.data(), 7, 5, bands, 2835, 2835);
  }
};

TEST_F(PhotoDensityTest, ResolutionIsWrittenIntoTheBytesAndPixelsStayIdentical) {
  const std::string stripped = Vips(".jpg[strip]");
  const std::string tiffNoRes = testing::MinimalTiff(false, false);
  std::string tiffWildRational = testing::MinimalTiff(true, true);
  // The resolution's value offset points into the header: never written in place.
  const std::size_t xEntry = tiffWildRational.find(std::string("\x01\x1A\x00\x05", 4));
  tiffWildRational.replace(xEntry + 8, 4, std::string(4, '\0'));
  const struct {
    const char* name;
    PhotoFormat format;
    std::string bytes;
  } cases[] = {
      {"exif.jpg", PhotoFormat::Jpeg, Vips(".jpg")},
      {"progressive.jpg", PhotoFormat::Jpeg, Vips(".jpg[interlace]")},
      {"bare.jpg", PhotoFormat::Jpeg, stripped},
      {"jfif.jpg", PhotoFormat::Jpeg, Apply(stripped, *Plan(stripped, PhotoFormat::Jpeg, 72))},
      {"grey.jpg", PhotoFormat::Jpeg,
       Vips(".jpg", PhotoKind::Opaque,
            [](VImage i) { return i.colourspace(VIPS_INTERPRETATION_B_W); })},
      {"phys.png", PhotoFormat::Png, Vips(".png")},
      {"nophys.png", PhotoFormat::Png, WithoutPngChunk(Vips(".png"), "pHYs")},
      {"palette.png", PhotoFormat::Png, Vips(".png[palette]")},
      {"alpha.png", PhotoFormat::Png, Vips(".png[interlace]", PhotoKind::WithAlpha)},
      {"deep.png", PhotoFormat::Png,
       Vips(".png", PhotoKind::Opaque,
            [](VImage i) { return i.colourspace(VIPS_INTERPRETATION_RGB16); })},
      {"strips.tif", PhotoFormat::Tif, Vips(".tif")},
      {"tiles.tif", PhotoFormat::Tif, Vips(".tif[tile,tile-width=16,tile-height=16]")},
      {"intel-nores.tif", PhotoFormat::Tif, tiffNoRes},
      {"motorola-nores.tif", PhotoFormat::Tif, testing::MinimalTiff(true, false)},
      {"motorola.tif", PhotoFormat::Tif, testing::MinimalTiff(true, true)},
      {"wild.tif", PhotoFormat::Tif, tiffWildRational},
      {"magick.bmp", PhotoFormat::Bmp, {}},
      {"ours.bmp", PhotoFormat::Bmp, Ours(3)},
      {"ours-alpha.bmp", PhotoFormat::Bmp, Ours(4)},
      {"still.gif", PhotoFormat::Gif, Vips(".gif")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string source = Path(std::string("src-") + c.name);
    if (c.bytes.empty()) {
      testing::WritePhoto(source, c.format, 40, 30, PhotoKind::WithAlpha);
    } else {
      testing::WriteBytes(source, c.bytes);
    }
    const std::string before = testing::ReadBytes(source);
    const std::optional<std::vector<ByteEdit>> edits = Plan(before, c.format, 300);
    ASSERT_TRUE(edits);
    const SavedPhoto saved =
        SavePhotoAs(source, dir.str(), c.name, std::nullopt, {c.format, 10, 300});
    ASSERT_TRUE(saved.written);
    // The planned bytes, not a re-encode: everything outside the edits is the source's.
    EXPECT_EQ(testing::ReadBytes(saved.path), Apply(before, *edits));
    EXPECT_EQ(testing::DecodedPixels(saved.path), testing::DecodedPixels(source));
    if (c.format == PhotoFormat::Gif) {
      EXPECT_EQ(testing::ReadBytes(saved.path), before);
    } else {
      EXPECT_NEAR(testing::DpiOf(saved.path), 300.0, 0.01);
    }
  }
  EXPECT_EQ(Temporaries(), 0);
}

TEST_F(PhotoDensityTest, EditsTouchOnlyTheDensityFields) {
  const std::string stripped = Vips(".jpg[strip]");
  std::optional<std::vector<ByteEdit>> edits = Plan(stripped, PhotoFormat::Jpeg, 300);
  ASSERT_TRUE(edits);
  const std::string app0("\xFF\xE0\x00\x10JFIF\x00\x01\x01\x01\x01\x2C\x01\x2C\x00\x00", 18);
  EXPECT_EQ(*edits, (std::vector<ByteEdit>{{2, 0, app0}}));
  // An existing JFIF segment is changed in place: units and both densities.
  const std::string jfif = Apply(stripped, *edits);
  edits = Plan(jfif, PhotoFormat::Jpeg, 96);
  ASSERT_TRUE(edits);
  EXPECT_EQ(*edits, (std::vector<ByteEdit>{{13, 5, std::string("\x01\x00\x60\x00\x60", 5)}}));

  // pHYs: 11811 pixels per metre (0x2E23) is 300 dpi, with the chunk's checksum.
  const std::string png = WithoutPngChunk(Vips(".png"), "pHYs");
  edits = Plan(png, PhotoFormat::Png, 300);
  ASSERT_TRUE(edits);
  ASSERT_EQ(edits->size(), 1u);
  const std::string phys = (*edits)[0].inserted;
  EXPECT_EQ(phys.substr(0, 17), std::string("\0\0\0\x09pHYs\0\0\x2E\x23\0\0\x2E\x23\x01", 17));
  EXPECT_EQ(testing::Crc32(phys.substr(4, 13)),
            static_cast<std::uint32_t>(static_cast<unsigned char>(phys[17]) << 24 |
                                       static_cast<unsigned char>(phys[18]) << 16 |
                                       static_cast<unsigned char>(phys[19]) << 8 |
                                       static_cast<unsigned char>(phys[20])));
  EXPECT_EQ((*edits)[0].at, png.find("IDAT") - 4);

  // A bitmap: the two pixels-per-metre fields only.
  edits = Plan(Ours(3), PhotoFormat::Bmp, 300);
  EXPECT_EQ(*edits, (std::vector<ByteEdit>{{38, 8, std::string("\x23\x2E\0\0\x23\x2E\0\0", 8)}}));
}

TEST_F(PhotoDensityTest, WhatCannotBeEditedSafelyIsRefused) {
  const std::string jpeg = Vips(".jpg[strip]");
  const std::string png = Vips(".png");
  const std::string tiff = testing::MinimalTiff(false, true);
  std::string twoPhys = png;
  const std::size_t phys = png.find("pHYs") - 4;
  twoPhys.insert(phys, png.substr(phys, 21));
  std::string longChunk = png;
  longChunk[png.find("IDAT") - 2] = '\x7F';
  std::string farIfd = tiff;
  farIfd[5] = '\x7F';
  const struct {
    const char* name;
    PhotoFormat format;
    std::string bytes;
    int dpi;
  } cases[] = {
      {"no dpi", PhotoFormat::Jpeg, jpeg, 0},
      {"beyond JFIF's 16 bits", PhotoFormat::Jpeg, jpeg, 70000},
      {"wrong format", PhotoFormat::Png, jpeg, 300},
      {"cut inside the headers", PhotoFormat::Jpeg, jpeg.substr(0, 30), 300},
      {"RGB by Adobe transform", PhotoFormat::Jpeg, JpegHeaders(Adobe(0), 1, 2, 3), 300},
      {"RGB by component names", PhotoFormat::Jpeg, JpegHeaders("", 'R', 'G', 'B'), 300},
      // Markers decoders refuse, or that have no place before the scan.
      {"reserved marker", PhotoFormat::Jpeg, JpegHeaders(Segment(0x9A, ""), 1, 2, 3), 300},
      {"restart marker", PhotoFormat::Jpeg, JpegHeaders("\xFF\xD0", 1, 2, 3), 300},
      {"two pHYs", PhotoFormat::Png, twoPhys, 300},
      {"chunk past the end", PhotoFormat::Png, longChunk, 300},
      {"cut before IDAT", PhotoFormat::Png, png.substr(0, png.find("IDAT")), 300},
      {"directory past the end", PhotoFormat::Tif, farIfd, 300},
      {"BigTIFF", PhotoFormat::Tif, std::string("II+\0\x08\0\0\0", 8) + std::string(32, '\0'), 300},
      {"bitmap core header", PhotoFormat::Bmp, CoreBitmap(), 300},
      {"not a GIF", PhotoFormat::Gif, "GIF90a", 300},
  };
  for (const auto& c : cases) EXPECT_FALSE(Plan(c.bytes, c.format, c.dpi)) << c.name;
  // YCbCr stays YCbCr with a JFIF segment added, so these may gain one.
  EXPECT_TRUE(Plan(JpegHeaders(Adobe(1), 'R', 'G', 'B'), PhotoFormat::Jpeg, 300));
  EXPECT_TRUE(Plan(JpegHeaders("", 1, 2, 3), PhotoFormat::Jpeg, 300));
  // Fill bytes may precede any marker.
  EXPECT_TRUE(Plan(JpegHeaders("\xFF\xFF" + Adobe(1), 1, 2, 3), PhotoFormat::Jpeg, 300));
}

TEST_F(PhotoDensityTest, FilesThatCannotBeEditedAreReencodedOrLeftAlone) {
  // A bitmap whose header has no resolution fields is written anew, with the resolution.
  const std::string core = Path("core.bmp");
  const std::string bytes = CoreBitmap();
  testing::WriteBytes(core, bytes);
  ASSERT_FALSE(Plan(bytes, PhotoFormat::Bmp, 300));
  SavedPhoto saved =
      SavePhotoAs(core, dir.str(), "core-300.bmp", std::nullopt, {PhotoFormat::Bmp, 90, 300});
  ASSERT_TRUE(saved.written);
  EXPECT_NEAR(testing::DpiOf(saved.path), 300.0, 0.01);
  EXPECT_EQ(testing::PixelAt(saved.path, 1, 0), (testing::Rgba{0x60, 0x50, 0x40, 255}));

  // A JPEG cut inside its headers is not written at all, and the target is kept.
  const std::string keep = Photo("keep.jpg", PhotoFormat::Jpeg, 20, 10);
  const std::string before = testing::ReadBytes(keep);
  testing::WriteBytes(Path("cut.jpg"), Vips(".jpg").substr(0, 60));
  saved = SavePhotoAs(Path("cut.jpg"), dir.str(), "keep.jpg", std::nullopt,
                      {PhotoFormat::Jpeg, 90, 300});
  EXPECT_FALSE(saved.written);
  EXPECT_EQ(testing::ReadBytes(keep), before);

  // In place: the photo itself gains the resolution, its pixels untouched.
  const std::string pixels = testing::DecodedPixels(keep);
  ASSERT_TRUE(
      SavePhotoAs(keep, dir.str(), "keep.jpg", std::nullopt, {PhotoFormat::Jpeg, 5, 150}).written);
  EXPECT_EQ(testing::DecodedPixels(keep), pixels);
  EXPECT_NEAR(testing::DpiOf(keep), 150.0, 0.01);
  EXPECT_EQ(Temporaries(), 0);
}

}  // namespace
}  // namespace trawlix
