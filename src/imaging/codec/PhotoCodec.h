#pragma once

#include <optional>
#include <string>
#include <vector>

#include "imaging/codec/PhotoFormat.h"
#include "imaging/codec/PhotoLimits.h"

namespace trawlix {

// Loads the pixel library and starts the image library with its operation cache off
// (photos change on disk under the same name), once per process, from any thread. Every
// function below that decodes or encodes makes sure of it; a program calls it itself to
// pay the start-up before its first photo.
void InitImaging();

// The image library's version, as "8.14.1"; empty when it could not be loaded.
std::string ImageLibraryVersion();

// The size from the photo's header; pixels are not decoded. (-1, -1) when the file does
// not exist, (0, 0) when it is not a JPEG, PNG, GIF, BMP or TIFF this program can
// read, or is larger than the pixel limits.
PhotoSize ReadPhotoSize(const std::string& path);
// The same, from the header's own fields where they show it for sure (a JPEG, PNG, GIF, BMP
// or TIFF whose size no sample layout could push past the limits), without the decoders;
// from ReadPhotoSize otherwise. For a scan's downloads, thousands a minute.
PhotoSize ReadPhotoSizeQuickly(const std::string& path);

struct PhotoEncoding {
  PhotoEncoding(PhotoFormat format_ = PhotoFormat::Jpeg, int jpegQuality_ = 90,
                std::optional<int> dpi_ = {})
      : format(format_), jpegQuality(jpegQuality_), dpi(dpi_) {}

  PhotoFormat format;
  int jpegQuality;         // used for JPEG only
  std::optional<int> dpi;  // written into the file when given
};

struct SavedPhoto {
  std::string path;      // where the photo was to be written
  bool written = false;  // false leaves any file already at `path` untouched
};

// Writes folder + "/" + fileName (the name carries the extension) in the encoding's
// format. With a box the photo is shrunk to fit it, never enlarged. The photo is written
// to a temporary file first and renamed into place, so the source may be the target.
// When only the resolution changes (same format as the source, no box), the resolution
// is written into a copy of the file and the pixels are not decoded: every other byte
// stays as it was. A file whose resolution cannot be set that way is re-encoded.
SavedPhoto SavePhotoAs(const std::string& sourcePath, const std::string& folder,
                       const std::string& fileName, std::optional<int> resizeBox,
                       const PhotoEncoding& encoding);

// A thumbnail or mobile copy: folder + "/" + the title of baseName (of the source when
// baseName is empty) + the format's extension, shrunk to fit the box. A large JPEG is
// decoded at a fraction of its size.
SavedPhoto SaveResizedCopy(const std::string& folder, const std::string& baseName,
                           const std::string& sourcePath, int box, const PhotoEncoding& encoding);

struct ResizedCopy {
  std::string folder;
  std::string baseName;  // as for SaveResizedCopy
  int box = 0;
  PhotoEncoding encoding;
};

// Every copy from one decode of the source, shrunk on load to what the largest copy
// needs; each copy is as SaveResizedCopy would write it. One result per copy, in order.
std::vector<SavedPhoto> SaveResizedCopies(const std::string& sourcePath,
                                          const std::vector<ResizedCopy>& copies);

// The first free folder + "/TempPhoto%04d" + extension; the file is not created. Empty
// when no free name is found.
std::string MakeTempPhotoPath(const std::string& folder, const std::string& extension);

}  // namespace trawlix
