#include "imaging/PhotoCodec.h"

#include <algorithm>
#include <filesystem>

#include "base/Path.h"
#include "base/Text.h"
#include "imaging/VipsSupport.h"

namespace trawlix {
namespace {

using imaging_internal::Access;
using imaging_internal::LoadedPhoto;
using imaging_internal::LoadPhoto;

std::string JoinFolder(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

// JPEG decodes at 1/2, 1/4 or 1/8 of full size, block-averaged. Leaving at least twice
// the target for the bicubic pass keeps thumbnails as sharp as a full decode would.
int JpegShrinkFor(PhotoSize full, PhotoSize target) {
  const double factor = std::min(static_cast<double>(full.width) / target.width,
                                 static_cast<double>(full.height) / target.height);
  if (factor >= 16) return 8;
  if (factor >= 8) return 4;
  if (factor >= 4) return 2;
  return 1;
}

// A photo drawn anew at `size`, colour-managed to sRGB: what a resized or
// re-resolved copy starts from.
vips::VImage Redraw(const std::string& sourcePath, const LoadedPhoto& header, PhotoSize size) {
  vips::VImage image = header.image;
  if (header.container == imaging_internal::Container::Jpeg) {
    const int shrink = JpegShrinkFor({image.width(), image.height()}, size);
    if (shrink > 1) {
      std::optional<LoadedPhoto> shrunk = LoadPhoto(sourcePath, Access::Sequential, shrink);
      if (!shrunk) throw vips::VError("photo changed while it was read");
      image = shrunk->image;
    }
  }
  const bool embeddedProfile = image.get_typeof(VIPS_META_ICC_NAME) != 0;
  image = imaging_internal::ToSrgb8(image);
  image = imaging_internal::ResizeExactly(image, size.width, size.height);
  if (embeddedProfile && image.interpretation() == VIPS_INTERPRETATION_sRGB) {
    // Metadata is dropped below, so colours must not depend on the photo's own profile.
    image = image.icc_transform("srgb", vips::VImage::option()->set("embedded", true));
  }
  return image;
}

SavedPhoto Save(const std::string& sourcePath, const std::string& target, std::optional<int> box,
                const PhotoEncoding& encoding) {
  SavedPhoto saved{target, false};
  imaging_internal::EncodeRequest request{encoding.format, std::nullopt, encoding.dpi, false};
  if (encoding.format == PhotoFormat::Jpeg) request.jpegQuality = encoding.jpegQuality;
  try {
    std::optional<LoadedPhoto> photo = LoadPhoto(sourcePath, Access::Sequential);
    if (!photo) return saved;
    vips::VImage image = photo->image;
    if (box || encoding.dpi) {
      PhotoSize size{image.width(), image.height()};
      if (box) {
        size = FitToBoundingBox(size.width, size.height, *box, *box);
        size = {std::max(size.width, 1), std::max(size.height, 1)};
      }
      image = Redraw(sourcePath, *photo, size);
      request.dropMetadata = true;
    }
    saved.written = imaging_internal::SaveReplacing(image, target, request);
  } catch (const vips::VError&) {
    imaging_internal::ForgetVipsError();
  }
  return saved;
}

}  // namespace

void InitImaging() {
  imaging_internal::EnsureVips();
}

PhotoSize ReadPhotoSize(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return {-1, -1};
  try {
    std::optional<LoadedPhoto> photo = LoadPhoto(path, Access::HeaderOnly);
    if (photo) return photo->size;
  } catch (const vips::VError&) {
    imaging_internal::ForgetVipsError();
  }
  return {0, 0};
}

SavedPhoto SavePhotoAs(const std::string& sourcePath, const std::string& folder,
                       const std::string& fileName, std::optional<int> resizeBox,
                       const PhotoEncoding& encoding) {
  return Save(Trim(sourcePath), JoinFolder(Trim(folder), fileName), resizeBox, encoding);
}

SavedPhoto SaveResizedCopy(const std::string& folder, const std::string& baseName,
                           const std::string& sourcePath, int box, const PhotoEncoding& encoding) {
  const std::string title = SplitPath(baseName.empty() ? sourcePath : baseName).title;
  return Save(sourcePath, JoinFolder(folder, title + PhotoFormatExtension(encoding.format)), box,
              encoding);
}

std::string MakeTempPhotoPath(const std::string& folder, const std::string& extension) {
  constexpr int kMaxCounter = 99999;
  for (int counter = 0; counter <= kMaxCounter; ++counter) {
    const std::string path =
        JoinFolder(folder, Format("TempPhoto%04d%s", counter, extension.c_str()));
    std::error_code error;
    if (!std::filesystem::exists(path, error) && !error) return path;
  }
  return {};
}

}  // namespace trawlix
