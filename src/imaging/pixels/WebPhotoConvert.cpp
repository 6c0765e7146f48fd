#include <vips/vips8>

#include "imaging/codec/WebPhoto.h"
#include "imaging/pixels/VipsSupport.h"

namespace trawlix {

bool ConvertWebPhotoToJpeg(const std::string& path, int jpegQuality, std::optional<int> dpi) {
  const WebPhotoFormat format = SniffWebPhoto(path);
  if (format == WebPhotoFormat::None) return false;
  imaging_internal::EnsureVips();
  try {
    auto* options = vips::VImage::option()
                        ->set("access", VIPS_ACCESS_SEQUENTIAL)
                        ->set("fail_on", VIPS_FAIL_ON_TRUNCATED);
    vips::VImage image = format == WebPhotoFormat::WebP
                             ? vips::VImage::webpload(path.c_str(), options)
                             : vips::VImage::heifload(path.c_str(), options);
    // The header is all that is read so far: refuse a photo too large to decode.
    const auto sampleBytes = static_cast<int>(vips_format_sizeof(image.format()));
    if (!imaging_internal::WithinDecodeLimits({image.width(), image.height()}, image.bands(),
                                              sampleBytes))
      return false;
    imaging_internal::EncodeRequest request;
    request.format = PhotoFormat::Jpeg;
    request.jpegQuality = jpegQuality;
    request.dpi = dpi;
    return imaging_internal::SaveReplacing(imaging_internal::ToSrgb8(image), path, request);
  } catch (const vips::VError&) {
    imaging_internal::ForgetVipsError();
    return false;
  }
}

}  // namespace trawlix
