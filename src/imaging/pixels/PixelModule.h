#pragma once

// The pixel library (libtrawlix-pixels.so) holds everything that decodes or encodes pixels:
// the image library and the hundred libraries it pulls in take longer to load than a small
// scan takes to run, and a scan that only stores photos never needs them. The programs load
// it when a photo's pixels are first needed, through the public imaging calls, and look up
// this one function in it.

#include <optional>
#include <string>
#include <vector>

#include "imaging/codec/PhotoCodec.h"
#include "imaging/codec/PhotoProperties.h"
#include "imaging/codec/PhotoTransforms.h"
#include "imaging/codec/ThumbnailDecode.h"

namespace trawlix {

// The library's calls, each as the public call of the same name describes it.
struct PixelFunctions {
  void (*start)();
  const char* (*version)();
  PhotoSize (*readPhotoSize)(const std::string& path);
  PhotoDetails (*readPhotoDetails)(const std::string& path);
  bool (*decodesWhole)(const std::string& path);
  std::optional<DecodedThumbnail> (*decodeThumbnail)(const std::string& path, int boxWidth,
                                                     int boxHeight);
  SavedPhoto (*savePhotoAs)(const std::string& sourcePath, const std::string& folder,
                            const std::string& fileName, std::optional<int> resizeBox,
                            const PhotoEncoding& encoding);
  std::vector<SavedPhoto> (*saveResizedCopies)(const std::string& sourcePath,
                                               const std::vector<ResizedCopy>& copies);
  bool (*convertPhotoToGrayscale)(const std::string& sourcePath, const std::string& targetPath,
                                  GrayscaleBackground background);
  bool (*rotateFlipPhoto)(const std::string& sourcePath, const std::string& targetPath,
                          RotateFlip type);
  bool (*convertWebPhotoToJpeg)(const std::string& path, int jpegQuality, std::optional<int> dpi);
};

using PixelFunctionsEntry = const PixelFunctions* (*)();
inline constexpr char kPixelFunctionsSymbol[] = "trawlix_pixel_functions";

}  // namespace trawlix

extern "C" const trawlix::PixelFunctions* trawlix_pixel_functions();
