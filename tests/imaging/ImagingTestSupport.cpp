#include "ImagingTestSupport.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "imaging/PhotoCodec.h"
#include "imaging/VipsSupport.h"
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

std::uint32_t Crc32(const std::string& data) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char c : data) {
    crc ^= c;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
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

}  // namespace

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
