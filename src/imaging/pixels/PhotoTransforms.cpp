#include "imaging/codec/PhotoTransforms.h"

#include "imaging/codec/PhotoFormat.h"
#include "imaging/pixels/VipsSupport.h"

namespace trawlix {
namespace {

using imaging_internal::Access;
using vips::VImage;

// Luma weights: each output channel is 0.299 R + 0.587 G + 0.114 B; alpha is kept.
VImage Grayscale(VImage image) {
  image = imaging_internal::ToSrgb8(image);
  std::vector<double> weights;
  for (int row = 0; row < 3; ++row) weights.insert(weights.end(), {0.299, 0.587, 0.114});
  const VImage matrix = VImage::new_matrix(3, 3, weights.data(), static_cast<int>(weights.size()));
  VImage gray = image.extract_band(0, VImage::option()->set("n", 3)).recomb(matrix);
  gray = (gray + 0.5).cast(VIPS_FORMAT_UCHAR);
  if (image.bands() == 4) gray = gray.bandjoin(image.extract_band(3));
  return gray.copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
}

VImage RotateThenFlip(VImage image, RotateFlip type) {
  const int code = static_cast<int>(type);
  static constexpr VipsAngle kAngles[] = {VIPS_ANGLE_D0, VIPS_ANGLE_D90, VIPS_ANGLE_D180,
                                          VIPS_ANGLE_D270};
  if (code % 4 != 0) image = image.rot(kAngles[code % 4]);
  if (code >= 4) image = image.flip(VIPS_DIRECTION_HORIZONTAL);
  // The pixels are now upright as stored; a kept orientation tag would turn them again.
  if (image.get_typeof(VIPS_META_ORIENTATION) != 0) {
    image = image.copy();
    image.set(VIPS_META_ORIENTATION, 1);
  }
  return image;
}

template <typename Transform>
bool TransformPhoto(const std::string& sourcePath, const std::string& targetPath, Access access,
                    Transform transform) {
  const PhotoFormat format = PhotoFormatFromPath(sourcePath);
  if (format == PhotoFormat::None) return false;
  try {
    std::optional<imaging_internal::LoadedPhoto> photo =
        imaging_internal::LoadPhoto(sourcePath, access);
    if (!photo) return false;
    return imaging_internal::SaveReplacing(transform(photo->image), targetPath,
                                           {format, std::nullopt, std::nullopt, false});
  } catch (const vips::VError&) {
    imaging_internal::ForgetVipsError();
    return false;
  }
}

}  // namespace

bool ConvertPhotoToGrayscale(const std::string& sourcePath, const std::string& targetPath,
                             GrayscaleBackground background) {
  return TransformPhoto(sourcePath, targetPath, Access::Sequential, [background](VImage image) {
    VImage gray = Grayscale(image);
    if (background == GrayscaleBackground::White && gray.has_alpha()) {
      gray = gray.flatten(VImage::option()->set("background", std::vector<double>{255.0}));
    }
    return gray;
  });
}

bool RotateFlipPhoto(const std::string& sourcePath, const std::string& targetPath,
                     RotateFlip type) {
  if (static_cast<int>(type) < 0 || static_cast<int>(type) > 7) return false;
  return TransformPhoto(sourcePath, targetPath, Access::Random,
                        [type](VImage image) { return RotateThenFlip(image, type); });
}

}  // namespace trawlix
