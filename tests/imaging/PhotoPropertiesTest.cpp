#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "ImagingTestSupport.h"
#include "imaging/codec/PhotoCodec.h"
#include "imaging/codec/PhotoProperties.h"

namespace trawlix {
namespace {

using testing::PhotoKind;

class PhotoPropertiesTest : public testing::PhotoTest {};

TEST_F(PhotoPropertiesTest, PixelAndContainerFormatsAsWindowsNamesThem) {
  const struct {
    const char* name;
    PhotoFormat format;
    PhotoKind kind;
    const char* raw;
    const char* pixel;
  } cases[] = {
      {"rgb.jpg", PhotoFormat::Jpeg, PhotoKind::Opaque, "(JPEG) Joint Photographic Experts Group",
       "24 BPP (RGB888)"},
      {"rgba.png", PhotoFormat::Png, PhotoKind::WithAlpha, "(PNG) Portable Network Graphics",
       "32 BBP (ARGB888)"},
      {"pal.png", PhotoFormat::Png, PhotoKind::Palette, "(PNG) Portable Network Graphics",
       "8 BPP, indexed"},
      {"any.gif", PhotoFormat::Gif, PhotoKind::Opaque, "(GIF) Graphics Interchage format",
       "8 BPP, indexed"},
      {"rgb.bmp", PhotoFormat::Bmp, PhotoKind::Opaque, "(BMP) Windows Bitmap", "24 BPP (RGB888)"},
      {"rgb.tif", PhotoFormat::Tif, PhotoKind::Opaque, "(TIFF) Tagged Image File Format",
       "24 BPP (RGB888)"},
  };
  for (const auto& c : cases) {
    Photo(c.name, c.format, 20, 10, c.kind);
    const PhotoDetails details = ReadPhotoDetails(Path(c.name));
    EXPECT_EQ(DescribeRawFormat(details.rawFormat), c.raw) << c.name;
    EXPECT_EQ(DescribePixelFormat(details.pixelFormat), c.pixel) << c.name;
    EXPECT_EQ(details.size, (PhotoSize{20, 10})) << c.name;
  }
  const PhotoDetails junk = ReadPhotoDetails(Path("missing.jpg"));
  EXPECT_EQ(DescribeRawFormat(junk.rawFormat), "Unknown Image format");
  EXPECT_EQ(DescribePixelFormat(junk.pixelFormat), "Unknown Pixel Format");
  EXPECT_EQ(DescribeRawFormat(RawFormat::MemoryBmp), "");
}

TEST(PathEllipsisTest, KeepsTheFileNameAndTheStart) {
  const struct {
    const char* path;
    std::size_t max;
    const char* shortened;
  } cases[] = {
      {"/home/ann/Pictures/Trip/beach.jpg", 33, "/home/ann/Pictures/Trip/beach.jpg"},
      {"/home/ann/Pictures/Trip/beach.jpg", 20, "/home/a.../beach.jpg"},
      {"/home/ann/Pictures/Trip/beach.jpg", 13, ".../beach.jpg"},
      {"/home/ann/Pictures/Trip/beach.jpg", 10, "...ach.jpg"},
      {"/home/ann/Pictures/Trip/beach.jpg", 2, ".."},
      {"noslashes-at-all.jpg", 10, "...all.jpg"},
  };
  for (const auto& c : cases) {
    const std::string shortened = ShortenPathWithEllipsis(c.path, c.max);
    EXPECT_EQ(shortened, c.shortened) << c.path << " in " << c.max;
    EXPECT_LE(shortened.size(), c.max);
  }
}

TEST_F(PhotoPropertiesTest, PropertiesText) {
  const std::string photo = Path("p.jpg");
  Photo("src.png", PhotoFormat::Png, 1200, 800);
  ASSERT_TRUE(
      SavePhotoAs(Path("src.png"), dir.str(), "p.jpg", std::nullopt, {PhotoFormat::Jpeg, 90, 300})
          .written);
  setenv("TZ", "UTC", 1);
  tzset();
  // 2011-07-04 13:05:09 UTC
  const auto when =
      std::chrono::file_clock::from_sys(std::chrono::sys_seconds(std::chrono::seconds(1309784709)));
  std::filesystem::last_write_time(photo, when);
  FileInfo info = FileInfoOf(photo);
  info.size = 1234567;
  const std::string text = FormatPhotoProperties(info, 1000);
  EXPECT_EQ(text,
            "Location:\t\t\t" + photo +
                "\nSize on Disk:\t\t\t1.17MB\nLast Saved:\t\t\tMonday, July 04, 2011, 01:05:09PM\n"
                "Width x Height:\t\t\t1,200 x 800 pixels\nResolution:\t\t\t300 DPI\n"
                "Photo Format:\t\t\t(JPEG) Joint Photographic Experts Group\nPixel Format:\t\t\t24 "
                "BPP (RGB888)");
  EXPECT_NE(FormatPhotoProperties(info, 12).find("Location:\t\t\t/tm.../p.jpg\n"),
            std::string::npos);

  // Deleted after it was listed: no made-up date, size or resolution.
  std::filesystem::remove(photo);
  EXPECT_EQ(FormatPhotoProperties(info, 1000),
            "Location:\t\t\t" + photo +
                "\nStatus:\t\t\tThis file no longer exists (it was deleted or moved).");
}

TEST_F(PhotoPropertiesTest, ResolutionOfBitmapsAndFilesWithoutOne) {
  Photo("p.gif", PhotoFormat::Gif, 4, 4);
  EXPECT_DOUBLE_EQ(ReadPhotoDetails(Path("p.gif")).dpiY, 96.0);
  ASSERT_TRUE(
      SavePhotoAs(Path("p.gif"), dir.str(), "p.bmp", std::nullopt, {PhotoFormat::Bmp, 90, 150})
          .written);
  EXPECT_NEAR(ReadPhotoDetails(Path("p.bmp")).dpiY, 150.0, 0.1);
  ASSERT_TRUE(
      SavePhotoAs(Path("p.gif"), dir.str(), "n.bmp", std::nullopt, {PhotoFormat::Bmp}).written);
  EXPECT_DOUBLE_EQ(ReadPhotoDetails(Path("n.bmp")).dpiY, 96.0);
}

}  // namespace
}  // namespace trawlix
