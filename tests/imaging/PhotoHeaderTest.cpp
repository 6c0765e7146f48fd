#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>
#include <vips/vips8>

#include "ImagingTestSupport.h"
#include "imaging/codec/BmpCodec.h"
#include "imaging/codec/MemoryByteSource.h"
#include "imaging/codec/PhotoCodec.h"
#include "imaging/codec/PhotoHeader.h"

namespace trawlix {

void PrintTo(const PhotoHeader& h, std::ostream* os) {
  static constexpr const char* kNames[] = {"NeedMore", "Size", "Unknown"};
  *os << kNames[static_cast<int>(h.verdict)] << " " << h.size.width << "x" << h.size.height;
}

namespace {

using testing::WriteBytes;
using vips::VImage;

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

// An n-byte unsigned field, little-endian unless `big`.
std::string Field(std::uint32_t v, int n, bool big = false) {
  std::string s;
  for (int i = 0; i < n; ++i) s.push_back(static_cast<char>(v >> (8 * (big ? n - 1 - i : i))));
  return s;
}

std::string Segment(int marker, const std::string& data) {
  return Bytes({0xFF, marker}) + Field(static_cast<std::uint32_t>(data.size() + 2), 2, true) + data;
}

std::string Encoded(int width, int height, const char* saveAs, int pages = 1) {
  // Rows of every grey, so that no two frames are alike.
  const VImage rows = VImage::xyz(width, height * pages)[1];
  VImage image = rows.bandjoin(rows).bandjoin(rows).cast(VIPS_FORMAT_UCHAR);
  image = image.copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
  image.set("page-height", height);
  void* data = nullptr;
  std::size_t size = 0;
  image.write_to_buffer(saveAs, &data, &size);
  std::string bytes(static_cast<const char*>(data), size);
  g_free(data);
  return bytes;
}

// A valid Exif block whose image description fills the segment to its largest.
std::string BigExif() {
  constexpr std::uint32_t kText = 65535 - 2 - 6 - 26;
  return Segment(0xE1, std::string("Exif\0\0II*\0", 10) + Field(8, 4) + Field(1, 2) +
                           Field(0x010E, 2) + Field(2, 2) + Field(kText, 4) + Field(26, 4) +
                           Field(0, 4) + std::string(kText - 1, 'd') + '\0');
}

// One frame with a two-colour table, a one-pixel code stream and the trailer.
std::string Gif(const char* version, int screenW, int screenH, int left, int top, int w, int h,
                const std::string& extensions = "") {
  return version + Field(screenW, 2) + Field(screenH, 2) +
         Bytes({0x80, 0, 0, 0, 0, 0, 255, 255, 255}) + extensions + "\x2C" + Field(left, 2) +
         Field(top, 2) + Field(w, 2) + Field(h, 2) + Bytes({0, 2, 2, 0x44, 1, 0, 0x3B});
}

std::string Bitmap(int height, bool core) {
  std::vector<std::uint8_t> pixels(15 * 7 * 3, 200);
  std::string bmp = bmp::EncodeBmp(pixels.data(), 15, 7, 3, 0, 0);
  if (core)  // same rows (stride 48) behind a 12-byte header
    return "BM" + Field(26 + 7 * 48, 4) + Field(0, 4) + Field(26, 4) + Field(12, 4) + Field(15, 2) +
           Field(7, 2) + Field(1, 2) + Field(24, 2) + bmp.substr(54);
  return bmp.replace(22, 4, Field(static_cast<std::uint32_t>(height), 4));
}

// A 4 x 3 TIFF whose ImageWidth and ImageLength entries are LONG rather than SHORT.
std::string LongSidedTiff(bool big) {
  std::string tiff = testing::MinimalTiff(big, false);
  constexpr std::size_t kWidthEntry = 0x3A + 2;  // the first entries of its only directory
  tiff.replace(kWidthEntry + 2, 10, Field(4, 2, big) + Field(1, 4, big) + Field(4, 4, big));
  tiff.replace(kWidthEntry + 14, 10, Field(4, 2, big) + Field(1, 4, big) + Field(3, 4, big));
  return tiff;
}

// The verdict on the whole input, after checking it at every length: NeedMore up to some
// length (stored in `settledAt`), then the same verdict at every longer one.
PhotoHeader Settled(const std::string& bytes, std::size_t* settledAt = nullptr) {
  const PhotoHeader whole = ReadPhotoHeader(bytes);
  std::size_t first = bytes.size() + 1;
  for (std::size_t n = 0; n <= bytes.size(); ++n) {
    const PhotoHeader part = ReadPhotoHeader(std::string_view(bytes).substr(0, n));
    if (part.verdict == PhotoHeader::Verdict::NeedMore && first > bytes.size()) continue;
    first = std::min(first, n);
    if (part != whole) {
      ADD_FAILURE() << "prefix of " << n << " bytes says " << ::testing::PrintToString(part);
      break;
    }
  }
  if (settledAt != nullptr) *settledAt = first;
  return whole;
}

class PhotoHeaderTest : public testing::PhotoTest {};

TEST_F(PhotoHeaderTest, EveryVariantSettlesEarlyOnTheSizeTheDecodersReport) {
  const std::string jpeg = Encoded(37, 23, ".jpg");
  const std::string tiff = Encoded(41, 9, ".tif");
  const std::string tiffMM = testing::MinimalTiff(true, false);
  const struct {
    const char* name;
    std::string bytes;
    PhotoSize size;
    std::size_t settlesBy;  // at most this many bytes are needed
  } variants[] = {
      {"baseline.jpg", jpeg, {37, 23}, 1024},
      {"progressive.jpg", Encoded(37, 23, ".jpg[interlace]"), {37, 23}, 1024},
      {"big-exif.jpg",
       "\xFF\xD8" + BigExif() + Segment(0xED, std::string(30000, 'p')) + jpeg.substr(2),
       {37, 23},
       97'000},
      {"fill-and-standalone.jpg",
       "\xFF\xD8\xFF\xFF\xFF\x01\xFF\xD3" + jpeg.substr(2),
       {37, 23},
       1024},
      {"rgb.png", Encoded(300, 2, ".png"), {300, 2}, 33},
      {"interlaced.png", Encoded(5, 700, ".png[interlace]"), {5, 700}, 33},
      {"still89a.gif", Encoded(33, 17, ".gif"), {33, 17}, 1024},
      {"animated.gif", Encoded(33, 17, ".gif", 3), {33, 17}, 1024},
      {"plain87a.gif", Gif("GIF87a", 30, 20, 0, 0, 30, 20), {30, 20}, 32},
      {"extensions.gif",
       Gif("GIF89a", 30, 20, 0, 0, 30, 20,
           Bytes({0x21, 0xFE, 3, 'a', 'b', 'c', 2, 'd', 'e', 0, 0x21, 0xF9, 4, 0, 0, 0, 0, 0})),
       {30, 20},
       50},
      // The decoder distrusts desktop-sized screens, and lets the first frame enlarge one.
      {"desktop-screen.gif", Gif("GIF89a", 640, 480, 0, 0, 25, 15), {25, 15}, 32},
      {"spilling-frame.gif", Gif("GIF89a", 20, 10, 15, 5, 10, 10), {25, 15}, 32},
      {"info.bmp", Bitmap(7, false), {15, 7}, 26},
      {"top-down.bmp", Bitmap(-7, false), {15, 7}, 26},
      {"core.bmp", Bitmap(7, true), {15, 7}, 22},
      {"intel-short.tif", tiff, {41, 9}, tiff.size()},
      {"intel-long.tif", LongSidedTiff(false), {4, 3}, tiffMM.size()},
      {"motorola-short.tif", tiffMM, {4, 3}, tiffMM.size()},
      {"motorola-long.tif", LongSidedTiff(true), {4, 3}, tiffMM.size()},
  };
  for (const auto& v : variants) {
    SCOPED_TRACE(v.name);
    WriteBytes(Path(v.name), v.bytes);
    ASSERT_EQ(ReadPhotoSize(Path(v.name)), v.size);
    EXPECT_EQ(ReadPhotoSizeQuickly(Path(v.name)), v.size);
    std::size_t settledAt = 0;
    EXPECT_EQ(Settled(v.bytes, &settledAt), PhotoHeader::Known(v.size.width, v.size.height));
    EXPECT_LE(settledAt, v.settlesBy);
  }
}

// Writers often put a TIFF's directory after its pixels, past what a download's first bytes
// show: a stored file is read there, not handed to the decoders.
TEST_F(PhotoHeaderTest, ATiffDirectoryPastTheFirstBytesIsReadWhereItLies) {
  const std::string tiff = Encoded(400, 300, ".tif");
  ASSERT_EQ(ReadPhotoHeader(tiff).verdict, PhotoHeader::Verdict::Unknown) << "directory up front";
  WriteBytes(Path("late.tif"), tiff);
  EXPECT_EQ(ReadPhotoSizeQuickly(Path("late.tif")), (PhotoSize{400, 300}));
  EXPECT_EQ(ReadTiffHeader(MemoryByteSource(tiff)), PhotoHeader::Known(400, 300));
  for (const std::string& other :
       {tiff.substr(0, 300000), Encoded(5, 5, ".png"), std::string("II*")}) {
    EXPECT_EQ(ReadTiffHeader(MemoryByteSource(other)), PhotoHeader::Unknown());
  }
}

TEST_F(PhotoHeaderTest, MalformedTruncatedAndForeignInputs) {
  const auto sof = [](int marker, int height, int width, int components) {
    std::string data =
        Bytes({8}) + Field(height, 2, true) + Field(width, 2, true) + Bytes({components});
    for (int i = 0; i < components; ++i) data += Bytes({i + 1, 0x11, 0});
    return Segment(marker, data);
  };
  const std::string soi = Bytes({0xFF, 0xD8});
  const std::string png = testing::PngHeaderClaiming(20, 10, 8, 2);
  const std::string tiff = testing::MinimalTiff(false, false);
  const auto patched = [](std::string s, std::size_t at, const std::string& with) {
    return s.replace(at, with.size(), with);
  };
  std::string pads;  // APP segments to beyond the limit
  while (pads.size() <= kPhotoHeaderLimit) pads += Segment(0xE2, std::string(65000, 'i'));
  const auto U = PhotoHeader::Unknown();
  const struct {
    const char* name;
    std::string bytes;
    PhotoHeader verdict;
  } cases[] = {
      {"nothing yet", "", PhotoHeader::NeedMore()},
      {"could be a bitmap", "B", PhotoHeader::NeedMore()},
      {"text", "<html>", U},
      {"bigtiff", std::string("II+\0\x08\0\0\0", 8) + std::string(64, '\0'), U},
      // The frame header comes after tables whose marker codes share its range.
      {"DHT, DAC and JPG segments are no frame header",
       soi + Segment(0xC4, std::string(20, '\x01')) + Segment(0xCC, "\x05\x06") +
           Segment(0xC8, "\x07\x08\x09") + sof(0xC2, 6, 7, 3),
       PhotoHeader::Known(7, 6)},
      {"frame header still to come", soi + Segment(0xE0, std::string(100, 'j')),
       PhotoHeader::NeedMore()},
      {"height in a DNL marker", soi + sof(0xC0, 0, 7, 3), U},
      {"no components", soi + sof(0xC0, 6, 7, 0), U},
      {"length disagrees with components", soi + sof(0xC0, 6, 7, 3).replace(3, 1, "\x0C"), U},
      {"scan before the frame header", soi + Segment(0xDA, "\x01\x01\x00") + sof(0xC0, 6, 7, 1), U},
      {"end of image first", soi + Bytes({0xFF, 0xD9}) + sof(0xC0, 6, 7, 1), U},
      {"stray byte between segments", soi + Segment(0xE0, "JFIF") + "x" + sof(0xC0, 6, 7, 1), U},
      {"reserved marker", soi + Segment(0x9A, "") + sof(0xC0, 6, 7, 1), U},
      {"segment length 1", soi + Bytes({0xFF, 0xE1, 0, 1}) + sof(0xC0, 6, 7, 1), U},
      {"frame header past the limit", soi + pads + sof(0xC0, 6, 7, 1), U},
      {"PNG header with a bad checksum", patched(png, 29, "crc!"), U},
      {"PNG header not first", patched(png, 12, "IHDX"), U},
      {"PNG of zero width", testing::PngHeaderClaiming(0, 10, 8, 2), U},
      {"PNG too wide", testing::PngHeaderClaiming(70000, 10, 8, 2), U},
      {"PNG RGB of 4 bits", testing::PngHeaderClaiming(20, 10, 4, 2), U},
      {"GIF trailer before any frame", std::string("GIF89a\x05\0\x05\0\0\0\0\x3B", 14), U},
      {"GIF junk block", std::string("GIF89a\x05\0\x05\0\0\0\0\x99", 14), U},
      {"GIF application block without fixed part",
       std::string("GIF89a\x05\0\x05\0\0\0\0\x21\xFF\0", 16), U},
      {"bitmap header of unknown size", patched(Bitmap(7, false), 14, Field(20, 4)), U},
      {"bitmap of negative width", patched(Bitmap(7, false), 18, Field(-15u, 4)), U},
      {"bitmap of the lowest height", patched(Bitmap(7, false), 22, Field(0x80000000u, 4)), U},
      {"bitmap too high", patched(Bitmap(7, false), 22, Field(70000, 4)), U},
      {"TIFF directory inside the header", patched(tiff, 4, Field(4, 4)), U},
      {"TIFF directory past the limit", patched(tiff, 4, Field(0xFFFFFFF0u, 4)), U},
      {"TIFF directory to come", std::string("II*\0\x00\x10\0\0", 8) + std::string(100, '\0'),
       PhotoHeader::NeedMore()},
      {"TIFF width as RATIONAL", patched(tiff, 0x3A + 2 + 2, Field(5, 2)), U},
      {"TIFF width given twice", patched(tiff, 0x3A + 2 + 36, Field(256, 2)),
       U},  // for Compression
      {"TIFF without length", patched(tiff, 0x3A + 14, Field(300, 2)), U},
  };
  ASSERT_EQ(tiff.substr(0x3A, 4), Bytes({10, 0, 0, 1}));  // the directory the patches aim at
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Settled(c.bytes), c.verdict);
  }
}

}  // namespace
}  // namespace trawlix
