#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include "imaging/codec/BmpCodec.h"
#include "imaging/codec/PhotoCodec.h"
#include "operations/PhotoCommands.h"
#include "support/TempDir.h"

namespace trawlix {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class PhotoCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override { InitImaging(); }

  std::string Path(const std::string& name) const { return (temp_ / name).string(); }

  // A photo of that size in the format its name asks for, with a gradient so that every
  // transform changes it.
  std::string Photo(const std::string& name, int width, int height) const {
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        pixels.push_back(static_cast<std::uint8_t>(x * 255 / width));
        pixels.push_back(static_cast<std::uint8_t>(y * 255 / height));
        pixels.push_back(200);
      }
    }
    const std::string bmp = Path("source-" + name + ".bmp");
    WriteAll(bmp, bmp::EncodeBmp(pixels.data(), width, height, 3, 0, 0));
    const fs::path target(Path(name));
    const SavedPhoto saved =
        SavePhotoAs(bmp, target.parent_path().string(), target.filename().string(), std::nullopt,
                    PhotoEncoding(PhotoFormatFromPath(name)));
    fs::remove(bmp);
    EXPECT_TRUE(saved.written) << name;
    return target.string();
  }

  testing::TempDir temp_;
};

TEST(PhotoTransformBehaviorTest, CtrlAlwaysMakesANewPhoto) {
  struct Case {
    int behavior;
    bool control;
    bool replaces;
  };
  const Case cases[] = {
      {1, false, true}, {1, true, false}, {0, false, false}, {0, true, false}, {-1, false, false}};
  for (const Case& c : cases) {
    SettingsValues values;
    values.PhotoTransformBehavior = c.behavior;
    EXPECT_EQ(TransformReplacesPhoto(values, c.control), c.replaces)
        << c.behavior << " " << c.control;
  }
}

TEST_F(PhotoCommandsTest, NoCopyWhenEveryLetterIsTaken) {
  const std::string photo = Photo("p.gif", 8, 8);
  for (char letter = 'a'; letter <= 'z'; ++letter)
    WriteAll(Path(std::string("p") + letter + ".gif"), "x");
  const TransformResult result = TransformPhoto(photo, PhotoTransform::Mirror, false);
  EXPECT_EQ(result.outcome, TransformOutcome::NoFreeName);
  EXPECT_NE(TransformFailureText(result, photo).find("every name"), std::string::npos);
}

TEST(PhotoDeleteTest, NewCurrentPhoto) {
  struct Case {
    int index;
    int remaining;
    VisibleRows visible;
    int current;
  };
  const Case cases[] = {
      {0, 0, {}, -1},          // the only photo: nothing left
      {2, 2, {}, 1},           // the last: the one before it
      {1, 2, {}, 1},           // in the middle: the next one moves up
      {0, 4, {}, 0},           // the first: the new first
      {5, 9, {0, 4}, 4},       // off the visible rows: back onto them
      {36, 36, {36, 71}, 35},  // the only photo of the last page
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CurrentAfterDelete(c.index, c.remaining, c.visible), c.current)
        << c.index << " of " << c.remaining;
  }
}

TEST_F(PhotoCommandsTest, CopyToReplacesTheTargetButNeverThePhotoItself) {
  EXPECT_EQ(CopyPhotoFilter("/a/Photo.JPG"), "JPEG (Joint Photographic Experts Group) (*.jpg)");
  EXPECT_EQ(CopyPhotoFilter("/a/b.png"), PhotoFormatDisplayName(PhotoFormat::Png) + " (*.png)");

  const std::string photo = Photo("photo.jpg", 16, 16);
  const std::string bytes = ReadAll(photo);
  const std::string target = Path("other.jpg");
  WriteAll(target, "older file");
  EXPECT_TRUE(CopyPhotoTo(photo, target));
  EXPECT_EQ(ReadAll(target), bytes);
  EXPECT_TRUE(CopyPhotoTo(photo, photo));
  EXPECT_EQ(ReadAll(photo), bytes);
  EXPECT_FALSE(CopyPhotoTo(Path("missing.jpg"), target));
  EXPECT_EQ(ReadAll(target), bytes);
  EXPECT_FALSE(fs::exists(target + ".part"));
}

TEST_F(PhotoCommandsTest, WallpaperIsABitmapFittedOnlyWhenAsked) {
  const std::string large = Photo("large.jpg", 400, 300);
  const std::string small = Photo("small.png", 50, 40);
  const std::string wallpaper = Path("Wallpaper.bmp");
  struct Case {
    std::string photo;
    WallpaperStyle style;
    PhotoSize written;
  };
  const Case cases[] = {
      {large, WallpaperStyle::CenteredResized, {133, 100}},
      {small, WallpaperStyle::CenteredResized, {50, 40}},
      {large, WallpaperStyle::Tiled, {400, 300}},
      {large, WallpaperStyle::Stretched, {400, 300}},
      {large, WallpaperStyle::Fit, {133, 100}},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(WriteWallpaper(c.photo, wallpaper, c.style, {200, 100})) << c.photo;
    EXPECT_EQ(ReadAll(wallpaper).substr(0, 2), "BM");
    // Fitted within a pixel of the screen's box, never beyond it.
    const PhotoSize size = ReadPhotoSize(wallpaper);
    EXPECT_NEAR(size.width, c.written.width, 1) << c.photo;
    EXPECT_NEAR(size.height, c.written.height, 1) << c.photo;
    if (c.style == WallpaperStyle::CenteredResized || c.style == WallpaperStyle::Fit) {
      EXPECT_TRUE(size.width <= 200 && size.height <= 100) << size.width << "x" << size.height;
    }
  }
  EXPECT_FALSE(WriteWallpaper(Path("missing.jpg"), wallpaper, WallpaperStyle::Centered, {}));
}

}  // namespace
}  // namespace trawlix
