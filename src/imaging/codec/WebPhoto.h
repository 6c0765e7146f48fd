#pragma once

#include <optional>
#include <string>

namespace trawlix {

// The web's newer photo containers. They are never stored as they come: a scan that wants
// JPEG photos converts them, so everything else keeps to the five formats it knows.
enum class WebPhotoFormat { None, WebP, Avif };

// By the file's signature, whatever its name says.
WebPhotoFormat SniffWebPhoto(const std::string& path);

// Decodes the whole WebP or AVIF photo at `path` (its first frame when animated) and writes it
// over the same path as JPEG, transparency on white. False, leaving the file as it was, when it
// is neither, is cut short or damaged, or is beyond the photo limits.
bool ConvertWebPhotoToJpeg(const std::string& path, int jpegQuality, std::optional<int> dpi);

// Readies a download named `name` for a project that wants JPEG: a WebP or AVIF photo is
// converted in place and named ".jpg"; a photo of one of the five formats that came under a
// ".webp" or ".avif" name takes its own format's extension. Returns the name to store it
// under, or none when a WebP or AVIF photo could not be converted.
std::optional<std::string> PrepareWebPhoto(const std::string& path, const std::string& name,
                                           int jpegQuality);

}  // namespace trawlix
