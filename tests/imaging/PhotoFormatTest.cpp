#include <gtest/gtest.h>

#include "imaging/codec/PhotoFormat.h"

namespace trawlix {
namespace {

TEST(PhotoFormatTest, FormatFromPathIsASubstringTestAfterTheFirstCharacter) {
  const struct {
    const char* path;
    PhotoFormat format;
  } cases[] = {
      {"/p/PHOTO.JPEG", PhotoFormat::Jpeg},
      {"/p/a.TIFF", PhotoFormat::Tif},
      {"/p/pic.ico", PhotoFormat::None},
      {".png", PhotoFormat::None},
      {"", PhotoFormat::None},
      {"/p/photo.bmp.jpg", PhotoFormat::Bmp},
      {"/p/anim.Gif", PhotoFormat::Gif},
      {"/p/a.jpgx", PhotoFormat::Jpeg},
      {"/web.png/photo.gif", PhotoFormat::Png},
  };
  for (const auto& c : cases) EXPECT_EQ(PhotoFormatFromPath(c.path), c.format) << c.path;
}

TEST(PhotoFormatTest, TablesFollowTheStoredCodes) {
  EXPECT_EQ(PhotoFormatFromCode(3), PhotoFormat::Tif);
  EXPECT_EQ(PhotoFormatFromCode(5), PhotoFormat::None);
  EXPECT_EQ(PhotoFormatFromCode(-7), PhotoFormat::None);
  EXPECT_EQ(PhotoFormatDisplayName(PhotoFormat::Gif), "GIF (Graphics Interchange Format)");
  EXPECT_EQ(PhotoFormatMimeType(PhotoFormat::None), "");
}

TEST(PhotoFormatTest, OrientationTreatsSquareAsAny) {
  EXPECT_EQ(OrientationOf({800, 600}), PhotoOrientation::Landscape);
  EXPECT_EQ(OrientationOf({600, 800}), PhotoOrientation::Portrait);
  EXPECT_EQ(OrientationOf({500, 500}), PhotoOrientation::Any);
}

TEST(FitToBoundingBoxTest, TruncatesAndNeverEnlarges) {
  const struct {
    int w, h, box;
    PhotoSize fitted;
  } cases[] = {
      {1000, 750, 100, {100, 75}}, {1001, 750, 100, {100, 74}},   {750, 1001, 100, {74, 100}},
      {80, 60, 100, {80, 60}},     {2000, 2000, 256, {256, 256}}, {101, 100, 100, {100, 99}},
      {1000, 1, 100, {100, 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FitToBoundingBox(c.w, c.h, c.box, c.box), c.fitted)
        << c.w << "x" << c.h << " in " << c.box;
  }
}

TEST(FitToBoundingBoxTest, SinglePrecisionRatios) {
  // Exact arithmetic gives 60 and double precision 59 here; stored thumbnails have
  // always been sized in single precision.
  EXPECT_EQ(FitToBoundingBox(115, 69, 100, 100), (PhotoSize{100, 59}));
  EXPECT_EQ(FitToBoundingBox(195, 117, 100, 100), (PhotoSize{100, 60}));
  EXPECT_EQ(FitToBoundingBox(69, 115, 100, 100), (PhotoSize{59, 100}));
  // A box that is not square settles in two steps.
  EXPECT_EQ(FitToBoundingBox(1000, 500, 400, 100), (PhotoSize{200, 100}));
}

}  // namespace
}  // namespace trawlix
