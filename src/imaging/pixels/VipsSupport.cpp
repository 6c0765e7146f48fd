#include "imaging/pixels/VipsSupport.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <utility>

#include "imaging/codec/FileByteSource.h"
#include "imaging/codec/PhotoLimits.h"
#include "platform/FileIO.h"

namespace trawlix::imaging_internal {
namespace {

using vips::VImage;

VImage ImageFromBmp(bmp::BmpPixels pixels, const bmp::BmpHeader& header) {
  VImage image = VImage::new_from_memory_steal(pixels.data.get(), pixels.size, pixels.width,
                                               pixels.height, pixels.bands, VIPS_FORMAT_UCHAR);
  pixels.data.release();  // the image frees it now
  auto* options = VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB);
  if (header.xPixelsPerMeter > 0 && header.yPixelsPerMeter > 0) {
    options->set("xres", header.xPixelsPerMeter / 1000.0)
        ->set("yres", header.yPixelsPerMeter / 1000.0);
  }
  return image.copy(options);
}

std::optional<LoadedPhoto> LoadBmp(const std::string& path, Access access) {
  LoadedPhoto photo{VImage(), Container::Bmp, {}, std::nullopt};
  const FileByteSource file(path);
  if (!file.IsOpen()) return std::nullopt;
  photo.bmpHeader = bmp::ReadBmpHeader(file, kMaxPhotoPixels);
  if (!photo.bmpHeader) return std::nullopt;
  photo.size = {photo.bmpHeader->width, photo.bmpHeader->height};
  if (!WithinDecodeLimits(photo.size, photo.bmpHeader->alphaMask != 0 ? 4 : 3, 1))
    return std::nullopt;
  if (access == Access::HeaderOnly) return photo;
  // Rows stream from the file into the pixels; the file is never read whole.
  std::optional<bmp::BmpPixels> pixels = bmp::DecodeBmp(file, kMaxPhotoPixels);
  if (!pixels) return std::nullopt;
  photo.image = ImageFromBmp(std::move(*pixels), *photo.bmpHeader);
  return photo;
}

VImage LoadWithVips(const std::string& path, Container container, Access access, int jpegShrink) {
  auto* options = VImage::option();
  // A photo read to be written again must be whole: a truncated one would otherwise come
  // out with its missing part filled grey, and replace the original.
  if (access != Access::Random)
    options->set("access", VIPS_ACCESS_SEQUENTIAL)->set("fail_on", VIPS_FAIL_ON_TRUNCATED);
  switch (container) {
    case Container::Jpeg:
      if (jpegShrink > 1) options->set("shrink", jpegShrink);
      return VImage::jpegload(path.c_str(), options);
    case Container::Png:
      return VImage::pngload(path.c_str(), options);
    case Container::Gif:
      return VImage::gifload(path.c_str(), options);
    default:
      return VImage::tiffload(path.c_str(), options);
  }
}

std::string TempPathBeside(const std::string& target) {
  const TempFile temp = CreateTempBeside(target);
  if (temp.fd >= 0) close(temp.fd);
  return temp.path;
}

bool WriteAll(int fd, const char* bytes, std::size_t size) {
  while (size > 0) {
    const ssize_t written = write(fd, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

VImage PrepareForFormat(VImage image, PhotoFormat format) {
  if (format == PhotoFormat::Jpeg && image.has_alpha()) {
    // What a browser shows behind a transparent photo.
    image = image.flatten(VImage::option()->set("background", std::vector<double>{255.0}));
  }
  if (format == PhotoFormat::Bmp) image = ToSrgb8(image);
  return image;
}

void WriteBmp(VImage image, const std::string& path) {
  std::size_t size = 0;
  void* memory = image.write_to_memory(&size);
  const std::unique_ptr<void, decltype(&g_free)> owned(memory, &g_free);
  const int ppm = static_cast<int>(std::lround(image.yres() * 1000.0));
  // vips' own default of 1 pixel per millimetre means "unknown".
  const int written = image.xres() == 1.0 ? 0 : ppm;
  const std::string file = bmp::EncodeBmp(static_cast<const std::uint8_t*>(memory), image.width(),
                                          image.height(), image.bands(), written, written);
  // The temporary file is ours: a link put in its place is not followed.
  const int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC);
  const bool complete = fd >= 0 && WriteAll(fd, file.data(), file.size());
  if (fd >= 0 && close(fd) != 0) throw vips::VError("cannot write bitmap");
  if (!complete) throw vips::VError("cannot write bitmap");
}

// Metadata of the source describes the source; a redrawn photo keeps only its
// resolution and orientation.
VImage WithoutMetadata(VImage image) {
  image = image.copy();
  gchar** fields = vips_image_get_fields(image.get_image());
  for (gchar** field = fields; *field != nullptr; ++field) {
    const std::string_view name(*field);
    if (name.starts_with("exif-") || name.starts_with("xmp-") || name.starts_with("iptc-") ||
        name.starts_with("icc-")) {
      image.remove(*field);
    }
  }
  g_strfreev(fields);
  return image;
}

void Encode(VImage image, const std::string& path, const EncodeRequest& request) {
  switch (request.format) {
    case PhotoFormat::Jpeg: {
      auto* options = VImage::option();
      if (request.jpegQuality) options->set("Q", std::clamp(*request.jpegQuality, 1, 100));
      image.jpegsave(path.c_str(), options);
      return;
    }
    case PhotoFormat::Png:
      image.pngsave(path.c_str(), VImage::option());
      return;
    case PhotoFormat::Gif:
      image.gifsave(path.c_str(), VImage::option());
      return;
    case PhotoFormat::Tif:
      image.tiffsave(path.c_str(), VImage::option()
                                       ->set("compression", VIPS_FOREIGN_TIFF_COMPRESSION_LZW)
                                       ->set("resunit", VIPS_FOREIGN_TIFF_RESUNIT_INCH));
      return;
    default:
      WriteBmp(image, path);
      return;
  }
}

}  // namespace

void EnsureVips() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (VIPS_INIT("trawlix") != 0) return;
    // Photos change on disk under the same name; a cached decode would be stale.
    vips_cache_set_max(0);
    vips_block_untrusted_set(TRUE);
    // Damaged downloads are common and handled; their warnings are not worth a line on stderr.
    g_log_set_handler(
        "VIPS", G_LOG_LEVEL_WARNING, [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {},
        nullptr);
  });
}

