#include <gtest/gtest.h>

#include <filesystem>

#include "ImagingTestSupport.h"
#include "imaging/codec/PhotoCodec.h"
#include "imaging/codec/PhotoTransforms.h"

namespace trawlix {
namespace {

using testing::PhotoKind;
using testing::Rgba;

// Red, green, blue and a half-transparent grey in the four quadrants of a 4x4 photo.
Rgba Quadrants(int x, int y) {
  if (y < 2) return x < 2 ? Rgba{255, 0, 0, 255} : Rgba{0, 255, 0, 255};
  return x < 2 ? Rgba{0, 0, 255, 255} : Rgba{100, 100, 100, 0};
}

// Every corner of a 3x2 photo a different colour.
Rgba Corners(int x, int y) {
  if (y == 0)
    return x == 0 ? Rgba{255, 0, 0, 255} : x == 2 ? Rgba{0, 255, 0, 255} : Rgba{0, 0, 0, 255};
  return x == 0 ? Rgba{0, 0, 255, 255} : x == 2 ? Rgba{255, 255, 255, 255} : Rgba{0, 0, 0, 255};
}

class PhotoTransformsTest : public testing::PhotoTest {};

TEST_F(PhotoTransformsTest, GrayscaleUsesLumaWeightsAndKeepsAlpha) {
  const std::string source = Path("q.png");
  testing::WritePhoto(source, PhotoFormat::Png, 4, 4, PhotoKind::WithAlpha, Quadrants);
  ASSERT_TRUE(
      ConvertPhotoToGrayscale(source, Path("gray.png"), GrayscaleBackground::KeepTransparency));
  EXPECT_EQ(testing::PixelAt(Path("gray.png"), 0, 0), (Rgba{76, 76, 76, 255}));
  EXPECT_EQ(testing::PixelAt(Path("gray.png"), 3, 0), (Rgba{150, 150, 150, 255}));
  EXPECT_EQ(testing::PixelAt(Path("gray.png"), 0, 3), (Rgba{29, 29, 29, 255}));
  EXPECT_EQ(testing::PixelAt(Path("gray.png"), 3, 3)[3], 0);

  ASSERT_TRUE(ConvertPhotoToGrayscale(source, Path("white.png"), GrayscaleBackground::White));
  EXPECT_EQ(testing::PixelAt(Path("white.png"), 3, 3), (Rgba{255, 255, 255, 255}));
  EXPECT_EQ(testing::PixelAt(Path("white.png"), 3, 0), (Rgba{150, 150, 150, 255}));
}

TEST_F(PhotoTransformsTest, GrayscaleWritesTheSourceFormatIncludingIndexedPhotos) {
  const struct {
    const char* name;
    PhotoFormat format;
    PhotoKind kind;
  } cases[] = {
      {"a.jpg", PhotoFormat::Jpeg, PhotoKind::Opaque},
      {"a.gif", PhotoFormat::Gif, PhotoKind::Opaque},
      {"p.png", PhotoFormat::Png, PhotoKind::Palette},
      {"a.bmp", PhotoFormat::Bmp, PhotoKind::Opaque},
      {"a.tif", PhotoFormat::Tif, PhotoKind::Opaque},
  };
  std::filesystem::create_directory(Path("out"));
  for (const auto& c : cases) {
    const std::string source = Path(c.name);
    testing::WritePhoto(source, c.format, 16, 12, c.kind, [](int x, int) {
      return x < 8 ? Rgba{255, 0, 0, 255} : Rgba{0, 0, 255, 255};
    });
    const std::string target = Path("out/") + c.name;
    ASSERT_TRUE(ConvertPhotoToGrayscale(source, target, GrayscaleBackground::KeepTransparency))
        << c.name;
    EXPECT_EQ(testing::SniffedFormat(target), c.format) << c.name;
    EXPECT_EQ(ReadPhotoSize(target), (PhotoSize{16, 12})) << c.name;
    const Rgba red = testing::PixelAt(target, 2, 6);
    EXPECT_NEAR(red[0], 76, 4) << c.name;
    EXPECT_NEAR(red[2], 76, 4) << c.name;
  }
}

TEST_F(PhotoTransformsTest, RotateAndFlipMoveTheCorners) {
  const std::string source = Path("c.png");
  testing::WritePhoto(source, PhotoFormat::Png, 3, 2, PhotoKind::Opaque, Corners);
  const Rgba red{255, 0, 0, 255};
  const Rgba blue{0, 0, 255, 255};
  const struct {
    RotateFlip type;
    PhotoSize size;
    int redX, redY, blueX, blueY;
  } cases[] = {
      {RotateFlip::Rotate90FlipNone, {2, 3}, 1, 0, 0, 0},
      {RotateFlip::RotateNoneFlipX, {3, 2}, 2, 0, 2, 1},
      {kRotateNoneFlipY, {3, 2}, 0, 1, 0, 0},
      {RotateFlip::Rotate180FlipNone, {3, 2}, 2, 1, 2, 0},
      {RotateFlip::Rotate270FlipNone, {2, 3}, 0, 2, 1, 2},
  };
  for (const auto& c : cases) {
    const std::string target = Path("r" + std::to_string(static_cast<int>(c.type)) + ".png");
    ASSERT_TRUE(RotateFlipPhoto(source, target, c.type));
    EXPECT_EQ(ReadPhotoSize(target), c.size) << target;
    EXPECT_EQ(testing::PixelAt(target, c.redX, c.redY), red) << target;
    EXPECT_EQ(testing::PixelAt(target, c.blueX, c.blueY), blue) << target;
  }
}

TEST_F(PhotoTransformsTest, InPlaceTransformsReplaceThePhoto) {
  const std::string photo = Path("inplace.jpg");
  testing::WritePhoto(photo, PhotoFormat::Jpeg, 40, 30);
  ASSERT_TRUE(RotateFlipPhoto(photo, photo, RotateFlip::Rotate90FlipNone));
  EXPECT_EQ(ReadPhotoSize(photo), (PhotoSize{30, 40}));
  ASSERT_TRUE(ConvertPhotoToGrayscale(photo, photo, GrayscaleBackground::White));
  const Rgba gray = testing::PixelAt(photo, 10, 10);
  EXPECT_NEAR(gray[0], gray[1], 2);
  EXPECT_NEAR(gray[1], gray[2], 2);
}

TEST_F(PhotoTransformsTest, FailuresWriteNothingAndKeepTheTarget) {
  Touch("text.jpg", "not a photo");
  Touch("keep.jpg", "precious");
  EXPECT_FALSE(RotateFlipPhoto(Path("text.jpg"), Path("keep.jpg"), RotateFlip::Rotate90FlipNone));
  EXPECT_FALSE(
      ConvertPhotoToGrayscale(Path("text.jpg"), Path("keep.jpg"), GrayscaleBackground::White));
  EXPECT_EQ(testing::ReadBytes(Path("keep.jpg")), "precious");
  // The encoder follows the source's name: a source without a known extension has none.
  Photo("noext", PhotoFormat::Png, 4, 4);
  EXPECT_FALSE(RotateFlipPhoto(Path("noext"), Path("out.png"), RotateFlip::RotateNoneFlipX));
  EXPECT_FALSE(std::filesystem::exists(Path("out.png")));
  EXPECT_FALSE(RotateFlipPhoto(Path("missing.png"), Path("out.png"), RotateFlip::RotateNoneFlipX));
}

}  // namespace
}  // namespace trawlix
