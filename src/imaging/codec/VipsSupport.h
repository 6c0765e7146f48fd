#pragma once

// Internal to the imaging layer. It includes vips, whose GLib headers clash with Qt's
// keywords, so no public header may include it.

#include <optional>
#include <string>
#include <string_view>
#include <vips/vips8>

#include "imaging/codec/BmpCodec.h"
#include "imaging/codec/PhotoFormat.h"

namespace trawlix::imaging_internal {

enum class Container { Unknown, Jpeg, Png, Gif, Tiff, Bmp };

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

// Reads the file's signature; only the five photo containers are ever decoded, so no
// other loader (and none of the heavyweight ones) sees bytes from the web.
Container SniffContainer(const std::string& path);
// The same from the file's first kSniffBytes bytes.
inline constexpr std::size_t kSniffBytes = 8;
Container SniffContainerOf(std::string_view head);

// The photo format a container is written in (None for Unknown).
PhotoFormat FormatOf(Container container);

// Whether a photo of that size, with `bands` samples of `bytesPerSample` bytes per pixel,
// is within the pixel limits and the decoded-bytes budget.
bool WithinDecodeLimits(PhotoSize size, int bands, int bytesPerSample);

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

// A new, empty file beside `target`, created exclusively (never through a link), with
// its descriptor open for writing; fd is -1 when none could be made.
struct TempFile {
  std::string path;
  int fd = -1;
};
TempFile CreateTempBeside(const std::string& target);

// Renames a finished temporary file onto `target`, or removes it when that fails.
bool MoveIntoPlace(const std::string& temp, const std::string& target);

// Writes the image to a temporary file beside `target` and renames it into place, so a
// failure never leaves a half-written photo nor harms the one already there.
bool SaveReplacing(vips::VImage image, const std::string& target, const EncodeRequest& request);

// Empties vips' process-wide error buffer after a failed call.
void ForgetVipsError();

}  // namespace trawlix::imaging_internal
