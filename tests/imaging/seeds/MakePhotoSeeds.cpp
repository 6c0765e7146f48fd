// Writes the fuzzers' seed photos: tiny valid files of every format and variant the
// program reads, made by our own writers and vips' so that they follow format changes.
//   make_photo_seeds PHOTO_FOLDER BITMAP_FOLDER
// Every seed is checked to decode before it is kept.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>
#include <vips/vips8>

#include "ImagingTestSupport.h"
#include "imaging/codec/BmpCodec.h"
#include "imaging/codec/MemoryByteSource.h"
#include "imaging/codec/PhotoCodec.h"
#include "imaging/codec/PhotoDensity.h"

namespace {

using trawlix::PhotoFormat;
using vips::VImage;

constexpr int kWidth = 12;
constexpr int kHeight = 8;

VImage Drawn(int bands) {
  std::vector<std::uint8_t> pixels;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const trawlix::testing::Rgba c = trawlix::testing::Ramp(x, y);
      for (int b = 0; b < bands; ++b)
        pixels.push_back(b == 3 ? static_cast<std::uint8_t>(x * 20) : c[b]);
    }
  }
  VipsImage* image = vips_image_new_from_memory_copy(pixels.data(), pixels.size(), kWidth, kHeight,
                                                     bands, VIPS_FORMAT_UCHAR);
  return VImage(image).copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
}

std::string Saved(const VImage& image, const std::string& saveAs) {
  void* data = nullptr;
  std::size_t size = 0;
  image.write_to_buffer(saveAs.c_str(), &data, &size);
  std::string bytes(static_cast<const char*>(data), size);
  g_free(data);
  return bytes;
}

std::string WithDensity(const std::string& bytes, PhotoFormat format, int dpi) {
  const trawlix::MemoryByteSource source(bytes);
  return trawlix::ApplyEdits(source, *trawlix::PlanDensityEdits(source, format, dpi));
}