void ForgetVipsError() {
  vips_error_clear();
}

std::optional<LoadedPhoto> LoadPhoto(const std::string& path, Access access, int jpegShrink) {
  EnsureVips();
  const Container container = SniffContainer(path);
  if (container == Container::Unknown) return std::nullopt;
  if (container == Container::Bmp) return LoadBmp(path, access);
  LoadedPhoto photo{LoadWithVips(path, container, access, jpegShrink), container, {}, std::nullopt};
  photo.size = {photo.image.width(), photo.image.height()};
  // A shrunk JPEG is at least (side - 1) * shrink + 1 pixels wide at full size.
  const int shrink = container == Container::Jpeg ? std::max(jpegShrink, 1) : 1;
  const PhotoSize full{(photo.image.width() - 1) * shrink + 1,
                       (photo.image.height() - 1) * shrink + 1};
  const auto sampleBytes = static_cast<int>(vips_format_sizeof(photo.image.format()));
  if (!WithinDecodeLimits(full, photo.image.bands(), sampleBytes)) return std::nullopt;
  return photo;
}

VImage ToSrgb8(VImage image) {
  const VipsInterpretation interpretation = image.interpretation();
  const bool plain = interpretation == VIPS_INTERPRETATION_sRGB &&
                     image.format() == VIPS_FORMAT_UCHAR &&
                     (image.bands() == 3 || image.bands() == 4);
  if (plain) return image;
  if (interpretation != image.guess_interpretation()) {
    image = image.copy(VImage::option()->set("interpretation", image.guess_interpretation()));
  }
  image = image.colourspace(VIPS_INTERPRETATION_sRGB);
  if (image.format() != VIPS_FORMAT_UCHAR) image = image.cast(VIPS_FORMAT_UCHAR);
  if (image.bands() > 4) image = image.extract_band(0, VImage::option()->set("n", 4));
  return image;
}

VImage ResizeExactly(VImage image, int width, int height) {
  if (image.width() == width && image.height() == height) return image;
  const bool alpha = image.has_alpha();
  VImage work = alpha ? image.premultiply() : image;
  const double hscale = static_cast<double>(width) / image.width();
  const double vscale = static_cast<double>(height) / image.height();
  work = work.resize(hscale,
                     VImage::option()->set("vscale", vscale)->set("kernel", VIPS_KERNEL_CUBIC));
  if (alpha) work = work.unpremultiply().cast(image.format());
  if (work.width() != width || work.height() != height) {
    // Rounding inside the resampler can leave a pixel over; the exact size is promised.
    work = work.embed(0, 0, width, height, VImage::option()->set("extend", VIPS_EXTEND_COPY));
  }
  return work;
}

bool SaveReplacing(VImage image, const std::string& target, const EncodeRequest& request) {
  if (request.format == PhotoFormat::None) return false;
  const std::string temp = TempPathBeside(target);
  if (temp.empty()) return false;
  try {
    image = PrepareForFormat(image, request.format);
    if (request.dropMetadata) image = WithoutMetadata(image);
    if (request.dpi && *request.dpi > 0) {
      const double perMillimetre = *request.dpi / 25.4;
      image = image.copy(VImage::option()->set("xres", perMillimetre)->set("yres", perMillimetre));
    }
    Encode(image, temp, request);
  } catch (const vips::VError&) {
    ForgetVipsError();
    std::remove(temp.c_str());
    return false;
  }
  return MoveIntoPlace(temp, target);
}

}  // namespace trawlix::imaging_internal
