#pragma once

// Internal to the pixel library. It includes vips, whose GLib headers clash with Qt's
// keywords, so no public header may include it. The imaging tests call these directly, so
// the library shows them.

#include <optional>
#include <string>
#include <string_view>
#include <vips/vips8>

#include "imaging/codec/BmpCodec.h"
#include "imaging/codec/Container.h"
#include "imaging/codec/PhotoFormat.h"

#pragma GCC visibility push(default)

namespace trawlix::imaging_internal {

struct LoadedPhoto {
  vips::VImage image;  // no pixels behind it for a bitmap opened as HeaderOnly
  Container container = Container::Unknown;
  PhotoSize size;
  std::optional<bmp::BmpHeader> bmpHeader;  // for bitmaps, what their header says
};

// HeaderOnly promises that no pixel will be asked for.
enum class Access { HeaderOnly, Random, Sequential };

// Starts vips once per process with its operation cache off.
void EnsureVips();

// Opens a photo lazily (header only until pixels are asked for). Null when the file is
// not a photo this program reads, or is larger than the pixel limits or the decoded-bytes
// budget. `jpegShrink` (1,
// 2, 4 or 8) decodes a JPEG at a fraction of its size.
std::optional<LoadedPhoto> LoadPhoto(const std::string& path, Access access, int jpegShrink = 1);

// 8-bit sRGB with 3 bands, or 4 with alpha.
vips::VImage ToSrgb8(vips::VImage image);

// Bicubic resize to exactly width x height.
vips::VImage ResizeExactly(vips::VImage image, int width, int height);

struct EncodeRequest {
  PhotoFormat format = PhotoFormat::None;
  std::optional<int> jpegQuality;  // encoder default when absent
  std::optional<int> dpi;          // the image's own resolution when absent
  bool dropMetadata = false;       // for a redrawn photo
};

// Writes the image to a temporary file beside `target` and renames it into place, so a
// failure never leaves a half-written photo nor harms the one already there.
bool SaveReplacing(vips::VImage image, const std::string& target, const EncodeRequest& request);

// Empties vips' process-wide error buffer after a failed call.
void ForgetVipsError();

}  // namespace trawlix::imaging_internal

#pragma GCC visibility pop
