// The public imaging calls that need pixels, passed on to the pixel library, which is
// loaded on the first of them (imaging/pixels/PixelModule.h).

#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "imaging/codec/PhotoCheck.h"
#include "imaging/codec/WebPhoto.h"
#include "imaging/pixels/PixelModule.h"

namespace trawlix {

namespace {

#ifdef TRAWLIX_PIXELS_LINKED

// The sanitizer builds link the library (see CMakeLists.txt).
const PixelFunctions* LoadPixelLibrary() {
  return trawlix_pixel_functions();
}

#else

std::string ProgramFolder() {
  std::array<char, 4096> path{};
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (length <= 0) return {};
  return std::filesystem::path(std::string(path.data(), static_cast<std::size_t>(length)))
      .parent_path()
      .string();
}

// Beside the installed programs first, then where this build made it.
std::string PixelLibraryPath() {
  const std::string installed = ProgramFolder() + "/" + TRAWLIX_PIXEL_LIBRARY_INSTALLED;
  std::error_code error;
  if (std::filesystem::is_regular_file(installed, error)) return installed;
  return TRAWLIX_PIXEL_LIBRARY_BUILT;
}

// What the calls answer when the library cannot be loaded: nothing decodes, nothing is
// written.
const PixelFunctions kUnavailable{
    [] {},
    [] { return ""; },
    [](const std::string& path) {
      std::error_code error;
      return std::filesystem::exists(path, error) ? PhotoSize{0, 0} : PhotoSize{-1, -1};
    },
    [](const std::string&) { return PhotoDetails{}; },
    [](const std::string&) { return false; },
    [](const std::string&, int, int) { return std::optional<DecodedThumbnail>(); },
    [](const std::string&, const std::string& folder, const std::string& fileName,
       std::optional<int>, const PhotoEncoding&) {
      return SavedPhoto{folder + "/" + fileName, false};
    },
    [](const std::string&, const std::vector<ResizedCopy>& copies) {
      return std::vector<SavedPhoto>(copies.size());
    },
    [](const std::string&, const std::string&, GrayscaleBackground) { return false; },
    [](const std::string&, const std::string&, RotateFlip) { return false; },
    [](const std::string&, int, std::optional<int>) { return false; },
};

const PixelFunctions* LoadPixelLibrary() {
  const std::string path = PixelLibraryPath();
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  const auto entry =
      library == nullptr
          ? nullptr
          : reinterpret_cast<PixelFunctionsEntry>(dlsym(library, kPixelFunctionsSymbol));
  if (entry == nullptr) {
    std::fprintf(stderr, "trawlix: the photo library could not be loaded: %s\n", dlerror());
    return &kUnavailable;
  }
  return entry();
}

#endif

const PixelFunctions& Pixels() {
  static const PixelFunctions* const functions = [] {
    const PixelFunctions* loaded = LoadPixelLibrary();
    loaded->start();
    return loaded;
  }();
  return *functions;
}

}  // namespace

void InitImaging() {
  Pixels();
}

std::string ImageLibraryVersion() {
  return Pixels().version();
}

PhotoSize ReadPhotoSize(const std::string& path) {
  return Pixels().readPhotoSize(path);
}

PhotoDetails ReadPhotoDetails(const std::string& path) {
  return Pixels().readPhotoDetails(path);
}

bool DecodesWhole(const std::string& path) {
  return Pixels().decodesWhole(path);
}

std::optional<DecodedThumbnail> DecodeThumbnail(const std::string& path, int boxWidth,
                                                int boxHeight) {
  return Pixels().decodeThumbnail(path, boxWidth, boxHeight);
}

SavedPhoto SavePhotoAs(const std::string& sourcePath, const std::string& folder,
                       const std::string& fileName, std::optional<int> resizeBox,
                       const PhotoEncoding& encoding) {
  return Pixels().savePhotoAs(sourcePath, folder, fileName, resizeBox, encoding);
}

SavedPhoto SaveResizedCopy(const std::string& folder, const std::string& baseName,
                           const std::string& sourcePath, int box, const PhotoEncoding& encoding) {
  return SaveResizedCopies(sourcePath, {{folder, baseName, box, encoding}}).front();
}

std::vector<SavedPhoto> SaveResizedCopies(const std::string& sourcePath,
                                          const std::vector<ResizedCopy>& copies) {
  return Pixels().saveResizedCopies(sourcePath, copies);
}

bool ConvertPhotoToGrayscale(const std::string& sourcePath, const std::string& targetPath,
                             GrayscaleBackground background) {
  return Pixels().convertPhotoToGrayscale(sourcePath, targetPath, background);
}

bool RotateFlipPhoto(const std::string& sourcePath, const std::string& targetPath,
                     RotateFlip type) {
  return Pixels().rotateFlipPhoto(sourcePath, targetPath, type);
}

bool ConvertWebPhotoToJpeg(const std::string& path, int jpegQuality, std::optional<int> dpi) {
  return Pixels().convertWebPhotoToJpeg(path, jpegQuality, dpi);
}

}  // namespace trawlix
