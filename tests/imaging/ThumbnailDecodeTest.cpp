#include <gtest/gtest.h>

#include "ImagingTestSupport.h"
#include "imaging/codec/ThumbnailDecode.h"

namespace trawlix::testing {
namespace {

class ThumbnailDecodeTest : public PhotoTest {};

TEST_F(ThumbnailDecodeTest, EveryFormatShrinksIntoTheBoxAndTellsItsOwnSize) {
  struct Case {
    PhotoFormat format;
    PhotoKind kind;
    int width, height, box;
    int thumbWidth, thumbHeight, bands;
  };
  const Case cases[] = {
      {PhotoFormat::Jpeg, PhotoKind::Opaque, 1600, 1200, 200, 200, 150, 3},
      {PhotoFormat::Jpeg, PhotoKind::Opaque, 300, 1200, 200, 50, 200, 3},
      {PhotoFormat::Png, PhotoKind::WithAlpha, 400, 200, 100, 100, 50, 4},
      {PhotoFormat::Gif, PhotoKind::Palette, 120, 90, 60, 60, 45, 3},
      {PhotoFormat::Bmp, PhotoKind::Opaque, 640, 480, 64, 64, 48, 3},
      {PhotoFormat::Tif, PhotoKind::Opaque, 500, 500, 128, 128, 128, 3},
      {PhotoFormat::Jpeg, PhotoKind::Opaque, 40, 30, 200, 40, 30, 3},  // never enlarged
  };
  for (const Case& c : cases) {
    const std::string path =
        Photo("p" + std::to_string(&c - cases) + PhotoFormatExtension(c.format), c.format, c.width,
              c.height, c.kind);
    const auto thumbnail = DecodeThumbnail(path, c.box, c.box);
    ASSERT_TRUE(thumbnail.has_value()) << path;
    EXPECT_EQ(thumbnail->width, c.thumbWidth) << path;
    EXPECT_EQ(thumbnail->height, c.thumbHeight) << path;
    EXPECT_EQ(thumbnail->bands, c.bands) << path;
    EXPECT_EQ(thumbnail->photoSize, (PhotoSize{c.width, c.height})) << path;
    EXPECT_EQ(thumbnail->pixels.size(),
              static_cast<std::size_t>(c.thumbWidth * c.thumbHeight * c.bands));
  }
}

TEST_F(ThumbnailDecodeTest, NothingForFilesThatAreNotReadablePhotos) {
  const std::string oversized = Touch("huge.png", PhotoClaimingSize(PhotoFormat::Png, 70000, 10));
  const std::string cut = Photo("cut.jpg", PhotoFormat::Jpeg, 800, 600);
  WriteBytes(cut, ReadBytes(cut).substr(0, 600));
  for (const std::string& path :
       {Touch("text.jpg", "not a photo"), Path("missing.jpg"), oversized, Touch("empty.png", "")}) {
    EXPECT_FALSE(DecodeThumbnail(path, 100, 100).has_value()) << path;
  }
  const std::string fine = Photo("fine.jpg", PhotoFormat::Jpeg, 80, 60);
  EXPECT_FALSE(DecodeThumbnail(fine, 0, 100).has_value());
  EXPECT_TRUE(DecodeThumbnail(fine, 100, 100).has_value()) << "the error buffer was left clean";
}

}  // namespace
}  // namespace trawlix::testing
