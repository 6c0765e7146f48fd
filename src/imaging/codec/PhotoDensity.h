#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "imaging/codec/ByteSource.h"
#include "imaging/codec/PhotoFormat.h"

namespace trawlix {

// One change to a file: `removed` bytes at `at` give way to `inserted`.
struct ByteEdit {
  std::uint64_t at = 0;
  std::uint64_t removed = 0;
  std::string inserted;
  friend bool operator==(const ByteEdit&, const ByteEdit&) = default;
};

// The edits, in file order and never overlapping, that set a photo's resolution to `dpi`
// dots per inch and leave every other byte alone: the JFIF density of a JPEG (an APP0
// segment is inserted when there is none) and its Exif resolution where present, the pHYs
// chunk of a PNG (replaced, or inserted before the first IDAT), the resolution tags of a
// classic TIFF, the pixels-per-metre fields of a BMP. A GIF has no such field: no edits.
// Null when the bytes are not a well-formed photo of that format, or when the density
// cannot be stored without decoding the pixels (a BigTIFF, an RGB JPEG without JFIF
// segment or complete Exif resolution, a bitmap header without resolution fields).
std::optional<std::vector<ByteEdit>> PlanDensityEdits(const ByteSource& photo, PhotoFormat format,
                                                      int dpi);

// Streams the source with the edits applied to `write`, which returns false to stop.
// False when the source could not be read or `write` failed.
bool CopyWithEdits(const ByteSource& source, const std::vector<ByteEdit>& edits,
                   const std::function<bool(const char* bytes, std::size_t size)>& write);

// The same into memory; empty when the source could not be read.
std::string ApplyEdits(const ByteSource& source, const std::vector<ByteEdit>& edits);

}  // namespace trawlix
