#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "imaging/codec/PhotoFormat.h"
#include "imaging/tools/FileList.h"

namespace trawlix {

// Names on disk take at most 255 bytes; this leaves room for a letter suffix and a
// longer extension after conversion.
inline constexpr std::size_t kMaxDownloadNameBytes = 250;

// A file name that stays inside its folder: path separators and control characters
// become '_', "." and ".." become "_" and "__", and an empty name becomes "_".
std::string SafeFileName(std::string_view name);

// The name a downloaded photo is stored under: the end of the proposed name (at most
// kMaxDownloadNameBytes), made safe, with a small leading number padded to two digits
// when the title holds no '_' or '-' ("7.jpg" and "7b.jpg" become "07.jpg").
std::string DownloadFileName(std::string_view proposedName);

// saveTo + "/" + DownloadFileName(proposedName).
std::string DownloadTargetPath(const std::string& saveTo, std::string_view proposedName);

struct AutoRenameOptions {
  std::string prefix;
  bool includePhotoSize = false;
  bool padNumbers = false;
  int padding = 0;  // digits when padNumbers is set
};

// prefix + "(WxH)_" (with includePhotoSize) + the number (zero-padded with padNumbers)
// + the format's extension: Beach(800x600)_0012.jpg. A negative size is written as 0.
std::string MakeAutoRenameName(const AutoRenameOptions& options, PhotoSize size, PhotoFormat format,
                               int number);

// The same for a photo on disk: its header gives the size (0x0 when unreadable) and its
// name the format (".jpeg" becomes ".jpg").
std::string MakeAutoRenameName(const AutoRenameOptions& options, const std::string& sourcePath,
                               int number);

// folder + "/" + the auto-rename name, with the number raised until the name is free
// so that no existing photo is overwritten; `number` is left at the one used. Empty
// when no free name is found.
std::string MakeFreeAutoRenamePath(const AutoRenameOptions& options, const std::string& folder,
                                   const std::string& sourcePath, int& number);

// folder/title + 'a'..'z' + extension: the first that names no existing file. Null after
// 'z'; the caller then skips the photo rather than overwrite one.
std::optional<std::string> MakeLetterSuffixedName(const std::string& path);

// The photos (*.jpg, *.png, *.gif, *.bmp, *.tif) under saveTo, leaving out those lying
// directly in the thumbnail and mobile folders.
int CountProjectPhotos(const std::string& saveTo, const std::string& thumbnailSaveTo,
                       const std::string& mobileSaveTo, Recursion recursion);

}  // namespace trawlix
