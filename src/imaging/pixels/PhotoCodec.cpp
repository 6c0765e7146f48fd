#include "imaging/codec/PhotoCodec.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "base/Path.h"
#include "base/Text.h"
#include "imaging/codec/FileByteSource.h"
#include "imaging/codec/PhotoDensity.h"
#include "imaging/pixels/VipsSupport.h"

namespace trawlix {
namespace {

using imaging_internal::Access;
using imaging_internal::LoadedPhoto;
using imaging_internal::LoadPhoto;

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

// What a reader makes of the written file: its size and resolution must be the intended.
bool ReadsBackAs(const std::string& path, const LoadedPhoto& source, int dpi) {
  std::optional<LoadedPhoto> written = LoadPhoto(path, Access::HeaderOnly);
  if (!written || written->container != source.container || written->size != source.size)
    return false;
  if (source.container == imaging_internal::Container::Gif) return true;
  // A bitmap opened for its header has no image behind it; the header holds the fields.
  const bool bitmap = written->bmpHeader.has_value();
  const double xres = bitmap ? written->bmpHeader->xPixelsPerMeter / 1000.0 : written->image.xres();
  const double yres = bitmap ? written->bmpHeader->yPixelsPerMeter / 1000.0 : written->image.yres();
  // Pixels per metre hold 300 dpi as 299.9994.
  constexpr double kTolerance = 0.05;
  return std::abs(xres * 25.4 - dpi) < kTolerance && std::abs(yres * 25.4 - dpi) < kTolerance;
}

// The source's bytes with `edits` applied, under a new name beside `target`; empty when
// that failed.
std::string CopyBesideWithEdits(const std::string& sourcePath, const std::vector<ByteEdit>& edits,
                                const std::string& target) {
  const FileByteSource source(sourcePath);
  if (!source.IsOpen()) return {};
  const imaging_internal::TempFile temp = imaging_internal::CreateTempBeside(target);
  if (temp.fd < 0) return {};
  bool complete = CopyWithEdits(source, edits, [&temp](const char* bytes, std::size_t size) {
    while (size > 0) {
      const ssize_t written = write(temp.fd, bytes, size);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return false;
      bytes += written;
      size -= static_cast<std::size_t>(written);
    }
    return true;
  });
  complete = close(temp.fd) == 0 && complete;
  if (complete) return temp.path;
  std::remove(temp.path.c_str());
  return {};
}

// The source's bytes with the resolution written into them (0: unchanged); false when the
// file's structure does not allow it, so that the caller re-encodes instead.
bool SaveDensityOnly(const std::string& sourcePath, const std::string& target,
                     const LoadedPhoto& photo, int dpi) {
  std::vector<ByteEdit> edits;
  if (dpi > 0) {
    const FileByteSource source(sourcePath);
    if (!source.IsOpen()) return false;
    std::optional<std::vector<ByteEdit>> planned =
        PlanDensityEdits(source, imaging_internal::FormatOf(photo.container), dpi);
    if (!planned) return false;
    edits = std::move(*planned);
  }
  const std::string temp = CopyBesideWithEdits(sourcePath, edits, target);
  if (temp.empty()) return false;
  if (dpi > 0 && !ReadsBackAs(temp, photo, dpi)) {
    std::remove(temp.c_str());
    return false;
  }
  return imaging_internal::MoveIntoPlace(temp, target);
}

imaging_internal::EncodeRequest RequestFor(const PhotoEncoding& encoding) {
  imaging_internal::EncodeRequest request{encoding.format, std::nullopt, encoding.dpi, false};
  if (encoding.format == PhotoFormat::Jpeg) request.jpegQuality = encoding.jpegQuality;
  return request;
}

SavedPhoto Save(const std::string& sourcePath, const std::string& target,
                const std::optional<int>& resizeBox, const PhotoEncoding& encoding) {
  // Plain values: GCC's optional analysis reports false uninitialised reads here.
  int box = resizeBox.value_or(0);
  SavedPhoto saved{target, false};
  imaging_internal::EncodeRequest request = RequestFor(encoding);
  try {
    const bool sameFormat =
        imaging_internal::FormatOf(imaging_internal::SniffContainer(sourcePath)) == encoding.format;
    if (sameFormat) {
      // The header is enough: a bitmap is not decoded for this.
      std::optional<LoadedPhoto> header = LoadPhoto(sourcePath, Access::HeaderOnly);
      if (!header) return saved;
      // A photo that already fits and keeps its format keeps its pixels: at most its
      // resolution is written into its bytes.
      const bool fits = box > 0 && header->size.width <= box && header->size.height <= box;
      if (fits) box = 0;
      const int dpi = std::max(encoding.dpi.value_or(0), 0);
      if (box == 0 && (fits || dpi > 0) && SaveDensityOnly(sourcePath, target, *header, dpi)) {
        saved.written = true;
        return saved;
      }
    }
    std::optional<LoadedPhoto> photo = LoadPhoto(sourcePath, Access::Sequential);
    if (!photo) return saved;
    vips::VImage image = photo->image;
    if (box > 0 || encoding.dpi) {
      PhotoSize size{image.width(), image.height()};
      if (box > 0) {
        size = FitToBoundingBox(size.width, size.height, box, box);
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

std::string CopyPath(const std::string& sourcePath, const ResizedCopy& copy) {
  const std::string title = SplitPath(copy.baseName.empty() ? sourcePath : copy.baseName).title;
  return JoinPath(copy.folder, title + PhotoFormatExtension(copy.encoding.format));
}

}  // namespace

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
  return Save(Trim(sourcePath), JoinPath(Trim(folder), fileName), resizeBox, encoding);
}

std::vector<SavedPhoto> SaveResizedCopies(const std::string& sourcePath,
                                          const std::vector<ResizedCopy>& copies) {
  std::vector<SavedPhoto> saved;
  for (const ResizedCopy& copy : copies) saved.push_back({CopyPath(sourcePath, copy), false});
  try {
    std::optional<LoadedPhoto> photo = LoadPhoto(sourcePath, Access::Sequential);
    if (!photo) return saved;
    std::vector<PhotoSize> sizes;
    std::optional<PhotoSize> largest;
    int wanted = 0;
    for (const ResizedCopy& copy : copies) {
      PhotoSize size = FitToBoundingBox(photo->size.width, photo->size.height, copy.box, copy.box);
      size = {std::max(size.width, 1), std::max(size.height, 1)};
      sizes.push_back(size);
      if (copy.encoding.format == PhotoFormat::None) continue;
      ++wanted;
      if (!largest || static_cast<long long>(size.width) * size.height >
                          static_cast<long long>(largest->width) * largest->height) {
        largest = size;
      }
    }
    if (!largest) return saved;
    // One copy streams from the decoder; several share the largest, held in memory.
    vips::VImage base = Redraw(sourcePath, *photo, *largest);
    if (wanted > 1) base = base.copy_memory();
    for (std::size_t i = 0; i < copies.size(); ++i) {
      if (copies[i].encoding.format == PhotoFormat::None) continue;
      imaging_internal::EncodeRequest request = RequestFor(copies[i].encoding);
      request.dropMetadata = true;
      const vips::VImage image =
          imaging_internal::ResizeExactly(base, sizes[i].width, sizes[i].height);
      saved[i].written = imaging_internal::SaveReplacing(image, saved[i].path, request);
    }
  } catch (const vips::VError&) {
    imaging_internal::ForgetVipsError();
  }
  return saved;
}

}  // namespace trawlix
