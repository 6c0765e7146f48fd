#pragma once

// Internal to the imaging layer: what a photo file is by its signature, the decode limits
// and temporary files beside a target. None of it needs the image library.

#include <cstddef>
#include <string>
#include <string_view>

#include "imaging/codec/PhotoFormat.h"

namespace trawlix::imaging_internal {

enum class Container { Unknown, Jpeg, Png, Gif, Tiff, Bmp };

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

// A new, empty file beside `target`, created exclusively (never through a link), with
// its descriptor open for writing; fd is -1 when none could be made.
struct TempFile {
  std::string path;
  int fd = -1;
};
TempFile CreateTempBeside(const std::string& target);

// Renames a finished temporary file onto `target`, or removes it when that fails.
bool MoveIntoPlace(const std::string& temp, const std::string& target);

}  // namespace trawlix::imaging_internal
