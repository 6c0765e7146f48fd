#include "imaging/codec/ThumbnailDecode.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "imaging/pixels/VipsSupport.h"

namespace trawlix {
namespace {

using imaging_internal::Access;
using imaging_internal::Container;
using vips::VImage;

VImage Shrink(const std::string& path, const imaging_internal::LoadedPhoto& header, int boxWidth,
              int boxHeight) {
  auto* options = VImage::option()
                      ->set("height", boxHeight)
                      ->set("size", VIPS_SIZE_DOWN)
                      // Shown as stored: the size and the transforms speak of these pixels.
                      ->set("no_rotate", true);
  if (header.container == Container::Bmp) {
    // Bitmaps are decoded by our own codec; vips only scales them.
    std::optional<imaging_internal::LoadedPhoto> full =
        imaging_internal::LoadPhoto(path, Access::Random);
    if (!full) throw vips::VError("bitmap unreadable");
    return full->image.thumbnail_image(boxWidth, options);
  }
  // The signature was checked: vips picks the loader that matches it, and the JPEG loader
  // shrinks while it decodes.
  return VImage::thumbnail(path.c_str(), boxWidth, options);
}

}  // namespace

std::optional<DecodedThumbnail> DecodeThumbnail(const std::string& path, int boxWidth,
                                                int boxHeight) {
  if (boxWidth <= 0 || boxHeight <= 0) return std::nullopt;
  try {
    // The header first: it refuses unknown containers and photos beyond the pixel limits
    // before any pixel is decoded.
    std::optional<imaging_internal::LoadedPhoto> header =
        imaging_internal::LoadPhoto(path, Access::HeaderOnly);
    if (!header) return std::nullopt;
    VImage image = imaging_internal::ToSrgb8(Shrink(path, *header, boxWidth, boxHeight));
    if (image.bands() == 2 || image.bands() > 4) return std::nullopt;
    DecodedThumbnail thumbnail;
    thumbnail.width = image.width();
    thumbnail.height = image.height();
    thumbnail.bands = image.bands();
    thumbnail.photoSize = header->size;
    std::size_t size = 0;
    void* memory = image.write_to_memory(&size);
    const std::unique_ptr<void, decltype(&g_free)> owned(memory, &g_free);
    const std::size_t expected = static_cast<std::size_t>(thumbnail.width) *
                                 static_cast<std::size_t>(thumbnail.height) *
                                 static_cast<std::size_t>(thumbnail.bands);
    if (size != expected) return std::nullopt;
    const auto* bytes = static_cast<const std::uint8_t*>(memory);
    thumbnail.pixels.assign(bytes, bytes + size);
    return thumbnail;
  } catch (const vips::VError&) {
    imaging_internal::ForgetVipsError();
  }
  return std::nullopt;
}

}  // namespace trawlix
