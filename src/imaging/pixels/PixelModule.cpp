#include "imaging/pixels/PixelModule.h"

#include "imaging/codec/PhotoCheck.h"
#include "imaging/codec/WebPhoto.h"
#include "imaging/pixels/VipsSupport.h"

extern "C" __attribute__((visibility("default"))) const trawlix::PixelFunctions*
trawlix_pixel_functions() {
  using namespace trawlix;
  static const PixelFunctions functions{&imaging_internal::EnsureVips,
                                        &vips_version_string,
                                        &ReadPhotoSize,
                                        &ReadPhotoDetails,
                                        &DecodesWhole,
                                        &DecodeThumbnail,
                                        &SavePhotoAs,
                                        &SaveResizedCopies,
                                        &ConvertPhotoToGrayscale,
                                        &RotateFlipPhoto,
                                        &ConvertWebPhotoToJpeg};
  return &functions;
}
