#include "imaging/codec/PhotoCheck.h"

#include "imaging/pixels/VipsSupport.h"

namespace trawlix {

using imaging_internal::Access;
using imaging_internal::Container;

bool DecodesWhole(const std::string& path) {
  imaging_internal::EnsureVips();
  // Within the limits, and one of ours; a bitmap is decoded whole by our own codec here.
  const auto photo = imaging_internal::LoadPhoto(path, Access::Sequential);
  if (!photo) return false;
  if (photo->container == Container::Bmp) return true;
  try {
    auto* options = vips::VImage::option()
                        ->set("access", VIPS_ACCESS_SEQUENTIAL)
                        ->set("fail_on", VIPS_FAIL_ON_TRUNCATED);
    vips::VImage image;
    switch (photo->container) {
      case Container::Jpeg:
        image = vips::VImage::jpegload(path.c_str(), options);
        break;
      case Container::Png:
        image = vips::VImage::pngload(path.c_str(), options);
        break;
      case Container::Gif:
        image = vips::VImage::gifload(path.c_str(), options);
        break;
      default:
        image = vips::VImage::tiffload(path.c_str(), options);
        break;
    }
    (void)image.avg();  // pulls every pixel through the decoder
    return true;
  } catch (const vips::VError&) {
    imaging_internal::ForgetVipsError();
    return false;
  }
}

}  // namespace trawlix
