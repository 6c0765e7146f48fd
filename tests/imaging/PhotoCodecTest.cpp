#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "ImagingTestSupport.h"
#include "imaging/codec/PhotoCodec.h"

namespace trawlix {
namespace {

using testing::PhotoKind;
namespace fs = std::filesystem;

class PhotoCodecTest : public testing::PhotoTest {};

TEST_F(PhotoCodecTest, ReadsTheSizeOfEveryFormatByContentNotName) {
  const struct {
    const char* name;
    PhotoFormat format;
    PhotoKind kind;
    int w, h;
  } cases[] = {
      {"land.jpg", PhotoFormat::Jpeg, PhotoKind::Opaque, 64, 48},
      {"port.png", PhotoFormat::Png, PhotoKind::WithAlpha, 30, 50},
      {"square.png", PhotoFormat::Png, PhotoKind::Palette, 40, 40},
      {"wide.gif", PhotoFormat::Gif, PhotoKind::WithAlpha, 33, 7},
      {"alpha.bmp", PhotoFormat::Bmp, PhotoKind::WithAlpha, 5, 9},
      {"tall.tif", PhotoFormat::Tif, PhotoKind::Opaque, 20, 30},
      {"really-png.jpg", PhotoFormat::Png, PhotoKind::Opaque, 12, 10},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadPhotoSize(Photo(c.name, c.format, c.w, c.h, c.kind)), (PhotoSize{c.w, c.h}))
        << c.name;
  }
}

TEST_F(PhotoCodecTest, MissingAndUndecodableFiles) {
  EXPECT_EQ(ReadPhotoSize(Path("missing.jpg")), (PhotoSize{-1, -1}));
  EXPECT_EQ(ReadPhotoSize(dir.str()), (PhotoSize{0, 0}));
  // Only the five photo containers are read: an SVG or PDF never reaches a decoder.
  for (const char* bytes : {"", "<html>not a photo</html>", "%PDF-1.4\n",
                            "<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10'/>"}) {
    Touch("bad.png", bytes);
    EXPECT_EQ(ReadPhotoSize(Path("bad.png")), (PhotoSize{0, 0})) << bytes;
  }
}

// A copy of a photo cut short would show its missing part grey: none is made.
TEST_F(PhotoCodecTest, TruncatedJpegKeepsItsHeaderSizeButMakesNoCopy) {
  const std::string photo = Photo("cut.jpg", PhotoFormat::Jpeg, 200, 150);
  std::string bytes = testing::ReadBytes(photo);
  testing::WriteBytes(photo, bytes.substr(0, bytes.size() / 2));
  EXPECT_EQ(ReadPhotoSize(photo), (PhotoSize{200, 150}));
  SavedPhoto copy = SaveResizedCopy(dir.str(), "", photo, 100, {PhotoFormat::Png});
  EXPECT_FALSE(copy.written);
  EXPECT_FALSE(fs::exists(copy.path));

  testing::WriteBytes(photo, bytes.substr(0, 40));
  EXPECT_EQ(ReadPhotoSize(photo), (PhotoSize{0, 0}));
  EXPECT_FALSE(SaveResizedCopy(dir.str(), "again", photo, 100, {PhotoFormat::Png}).written);
}

TEST_F(PhotoCodecTest, TinyFilesClaimingHugeSizesAreRefusedQuickly) {
  const auto start = std::chrono::steady_clock::now();
  for (PhotoFormat format :
       {PhotoFormat::Jpeg, PhotoFormat::Png, PhotoFormat::Gif, PhotoFormat::Bmp}) {
    const std::string path = Path("claim" + PhotoFormatExtension(format));
    testing::WriteBytes(path, testing::PhotoClaimingSize(format, 3000, 20));
    EXPECT_EQ(ReadPhotoSize(path), (PhotoSize{3000, 20})) << "within the limits: " << path;
    testing::WriteBytes(path, testing::PhotoClaimingSize(format, 30000, 30000));
    EXPECT_EQ(ReadPhotoSize(path), (PhotoSize{0, 0})) << path;
    EXPECT_EQ(ReadPhotoSizeQuickly(path), (PhotoSize{0, 0})) << path;
    SavedPhoto copy = SaveResizedCopy(dir.str(), "thumb", path, 256, {PhotoFormat::Jpeg});
    EXPECT_FALSE(copy.written) << path;
    EXPECT_FALSE(fs::exists(copy.path)) << path;
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST_F(PhotoCodecTest, DecodedBytesAreBudgetedNotOnlyPixels) {
  const struct {
    int side, bitDepth, colourType;
    bool accepted;
  } cases[] = {
      {10000, 8, 2, true},    // 100 megapixels of 8-bit RGB: 300 MB
      {10000, 8, 6, true},    // 8-bit RGBA: 400 MB
      {8000, 16, 2, true},    // 16-bit RGB: 384 MB
      {10000, 16, 6, false},  // 16-bit RGBA: 800 MB from a file of 57 bytes
      {10000, 16, 2, false},  // 16-bit RGB: 600 MB
      {5000, 16, 6, true},    // 200 MB
  };
  const auto start = std::chrono::steady_clock::now();
  for (const auto& c : cases) {
    const std::string path = Path("claim.png");
    testing::WriteBytes(path, testing::PngHeaderClaiming(c.side, c.side, c.bitDepth, c.colourType));
    const PhotoSize expected = c.accepted ? PhotoSize{c.side, c.side} : PhotoSize{0, 0};
    EXPECT_EQ(ReadPhotoSize(path), expected) << c.side << " " << c.bitDepth << " " << c.colourType;
    EXPECT_EQ(ReadPhotoSizeQuickly(path), expected) << c.side << " " << c.bitDepth;
    if (!c.accepted) {
      EXPECT_FALSE(SaveResizedCopy(dir.str(), "t", path, 100, {PhotoFormat::Png}).written);
      EXPECT_FALSE(
          SavePhotoAs(path, dir.str(), "p.png", std::nullopt, {PhotoFormat::Png, 90, 300}).written);
    }
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_F(PhotoCodecTest, CopiesFromOneDecodeMatchSingleCopies) {
  const std::string source = Path("land.jpg");
  testing::WritePhoto(source, PhotoFormat::Jpeg, 1000, 750, PhotoKind::Opaque, [](int x, int y) {
    return testing::Rgba{static_cast<std::uint8_t>(x / 4), static_cast<std::uint8_t>(y / 3),
                         static_cast<std::uint8_t>((x + y) / 7), 255};
  });
  fs::create_directory(Path("thumbs"));
  fs::create_directory(Path("mobile"));
  const std::vector<ResizedCopy> copies{
      {Path("thumbs"), "", 100, {PhotoFormat::Jpeg, 80}},
      {Path("mobile"), "Beach_0001.png", 400, {PhotoFormat::Png}},
      {Path("nowhere"), "", 50, {PhotoFormat::Jpeg}},
      {Path("thumbs"), "", 64, {PhotoFormat::None}},
      {Path("thumbs"), "big", 5000, {PhotoFormat::Bmp, 90, 72}},
  };
  const std::vector<SavedPhoto> saved = SaveResizedCopies(source, copies);
  ASSERT_EQ(saved.size(), copies.size());
  const struct {
    std::string path;
    bool written;
    PhotoSize size;
  } expected[] = {
      {Path("thumbs/land.jpg"), true, {100, 75}},
      {Path("mobile/Beach_0001.png"), true, {400, 300}},
      {Path("nowhere/land.jpg"), false, {}},
      {Path("thumbs/land"), false, {}},
      {Path("thumbs/big.bmp"), true, {1000, 750}},
  };
  for (std::size_t i = 0; i < copies.size(); ++i) {
    SCOPED_TRACE(expected[i].path);
    EXPECT_EQ(saved[i].path, expected[i].path);
    EXPECT_EQ(saved[i].written, expected[i].written);
    if (!expected[i].written) continue;
    EXPECT_EQ(ReadPhotoSize(saved[i].path), expected[i].size);
    // Made one at a time, each copy looks the same.
    const SavedPhoto single =
        SaveResizedCopy(dir.str(), "single", source, copies[i].box, copies[i].encoding);
    for (const auto& [x, y] : {std::pair{0, 0},
                               {expected[i].size.width / 2, 10},
                               {expected[i].size.width - 1, expected[i].size.height - 1}}) {
      const testing::Rgba many = testing::PixelAt(saved[i].path, x, y);
      const testing::Rgba one = testing::PixelAt(single.path, x, y);
      for (int b = 0; b < 3; ++b) EXPECT_NEAR(many[b], one[b], 4) << x << "," << y;
    }
  }
  EXPECT_NEAR(testing::DpiOf(saved[4].path), 72.0, 0.01);
  EXPECT_TRUE(SaveResizedCopies(Path("missing.jpg"), copies)[0].path == Path("thumbs/missing.jpg"));
  EXPECT_TRUE(SaveResizedCopies(source, {}).empty());
}

TEST_F(PhotoCodecTest, ResizedCopiesHaveTheFittedSizeInEveryFormat) {
  const std::string land = Photo("land.jpg", PhotoFormat::Jpeg, 1000, 750);
  const std::string port = Photo("port.png", PhotoFormat::Png, 750, 1000, PhotoKind::WithAlpha);
  const std::string small = Photo("small.gif", PhotoFormat::Gif, 80, 60);
  const std::string square = Photo("square.bmp", PhotoFormat::Bmp, 300, 300);
  const struct {
    std::string source;
    PhotoFormat format;
    PhotoSize size;
  } cases[] = {
      {land, PhotoFormat::Jpeg, {100, 75}},   {port, PhotoFormat::Png, {75, 100}},
      {land, PhotoFormat::Gif, {100, 75}},    {small, PhotoFormat::Tif, {80, 60}},
      {square, PhotoFormat::Bmp, {100, 100}}, {port, PhotoFormat::Bmp, {75, 100}},
  };
  fs::create_directory(Path("thumbs"));
  for (const auto& c : cases) {
    SavedPhoto copy = SaveResizedCopy(Path("thumbs"), "", c.source, 100, {c.format, 80});
    const std::string expected =
        Path("thumbs") + "/" + fs::path(c.source).stem().string() + PhotoFormatExtension(c.format);
    EXPECT_EQ(copy.path, expected);
    ASSERT_TRUE(copy.written) << expected;
    EXPECT_EQ(testing::SniffedFormat(copy.path), c.format) << expected;
    EXPECT_EQ(ReadPhotoSize(copy.path), c.size) << expected;
  }
  // A given base name replaces the source's; its extension follows the format.
  SavedPhoto named = SaveResizedCopy(dir.str() + "/", "Beach(40x20)_0012.png", small, 10, {});
  EXPECT_EQ(named.path, Path("Beach(40x20)_0012.jpg"));
  EXPECT_TRUE(fs::exists(named.path));
  SavedPhoto none = SaveResizedCopy(dir.str(), "", small, 10, {PhotoFormat::None});
  EXPECT_FALSE(none.written);
  EXPECT_EQ(none.path, Path("small"));
}

TEST_F(PhotoCodecTest, ResizingKeepsColoursAndTransparency) {
  const std::string source = Path("half.png");
  testing::WritePhoto(source, PhotoFormat::Png, 200, 100, PhotoKind::WithAlpha, [](int x, int) {
    return x < 100 ? testing::Rgba{200, 30, 30, 255} : testing::Rgba{0, 0, 0, 0};
  });
  SavedPhoto png = SaveResizedCopy(dir.str(), "small", source, 50, {PhotoFormat::Png});
  ASSERT_TRUE(png.written);
  EXPECT_EQ(testing::PixelAt(png.path, 5, 10), (testing::Rgba{200, 30, 30, 255}));
  EXPECT_EQ(testing::PixelAt(png.path, 45, 10)[3], 0);
  // JPEG has no transparency: the transparent half turns white, not black.
  SavedPhoto jpg = SaveResizedCopy(dir.str(), "small", source, 50, {PhotoFormat::Jpeg});
  const testing::Rgba white = testing::PixelAt(jpg.path, 45, 10);
  EXPECT_GT(white[0], 245);
  EXPECT_GT(white[2], 245);
  // A 32-bit bitmap keeps the alpha channel.
  SavedPhoto bmp = SaveResizedCopy(dir.str(), "small", source, 50, {PhotoFormat::Bmp});
  EXPECT_EQ(testing::BandsOf(bmp.path), 4);
  EXPECT_EQ(testing::PixelAt(bmp.path, 45, 10)[3], 0);
  EXPECT_EQ(testing::PixelAt(bmp.path, 5, 10)[3], 255);
}

TEST_F(PhotoCodecTest, ResolutionIsWrittenWhenAsked) {
  const std::string source = Photo("src.jpg", PhotoFormat::Jpeg, 60, 40);
  for (PhotoFormat format :
       {PhotoFormat::Jpeg, PhotoFormat::Png, PhotoFormat::Tif, PhotoFormat::Bmp}) {
    const std::string name = "dpi" + PhotoFormatExtension(format);
    SavedPhoto saved = SavePhotoAs(source, dir.str(), name, std::nullopt, {format, 90, 300});
    ASSERT_TRUE(saved.written) << name;
    EXPECT_NEAR(testing::DpiOf(saved.path), 300.0, 0.01) << name;
    SavedPhoto thumb = SaveResizedCopy(dir.str(), "t" + name, source, 30, {format, 90, 72});
    EXPECT_NEAR(testing::DpiOf(thumb.path), 72.0, 0.01) << name;
  }
}

TEST_F(PhotoCodecTest, JpegQualityAppliesToJpegOnly) {
  const std::string source = Photo("src.png", PhotoFormat::Png, 300, 200);
  const auto size = [&](const std::string& name, int quality) {
    const PhotoFormat format = PhotoFormatFromPath(name);
    SavedPhoto saved = SavePhotoAs(source, dir.str(), name, std::nullopt, {format, quality});
    EXPECT_TRUE(saved.written) << name;  // out-of-range qualities do not stop a save
    return fs::file_size(saved.path);
  };
  EXPECT_LT(size("low.jpg", 10) * 2, size("high.jpg", 98));
  EXPECT_EQ(size("q10.png", 10), size("q98.png", 98));
  size("q0.jpg", 0);
}

TEST_F(PhotoCodecTest, SavePhotoAsJoinsTrimsConvertsAndReplacesInPlace) {
  const std::string source = Photo("pal.png", PhotoFormat::Png, 90, 60, PhotoKind::Palette);
  SavedPhoto saved =
      SavePhotoAs("  " + source + " ", " " + dir.str() + "/ ", "conv.jpg", std::nullopt, {});
  EXPECT_EQ(saved.path, Path("conv.jpg"));
  ASSERT_TRUE(saved.written);
  EXPECT_EQ(testing::SniffedFormat(saved.path), PhotoFormat::Jpeg);
  // Smaller than the box: re-encoded at its own size, never enlarged.
  SavedPhoto same = SavePhotoAs(source, dir.str(), "same.tif", 1000, {PhotoFormat::Tif});
  EXPECT_EQ(ReadPhotoSize(same.path), (PhotoSize{90, 60}));
  EXPECT_TRUE(SavePhotoAs(source, dir.str(), "pal.png", 45, {PhotoFormat::Png}).written);
  EXPECT_EQ(ReadPhotoSize(source), (PhotoSize{45, 30}));
}

TEST_F(PhotoCodecTest, FailedSavesLeaveExistingFilesAlone) {
  const std::string existing = Photo("keep.jpg", PhotoFormat::Jpeg, 30, 20);
  const std::string before = testing::ReadBytes(existing);
  Touch("junk.jpg", "junk");
  SavedPhoto failed = SavePhotoAs(Path("junk.jpg"), dir.str(), "keep.jpg", 10, {});
  EXPECT_EQ(failed.path, existing);
  EXPECT_FALSE(failed.written);
  EXPECT_EQ(testing::ReadBytes(existing), before);
  EXPECT_FALSE(SavePhotoAs(existing, Path("no/such/folder"), "x.jpg", std::nullopt, {}).written);
  // No temporary files are left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

TEST_F(PhotoCodecTest, LargeJpegThumbnailsUseShrinkOnLoadAndExactSizes) {
  const std::string photo = Path("big.jpg");
  const auto smooth = [](int x, int y) {
    return testing::Rgba{static_cast<std::uint8_t>(x / 16), static_cast<std::uint8_t>(y / 12), 90,
                         255};
  };
  testing::WritePhoto(photo, PhotoFormat::Jpeg, 4000, 3000, PhotoKind::Opaque, smooth);
  for (int box : {256, 1024, 3999}) {
    SavedPhoto thumb =
        SaveResizedCopy(dir.str(), "t" + std::to_string(box), photo, box, {PhotoFormat::Jpeg, 75});
    const PhotoSize fitted = FitToBoundingBox(4000, 3000, box, box);
    EXPECT_EQ(ReadPhotoSize(thumb.path), fitted) << box;
    // The whole photo is there, not a shifted or cropped part of it.
    const testing::Rgba corner = testing::PixelAt(thumb.path, fitted.width - 1, fitted.height - 1);
    EXPECT_NEAR(corner[0], 249, 3) << box;
    EXPECT_NEAR(corner[1], 249, 3) << box;
    EXPECT_NEAR(testing::PixelAt(thumb.path, 0, 0)[0], 0, 3) << box;
  }
}

TEST_F(PhotoCodecTest, TempPhotoPathsCountUpFromZero) {
  EXPECT_EQ(MakeTempPhotoPath(dir.str(), ".jpg"), Path("TempPhoto0000.jpg"));
  Touch("TempPhoto0000.jpg", "x");
  EXPECT_EQ(MakeTempPhotoPath(dir.str(), ".jpg"), Path("TempPhoto0001.jpg"));
  EXPECT_EQ(MakeTempPhotoPath(dir.str(), ".png"), Path("TempPhoto0000.png"));
}

}  // namespace
}  // namespace trawlix