void Put(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

struct BitmapVariant {
  const char* name;
  int bits;
  int compression;  // 0 plain, 1 RLE8, 2 RLE4, 3 bit fields, 6 bit fields with alpha
  int infoSize;     // 12 (OS/2), 40, 52, 56, 108 or 124
  bool topDown;
};

std::uint32_t Index(int x, int y, int bits) {
  return static_cast<std::uint32_t>(x + 2 * y) % (1u << bits);
}

// Rows in file order; run-length rows use runs, a literal run, a jump and the escapes.
std::string BitmapRows(const BitmapVariant& v) {
  std::string rows;
  if (v.compression == 1 || v.compression == 2) {
    const bool four = v.compression == 2;
    for (int row = 0; row < kHeight; ++row) {
      const int y = kHeight - 1 - row;
      if (row == 2) {
        rows += std::string("\x00\x02\x02\x01", 4);  // jump 2 right, 1 up
        rows += std::string("\x00\x00", 2);
        continue;
      }
      // A literal run of 4 pixels, then runs of two.
      rows += std::string("\x00\x04", 2);
      if (four) {
        rows.push_back(static_cast<char>(Index(0, y, 4) << 4 | Index(1, y, 4)));
        rows.push_back(static_cast<char>(Index(2, y, 4) << 4 | Index(3, y, 4)));
      } else {
        for (int x = 0; x < 4; ++x) rows.push_back(static_cast<char>(Index(x, y, 8)));
      }
      for (int x = 4; x < kWidth; x += 2) {
        const std::uint32_t i = Index(x, y, v.bits);
        rows.push_back('\x02');
        rows.push_back(static_cast<char>(four ? (i << 4 | i) : i));
      }
      rows += std::string("\x00\x00", 2);
    }
    return rows + std::string("\x00\x01", 2);
  }
  const std::size_t stride = ((static_cast<std::size_t>(kWidth) * v.bits + 31) / 32) * 4;
  for (int row = 0; row < kHeight; ++row) {
    const int y = v.topDown ? row : kHeight - 1 - row;
    std::string line(stride, '\0');
    for (int x = 0; x < kWidth; ++x) {
      const trawlix::testing::Rgba c = trawlix::testing::Ramp(x, y);
      if (v.bits <= 8) {
        const std::size_t bit = static_cast<std::size_t>(x) * v.bits;
        line[bit / 8] = static_cast<char>(static_cast<unsigned char>(line[bit / 8]) |
                                          Index(x, y, v.bits) << (8 - v.bits - bit % 8));
      } else if (v.bits == 16) {
        const std::uint32_t p = v.compression == 3
                                    ? (c[0] >> 3) << 11 | (c[1] >> 2) << 5 | c[2] >> 3
                                    : (c[0] >> 3) << 10 | (c[1] >> 3) << 5 | c[2] >> 3;
        line[2 * x] = static_cast<char>(p & 0xFF);
        line[2 * x + 1] = static_cast<char>(p >> 8);
      } else {
        const std::size_t at = static_cast<std::size_t>(x) * (v.bits / 8);
        line[at] = static_cast<char>(c[2]);
        line[at + 1] = static_cast<char>(c[1]);
        line[at + 2] = static_cast<char>(c[0]);
        if (v.bits == 32) line[at + 3] = static_cast<char>(x * 20);
      }
    }
    rows += line;
  }
  return rows;
}

std::string Bitmap(const BitmapVariant& v) {
  const bool core = v.infoSize == 12;
  std::string info;
  Put(info, static_cast<std::uint32_t>(v.infoSize), 4);
  if (core) {
    Put(info, kWidth, 2);
    Put(info, kHeight, 2);
    Put(info, 1, 2);
    Put(info, static_cast<std::uint32_t>(v.bits), 2);
  } else {
    Put(info, kWidth, 4);
    Put(info, static_cast<std::uint32_t>(v.topDown ? -kHeight : kHeight), 4);
    Put(info, 1, 2);
    Put(info, static_cast<std::uint32_t>(v.bits), 2);
    Put(info, static_cast<std::uint32_t>(v.compression), 4);
    Put(info, 0, 4);
    Put(info, 2835, 4);
    Put(info, 2835, 4);
    Put(info, 0, 4);
    Put(info, 0, 4);
  }
  std::string masks;
  if (v.compression == 3 || v.compression == 6 || v.infoSize > 40) {
    const bool five65 = v.bits == 16;
    Put(masks, five65 ? 0xF800 : 0x00FF0000, 4);
    Put(masks, five65 ? 0x07E0 : 0x0000FF00, 4);
    Put(masks, five65 ? 0x001F : 0x000000FF, 4);
    if (v.compression == 6 || v.infoSize >= 56) Put(masks, v.bits == 32 ? 0xFF000000 : 0, 4);
  }
  if (v.infoSize > 40) {
    info += masks;
    info.resize(static_cast<std::size_t>(v.infoSize), '\0');
    masks.clear();
  }
  std::string palette;
  if (v.bits <= 8) {
    for (int i = 0; i < (1 << v.bits); ++i) {
      const int level = i * 255 / ((1 << v.bits) - 1);
      palette.push_back(static_cast<char>(level));
      palette.push_back(static_cast<char>(255 - level));
      palette.push_back(static_cast<char>(i * 37));
      if (!core) palette.push_back('\0');
    }
  }
  const std::string rows = BitmapRows(v);
  const auto offset = static_cast<std::uint32_t>(14 + info.size() + masks.size() + palette.size());
  std::string file = "BM";
  Put(file, offset + static_cast<std::uint32_t>(rows.size()), 4);
  Put(file, 0, 4);
  Put(file, offset, 4);
  return file + info + masks + palette + rows;
}

const BitmapVariant kBitmaps[] = {
    {"1bit", 1, 0, 40, false},          {"1bit-topdown", 1, 0, 40, true},
    {"4bit", 4, 0, 40, false},          {"4bit-rle", 4, 2, 40, false},
    {"8bit", 8, 0, 40, false},          {"8bit-topdown", 8, 0, 40, true},
    {"8bit-rle", 8, 1, 40, false},      {"16bit-555", 16, 0, 40, false},
    {"16bit-565", 16, 3, 40, false},    {"24bit", 24, 0, 40, false},
    {"24bit-topdown", 24, 0, 40, true}, {"32bit", 32, 0, 40, false},
    {"32bit-alpha", 32, 6, 40, false},  {"32bit-v3-alpha", 32, 3, 56, false},
    {"32bit-v4", 32, 3, 108, true},     {"24bit-v5", 24, 0, 124, false},
    {"os2-24bit", 24, 0, 12, false},    {"os2-8bit", 8, 0, 12, false},
    {"16bit-v2", 16, 3, 52, false},
};

bool Keep(const std::string& folder, const std::string& name, const std::string& bytes,
          bool bitmapOnly) {
  const std::string path = folder + "/" + name;
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  std::fwrite(bytes.data(), 1, bytes.size(), out);
  std::fclose(out);
  const bool readable = bitmapOnly ? trawlix::bmp::DecodeBmp(bytes, 1'000'000).has_value()
                                   : trawlix::ReadPhotoSize(path).width > 0;
  if (!readable) std::fprintf(stderr, "not readable: %s\n", path.c_str());
  return readable;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s PHOTO_FOLDER BITMAP_FOLDER\n", argv[0]);
    return 2;
  }
  trawlix::InitImaging();
  const std::string photos = argv[1];
  const std::string bitmaps = argv[2];
  bool ok = true;
  try {
    const VImage rgb = Drawn(3);
    const VImage rgba = Drawn(4);
    const VImage grey = rgb.colourspace(VIPS_INTERPRETATION_B_W);
    const VImage deep = rgb.colourspace(VIPS_INTERPRETATION_RGB16);
    // Three frames stacked, as vips holds an animation.
    const VImage frames = rgb.join(rgb.invert(), VIPS_DIRECTION_VERTICAL)
                              .join(rgb.flip(VIPS_DIRECTION_HORIZONTAL), VIPS_DIRECTION_VERTICAL)
                              .copy(VImage::option()->set("page-height", kHeight));
    const std::string bare = Saved(rgb, ".jpg[strip]");
    const std::vector<std::pair<std::string, std::string>> seeds{
        {"baseline.jpg", Saved(rgb, ".jpg[Q=75]")},
        {"progressive.jpg", Saved(rgb, ".jpg[interlace]")},
        {"no-subsampling.jpg", Saved(rgb, ".jpg[subsample-mode=off]")},
        {"bare.jpg", bare},
        {"jfif.jpg", WithDensity(bare, PhotoFormat::Jpeg, 72)},
        {"grey.jpg", Saved(grey, ".jpg")},
        {"cmyk.jpg",
         Saved(rgba.copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_CMYK)),
               ".jpg")},
        {"rgb.png", Saved(rgb, ".png")},
        {"palette.png", Saved(rgb, ".png[palette]")},
        {"alpha.png", Saved(rgba, ".png")},
        {"16bit.png", Saved(deep, ".png")},
        {"interlaced.png", Saved(rgba, ".png[interlace]")},
        {"grey.png", Saved(grey, ".png")},
        {"palette.gif", Saved(rgb, ".gif")},
        {"animated.gif", Saved(frames, ".gif")},
        {"strips.tif", Saved(rgb, ".tif")},
        {"strips-lzw.tif", Saved(rgba, ".tif[compression=lzw]")},
        {"tiles.tif", Saved(rgb, ".tif[tile,tile-width=16,tile-height=16,compression=deflate]")},
        {"16bit.tif", Saved(deep, ".tif")},
        {"motorola.tif", trawlix::testing::MinimalTiff(true, true)},
        {"intel-no-resolution.tif", trawlix::testing::MinimalTiff(false, false)},
        {"24bit.bmp", Bitmap(kBitmaps[9])},
        {"8bit-rle.bmp", Bitmap(kBitmaps[6])},
        {"32bit-v4.bmp", Bitmap(kBitmaps[14])},
    };
    for (const auto& [name, bytes] : seeds) ok = Keep(photos, name, bytes, false) && ok;
    for (const BitmapVariant& v : kBitmaps)
      ok = Keep(bitmaps, std::string(v.name) + ".bmp", Bitmap(v), true) && ok;
  } catch (const vips::VError& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return ok ? 0 : 1;
}
