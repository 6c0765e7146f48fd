#include "ImagingTestSupport.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "imaging/codec/PhotoCodec.h"
#include "imaging/pixels/VipsSupport.h"
#include "support/TempDir.h"

namespace trawlix::testing {
namespace {

using vips::VImage;

VImage Draw(int width, int height, int bands, const PixelFn& pixel) {
  std::vector<std::uint8_t> data(static_cast<std::size_t>(width) * height * bands);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgba c = pixel(x, y);
      for (int b = 0; b < bands; ++b)
        data[(static_cast<std::size_t>(y) * width + x) * bands + b] = c[b];
    }
  }
  VipsImage* raw = vips_image_new_from_memory_copy(data.data(), data.size(), width, height, bands,
                                                   VIPS_FORMAT_UCHAR);
  return VImage(raw).copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
}

void PutU32(std::string& bytes, std::size_t at, std::uint32_t v, bool bigEndian) {
  for (int i = 0; i < 4; ++i) {
    const int shift = bigEndian ? 24 - 8 * i : 8 * i;
    bytes[at + i] = static_cast<char>((v >> shift) & 0xFF);
  }
}

void PutU16(std::string& bytes, std::size_t at, std::uint32_t v, bool bigEndian) {
  bytes[at + (bigEndian ? 1 : 0)] = static_cast<char>(v & 0xFF);
  bytes[at + (bigEndian ? 0 : 1)] = static_cast<char>((v >> 8) & 0xFF);
}

// Skips the global colour table and any extension blocks.
std::size_t GifImageDescriptor(const std::string& bytes) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes.at(i)); };
  std::size_t at = 13;
  if (byte(10) & 0x80) at += 3u << ((byte(10) & 7) + 1);
  while (byte(at) == 0x21) {
    at += 2;
    while (byte(at) != 0) at += byte(at) + 1u;
    ++at;
  }
  return at;
}

void Append(std::string& out, std::uint32_t v, int bytes, bool bigEndian) {
  out.append(static_cast<std::size_t>(bytes), '\0');
  if (bytes == 2) {
    PutU16(out, out.size() - 2, v, bigEndian);
  } else {
    PutU32(out, out.size() - 4, v, bigEndian);
  }
}

void AppendChunk(std::string& png, const std::string& type, const std::string& data) {
  Append(png, static_cast<std::uint32_t>(data.size()), 4, true);
  png += type + data;
  Append(png, Crc32(type + data), 4, true);
}

}  // namespace

std::uint32_t Crc32(const std::string& bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char c : bytes) {
    crc ^= c;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::string DecodedPixels(const std::string& path) {
  auto photo = imaging_internal::LoadPhoto(path, imaging_internal::Access::Random);
  if (!photo) return {};
  VImage image = photo->image;
  std::size_t size = 0;
  void* memory = image.write_to_memory(&size);
  std::string pixels = std::to_string(image.width()) + "x" + std::to_string(image.height()) + "x" +
                       std::to_string(image.bands()) + "/" + std::to_string(image.format()) + ":";
  pixels.append(static_cast<const char*>(memory), size);
  g_free(memory);
  return pixels;
}

std::string PngHeaderClaiming(int width, int height, int bitDepth, int colourType) {
  std::string png("\x89PNG\r\n\x1A\n", 8);
  std::string header;
  Append(header, static_cast<std::uint32_t>(width), 4, true);
  Append(header, static_cast<std::uint32_t>(height), 4, true);
  header += {static_cast<char>(bitDepth), static_cast<char>(colourType), 0, 0, 0};
  AppendChunk(png, "IHDR", header);
  AppendChunk(png, "IDAT", std::string("\x78\x9C\x03\x00\x00\x00\x00\x01", 8));
  AppendChunk(png, "IEND", "");
  return png;
}

std::string MinimalTiff(bool bigEndian, bool withResolution) {
  constexpr int kWidth = 4, kHeight = 3;
  std::string tiff = bigEndian ? std::string("MM\0*", 4) : std::string("II*\0", 4);
  Append(tiff, 8, 4, bigEndian);
  const auto pixelsAt = static_cast<std::uint32_t>(tiff.size());
  for (int i = 0; i < kWidth * kHeight * 3; ++i) tiff.push_back(static_cast<char>(i * 7));
  const auto bitsAt = static_cast<std::uint32_t>(tiff.size());
  for (int i = 0; i < 3; ++i) Append(tiff, 8, 2, bigEndian);
  const auto resolutionAt = static_cast<std::uint32_t>(tiff.size());
  Append(tiff, 72, 4, bigEndian);
  Append(tiff, 1, 4, bigEndian);
  struct Tag {
    std::uint32_t tag, type, count, value;
  };
  std::vector<Tag> tags{
      {256, 3, 1, kWidth}, {257, 3, 1, kHeight}, {258, 3, 3, bitsAt},
      {259, 3, 1, 1},      {262, 3, 1, 2},       {273, 4, 1, pixelsAt},
      {277, 3, 1, 3},      {278, 3, 1, kHeight}, {279, 4, 1, kWidth * kHeight * 3},
      {284, 3, 1, 1}};
  if (withResolution) {
    tags.insert(tags.begin() + 9, {{282, 5, 1, resolutionAt}, {283, 5, 1, resolutionAt}});
    tags.push_back({296, 3, 1, 2});
  }
  PutU32(tiff, 4, static_cast<std::uint32_t>(tiff.size()), bigEndian);
  Append(tiff, static_cast<std::uint32_t>(tags.size()), 2, bigEndian);
  for (const Tag& t : tags) {
    Append(tiff, t.tag, 2, bigEndian);
    Append(tiff, t.type, 2, bigEndian);
    Append(tiff, t.count, 4, bigEndian);
    if (t.type == 3 && t.count == 1) {
      Append(tiff, t.value, 2, bigEndian);
      Append(tiff, 0, 2, bigEndian);
    } else {
      Append(tiff, t.value, 4, bigEndian);
    }
  }
  Append(tiff, 0, 4, bigEndian);
  return tiff;
}

Rgba Ramp(int x, int y) {
  return {static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 5),
          static_cast<std::uint8_t>(x + y), 255};
}

