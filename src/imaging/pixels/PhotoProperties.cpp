#include "imaging/codec/PhotoProperties.h"

#include <vips/vips8>

#include "imaging/pixels/VipsSupport.h"

namespace trawlix {
namespace {

using imaging_internal::Container;
using vips::VImage;

// Files that carry no resolution read as the screen's.
constexpr double kDefaultDpi = 96.0;

RawFormat RawFormatOf(Container container) {
  switch (container) {
    case Container::Jpeg:
      return RawFormat::Jpeg;
    case Container::Png:
      return RawFormat::Png;
    case Container::Gif:
      return RawFormat::Gif;
    case Container::Tiff:
      return RawFormat::Tiff;
    case Container::Bmp:
      return RawFormat::Bmp;
    default:
      return RawFormat::Undefined;
  }
}

PixelFormat IndexedByDepth(int bits) {
  if (bits <= 1) return PixelFormat::Indexed1;
  if (bits <= 4) return PixelFormat::Indexed4;
  return PixelFormat::Indexed8;
}

PixelFormat BmpPixelFormat(const bmp::BmpHeader& h) {
  switch (h.bitsPerPixel) {
    case 1:
    case 4:
    case 8:
      return IndexedByDepth(h.bitsPerPixel);
    case 16:
      if (h.alphaMask != 0) return PixelFormat::Argb1555;
      return h.greenMask == 0x07E0 ? PixelFormat::Rgb565 : PixelFormat::Rgb555;
    case 24:
      return PixelFormat::Rgb24;
    default:
      return h.alphaMask != 0 ? PixelFormat::Argb32 : PixelFormat::Rgb32;
  }
}

// A decoder that hands out palettes reports palette photos as indexed; everything
// else decodes to 24-bit RGB, 32-bit ARGB or, at 16 bits a sample, 48/64 bits.
PixelFormat DecodedPixelFormat(const imaging_internal::LoadedPhoto& photo) {
  if (photo.bmpHeader) return BmpPixelFormat(*photo.bmpHeader);
  const VImage& image = photo.image;
  if (photo.container == Container::Gif) return PixelFormat::Indexed8;
  if (image.get_typeof("palette-bit-depth") != 0)
    return IndexedByDepth(image.get_int("palette-bit-depth"));
  const bool wide = image.format() == VIPS_FORMAT_USHORT;
  const bool alpha = image.has_alpha();
  if (image.bands() == 1 && !wide)
    return PixelFormat::Indexed8;  // grey photos come with a grey palette
  if (image.bands() == 1) return PixelFormat::Gray16;
  if (wide) return alpha ? PixelFormat::Argb64 : PixelFormat::Rgb48;
  return alpha ? PixelFormat::Argb32 : PixelFormat::Rgb24;
}

double DpiOf(double pixelsPerMillimetre) {
  // vips reads a missing resolution as one pixel per millimetre.
  if (pixelsPerMillimetre <= 0 || pixelsPerMillimetre == 1.0) return kDefaultDpi;
  return pixelsPerMillimetre * 25.4;
}

}  // namespace

PhotoDetails ReadPhotoDetails(const std::string& path) {
  PhotoDetails details;
  try {
    std::optional<imaging_internal::LoadedPhoto> photo =
        imaging_internal::LoadPhoto(path, imaging_internal::Access::HeaderOnly);
    if (!photo) return details;
    details.size = photo->size;
    details.rawFormat = RawFormatOf(photo->container);
    details.pixelFormat = DecodedPixelFormat(*photo);
    if (photo->bmpHeader) {
      details.dpiX = DpiOf(photo->bmpHeader->xPixelsPerMeter / 1000.0);
      details.dpiY = DpiOf(photo->bmpHeader->yPixelsPerMeter / 1000.0);
    } else {
      details.dpiX = DpiOf(photo->image.xres());
      details.dpiY = DpiOf(photo->image.yres());
    }
  } catch (const vips::VError&) {
    imaging_internal::ForgetVipsError();
  }
  return details;
}

}  // namespace trawlix
