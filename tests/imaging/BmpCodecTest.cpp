#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/codec/BmpCodec.h"
#include "imaging/codec/FileByteSource.h"
#include "imaging/codec/MemoryByteSource.h"
#include "support/TempDir.h"

namespace trawlix::bmp {
namespace {

constexpr long long kLimit = 100'000'000;

void Put(std::string& s, std::uint32_t v, int bytes = 4) {
  for (int i = 0; i < bytes; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A bitmap with a 40-byte header; `extra` (masks, palette) precedes `pixels`.
std::string Bitmap(int width, int height, int bits, int compression, const std::string& extra,
                   const std::string& pixels, std::uint32_t colours = 0) {
  const auto offset = static_cast<std::uint32_t>(14 + 40 + extra.size());
  std::string s = "BM";
  Put(s, offset + static_cast<std::uint32_t>(pixels.size()));
  Put(s, 0);
  Put(s, offset);
  Put(s, 40);
  Put(s, static_cast<std::uint32_t>(width));
  Put(s, static_cast<std::uint32_t>(height));
  Put(s, 1, 2);
  Put(s, static_cast<std::uint32_t>(bits), 2);
  for (std::uint32_t v : {static_cast<std::uint32_t>(compression),
                          static_cast<std::uint32_t>(pixels.size()), 2835u, 2835u, colours, 0u}) {
    Put(s, v);
  }
  return s + extra + pixels;
}

std::string Palette(std::initializer_list<std::uint32_t> bgr) {
  std::string s;
  for (std::uint32_t c : bgr) Put(s, c);
  return s;
}

std::vector<std::uint8_t> Pixel(const BmpPixels& p, int x, int y) {
  const auto* at = p.data.get() + (static_cast<std::size_t>(y) * p.width + x) * p.bands;
  return std::vector<std::uint8_t>(at, at + p.bands);
}

TEST(BmpCodecTest, DecodesIndexedBitmapsBottomUp) {
  // 8 bits: palette 0 red, 1 green; rows are stored bottom first, padded to 4 bytes.
  const std::string pal = Palette({0x00FF0000, 0x0000FF00});
  std::optional<BmpPixels> p = DecodeBmp(
      Bitmap(2, 2, 8, 0, pal, std::string("\x00\x01\x00\x00\x01\x01\x00\x00", 8), 2), kLimit);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->bands, 3);
  EXPECT_EQ(Pixel(*p, 0, 1), (std::vector<std::uint8_t>{255, 0, 0}));
  EXPECT_EQ(Pixel(*p, 1, 1), (std::vector<std::uint8_t>{0, 255, 0}));
  EXPECT_EQ(Pixel(*p, 0, 0), (std::vector<std::uint8_t>{0, 255, 0}));

  // 1 bit, most significant bit first: 0b10100000 -> 1,0,1.
  const std::string mono = Palette({0x00000000, 0x00FFFFFF});
  p = DecodeBmp(Bitmap(3, 1, 1, 0, mono, std::string("\xA0\x00\x00\x00", 4), 2), kLimit);
  ASSERT_TRUE(p);
  EXPECT_EQ(Pixel(*p, 0, 0)[0], 255);
  EXPECT_EQ(Pixel(*p, 1, 0)[0], 0);
  EXPECT_EQ(Pixel(*p, 2, 0)[0], 255);
}

TEST(BmpCodecTest, DecodesRunLengthBitmaps) {
  const std::string pal = Palette({0x000000FF, 0x00FFFFFF});
  // Row 0 (bottom): a run of 3 blue, then end of line; row 1: literal 1,0,1 then end.
  const std::string rle8("\x03\x00\x00\x00\x00\x03\x01\x00\x01\x00\x00\x01", 12);
  std::optional<BmpPixels> p = DecodeBmp(Bitmap(3, 2, 8, 1, pal, rle8, 2), kLimit);
  ASSERT_TRUE(p);
  EXPECT_EQ(Pixel(*p, 0, 1), (std::vector<std::uint8_t>{0, 0, 255}));
  EXPECT_EQ(Pixel(*p, 2, 1), (std::vector<std::uint8_t>{0, 0, 255}));
  EXPECT_EQ(Pixel(*p, 0, 0), (std::vector<std::uint8_t>{255, 255, 255}));
  EXPECT_EQ(Pixel(*p, 1, 0), (std::vector<std::uint8_t>{0, 0, 255}));
  // 4 bits: a run of 4 alternating 1,0 nibbles.
  const std::string rle4("\x04\x10\x00\x01", 4);
  p = DecodeBmp(Bitmap(4, 1, 4, 2, pal, rle4, 2), kLimit);
  ASSERT_TRUE(p);
  EXPECT_EQ(Pixel(*p, 0, 0)[0], 255);
  EXPECT_EQ(Pixel(*p, 1, 0)[0], 0);
  EXPECT_EQ(Pixel(*p, 2, 0)[0], 255);
  // Runs and jumps beyond the bitmap are clipped, not written out of bounds.
  const std::string wild("\xFF\x01\x00\x02\xFF\xFF\x05\x01\x00\x01", 10);
  EXPECT_TRUE(DecodeBmp(Bitmap(2, 2, 8, 1, pal, wild, 2), kLimit));
}

TEST(BmpCodecTest, DecodesBitfieldsAndZeroAlphaAsOpaque) {
  const std::string masks = Palette({0xF800, 0x07E0, 0x001F});
  const std::string file = Bitmap(1, 1, 16, 3, masks, std::string("\x1F\xF8\x00\x00", 4));
  std::optional<BmpHeader> header = ReadBmpHeader(file, kLimit);
  ASSERT_TRUE(header);
  EXPECT_EQ(header->greenMask, 0x07E0u);
  std::optional<BmpPixels> p = DecodeBmp(file, kLimit);
  ASSERT_TRUE(p);
  EXPECT_EQ(Pixel(*p, 0, 0), (std::vector<std::uint8_t>{255, 0, 255}));

  // 32 bits with an alpha mask, every alpha zero: shown opaque, as browsers do.
  const std::string argb = Palette({0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000});
  p = DecodeBmp(Bitmap(1, 1, 32, 6, argb, std::string("\x10\x20\x30\x00", 4)), kLimit);
  ASSERT_TRUE(p);
  EXPECT_EQ(Pixel(*p, 0, 0), (std::vector<std::uint8_t>{0x30, 0x20, 0x10, 255}));
}

TEST(BmpCodecTest, RejectsMalformedHeaders) {
  const std::string pixels(16, '\0');
  const std::string good = Bitmap(2, 2, 24, 0, "", pixels);
  ASSERT_TRUE(DecodeBmp(good, kLimit));
  std::string badBits = Bitmap(2, 2, 7, 0, "", pixels);
  std::string jpegInside = Bitmap(2, 2, 24, 4, "", pixels);
  std::string noWidth = Bitmap(0, 2, 24, 0, "", pixels);
  std::string negativeWidth = Bitmap(-2, 2, 24, 0, "", pixels);
  std::string huge = Bitmap(30000, 30000, 24, 0, "", pixels);
  std::string truncated = good.substr(0, good.size() - 4);
  std::string rleTopDown = Bitmap(2, -2, 8, 1, Palette({0}), "\x00\x01");
  std::string unknownHeader = good;
  unknownHeader[14] = 41;
  for (const std::string& file : {badBits, jpegInside, noWidth, negativeWidth, huge, truncated,
                                  rleTopDown, unknownHeader, std::string("BM"), std::string()}) {
    EXPECT_FALSE(DecodeBmp(file, kLimit)) << file.size();
  }
  EXPECT_FALSE(ReadBmpHeader(huge, kLimit));
  EXPECT_TRUE(ReadBmpHeader(huge, 1'000'000'000));
  // Top-down uncompressed rows are fine.
  EXPECT_TRUE(DecodeBmp(Bitmap(2, -2, 24, 0, "", pixels), kLimit));
}

TEST(BmpCodecTest, EncodesWhatItDecodes) {
  const std::vector<std::uint8_t> rgb{1,  2,  3,  4,  5,  6,  7,  8,  9,
                                      10, 11, 12, 13, 14, 15, 16, 17, 18};
  std::string file = EncodeBmp(rgb.data(), 3, 2, 3, 11811, 11811);
  std::optional<BmpHeader> header = ReadBmpHeader(file, kLimit);
  ASSERT_TRUE(header);
  EXPECT_EQ(header->bitsPerPixel, 24);
  EXPECT_EQ(header->yPixelsPerMeter, 11811);
  EXPECT_EQ(file.size(), 14u + 40u + 2 * 12u);  // rows padded from 9 to 12 bytes
  std::optional<BmpPixels> back = DecodeBmp(file, kLimit);
  ASSERT_TRUE(back);
  EXPECT_EQ(std::vector<std::uint8_t>(back->Bytes().begin(), back->Bytes().end()), rgb);

  const std::vector<std::uint8_t> rgba{1, 2, 3, 0, 5, 6, 7, 128};
  file = EncodeBmp(rgba.data(), 1, 2, 4, 0, 0);
  back = DecodeBmp(file, kLimit);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->bands, 4);
  EXPECT_EQ(std::vector<std::uint8_t>(back->Bytes().begin(), back->Bytes().end()), rgba);
}

// Remembers how the decoder reads: the largest single read and the total.
class CountingSource : public ByteSource {
 public:
  explicit CountingSource(std::string_view bytes) : inner_(bytes) {}
  std::uint64_t Size() const override { return inner_.Size(); }
  std::size_t ReadAt(std::uint64_t offset, void* out, std::size_t length) const override {
    largest = std::max(largest, length);
    total += length;
    return inner_.ReadAt(offset, out, length);
  }
  mutable std::size_t largest = 0;
  mutable std::size_t total = 0;

 private:
  MemoryByteSource inner_;
};

TEST(BmpCodecTest, LargeBitmapsStreamInBoundedReads) {
  std::vector<std::uint8_t> rgb(3000u * 1000u * 3u);
  for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<std::uint8_t>(i % 251);
  const std::string plain = EncodeBmp(rgb.data(), 3000, 1000, 3, 0, 0);
  // RLE8: each row two runs of 1,500 pixels, written as runs of 255 and a rest.
  std::string rle;
  for (int row = 0; row < 1000; ++row) {
    for (int half = 0; half < 2; ++half) {
      for (int left = 1500; left > 0; left -= 255) {
        rle.push_back(static_cast<char>(std::min(left, 255)));
        rle.push_back(static_cast<char>(half));
      }
    }
    rle += std::string("\x00\x00", 2);
  }
  rle += std::string("\x00\x01", 2);
  const std::string packed = Bitmap(3000, 1000, 8, 1, Palette({0x00FF0000, 0x000000FF}), rle, 2);
  const struct {
    const char* name;
    const std::string& file;
    std::size_t largestRead;
  } cases[] = {{"24 bits", plain, 1024 * 1024}, {"RLE8", packed, 64 * 1024}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CountingSource source(c.file);
    std::optional<BmpPixels> streamed = DecodeBmp(source, kLimit);
    ASSERT_TRUE(streamed);
    EXPECT_LE(source.largest, c.largestRead);
    EXPECT_LE(source.total, c.file.size() + 64 * 1024);  // each byte read about once
    std::optional<BmpPixels> whole = DecodeBmp(std::string_view(c.file), kLimit);
    ASSERT_TRUE(whole);
    EXPECT_TRUE(std::equal(streamed->Bytes().begin(), streamed->Bytes().end(),
                           whole->Bytes().begin(), whole->Bytes().end()));
  }
  EXPECT_EQ(Pixel(*DecodeBmp(packed, kLimit), 2999, 0), (std::vector<std::uint8_t>{0, 0, 255}));
  EXPECT_TRUE(std::equal(rgb.begin(), rgb.end(), DecodeBmp(plain, kLimit)->Bytes().begin()));
}

TEST(BmpCodecTest, DecodesFromFilesAndRefusesTruncatedOnes) {
  const std::vector<std::uint8_t> rgb{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  const std::string file = EncodeBmp(rgb.data(), 2, 2, 3, 0, 0);
  trawlix::testing::TempDir dir;
  const std::string path = (dir / "photo.bmp").string();
  const auto write = [&path](const std::string& bytes) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
  };
  write(file);
  std::optional<BmpPixels> decoded = DecodeBmp(FileByteSource(path), kLimit);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(std::vector<std::uint8_t>(decoded->Bytes().begin(), decoded->Bytes().end()), rgb);
  write(file.substr(0, file.size() - 1));
  EXPECT_FALSE(DecodeBmp(FileByteSource(path), kLimit));
  EXPECT_TRUE(ReadBmpHeader(FileByteSource(path), kLimit));
  EXPECT_FALSE(DecodeBmp(FileByteSource((dir / "missing.bmp").string()), kLimit));
}

}  // namespace
}  // namespace trawlix::bmp