void WritePhoto(const std::string& path, PhotoFormat format, int width, int height, PhotoKind kind,
                const PixelFn& pixel) {
  InitImaging();
  const int bands = kind == PhotoKind::WithAlpha ? 4 : 3;
  VImage image = Draw(width, height, bands, pixel);
  switch (format) {
    case PhotoFormat::Jpeg:
      image.jpegsave(path.c_str(), VImage::option()->set("Q", 95));
      break;
    case PhotoFormat::Png:
      image.pngsave(path.c_str(), VImage::option()->set("palette", kind == PhotoKind::Palette));
      break;
    case PhotoFormat::Gif:
      image.gifsave(path.c_str());
      break;
    case PhotoFormat::Tif:
      image.tiffsave(path.c_str());
      break;
    case PhotoFormat::Bmp:
      vips_operation_block_set("VipsForeignSaveMagick", FALSE);
      image.magicksave(path.c_str(), VImage::option()->set("format", "BMP"));
      break;
    case PhotoFormat::None:
      throw std::invalid_argument("no format");
  }
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

PhotoFormat SniffedFormat(const std::string& path) {
  // In the order of imaging_internal::Container.
  constexpr PhotoFormat kFormats[] = {PhotoFormat::None, PhotoFormat::Jpeg, PhotoFormat::Png,
                                      PhotoFormat::Gif,  PhotoFormat::Tif,  PhotoFormat::Bmp};
  return kFormats[static_cast<int>(imaging_internal::SniffContainer(path))];
}

Rgba PixelAt(const std::string& path, int x, int y) {
  auto photo = imaging_internal::LoadPhoto(path, imaging_internal::Access::Random);
  if (!photo) throw std::runtime_error("cannot load " + path);
  VImage image = imaging_internal::ToSrgb8(photo->image);
  const std::vector<double> values = image.getpoint(x, y);
  Rgba c{0, 0, 0, 255};
  for (std::size_t b = 0; b < values.size() && b < 4; ++b)
    c[b] = static_cast<std::uint8_t>(values[b]);
  return c;
}

int BandsOf(const std::string& path) {
  auto photo = imaging_internal::LoadPhoto(path, imaging_internal::Access::Random);
  return photo ? photo->image.bands() : 0;
}

double DpiOf(const std::string& path) {
  auto photo = imaging_internal::LoadPhoto(path, imaging_internal::Access::Random);
  return photo ? photo->image.yres() * 25.4 : 0.0;
}

std::string PhotoClaimingSize(PhotoFormat format, int width, int height) {
  TempDir dir;
  const std::string path = (dir / "tiny").string();
  WritePhoto(path, format, 1, 1);
  std::string bytes = ReadBytes(path);
  switch (format) {
    case PhotoFormat::Png: {  // IHDR: width and height, then the chunk's CRC
      PutU32(bytes, 16, static_cast<std::uint32_t>(width), true);
      PutU32(bytes, 20, static_cast<std::uint32_t>(height), true);
      PutU32(bytes, 29, Crc32(bytes.substr(12, 17)), true);
      break;
    }
    case PhotoFormat::Jpeg: {  // the start-of-frame marker holds height, then width
      const std::size_t sof = bytes.find("\xFF\xC0");
      PutU16(bytes, sof + 5, static_cast<std::uint32_t>(height), true);
      PutU16(bytes, sof + 7, static_cast<std::uint32_t>(width), true);
      break;
    }
    case PhotoFormat::Gif: {  // logical screen, then the first image descriptor
      PutU16(bytes, 6, static_cast<std::uint32_t>(width), false);
      PutU16(bytes, 8, static_cast<std::uint32_t>(height), false);
      const std::size_t descriptor = GifImageDescriptor(bytes);
      PutU16(bytes, descriptor + 5, static_cast<std::uint32_t>(width), false);
      PutU16(bytes, descriptor + 7, static_cast<std::uint32_t>(height), false);
      break;
    }
    case PhotoFormat::Bmp:
      PutU32(bytes, 18, static_cast<std::uint32_t>(width), false);
      PutU32(bytes, 22, static_cast<std::uint32_t>(height), false);
      break;
    case PhotoFormat::Tif:
    case PhotoFormat::None:
      throw std::invalid_argument("not patched");
  }
  return bytes;
}

void PhotoTest::SetUp() {
  InitImaging();
}

std::string PhotoTest::Touch(const std::string& relative, const std::string& content) const {
  std::filesystem::create_directories((dir / relative).parent_path());
  WriteBytes(Path(relative), content);
  return Path(relative);
}

std::string PhotoTest::Photo(const std::string& name, PhotoFormat format, int width, int height,
                             PhotoKind kind) const {
  WritePhoto(Path(name), format, width, height, kind);
  return Path(name);
}

}  // namespace trawlix::testing
