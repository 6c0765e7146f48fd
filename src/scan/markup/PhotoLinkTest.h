#pragma once

#include <string_view>

namespace trawlix {

// The photo formats a project wants.
struct PhotoFormats {
  bool jpeg = false;
  bool png = false;
  bool gif = false;
  bool bmp = false;
  bool tif = false;
  // Small photos are filtered out: an image inside a link to a photo is that photo's
  // thumbnail, not worth a download of its own.
  bool largeOnly = false;
};

// Whether a link names a photo of a wanted format: by the end of its name (a query after a photo
// name and a "#fragment" are ignored), and always for ".jpg.html". A "javascript:" or
// "onclick=" link names a photo when the extension occurs anywhere in it. Any thread.
bool IsPhotoLink(const PhotoFormats& formats, std::string_view linkText);

// Whether a link names a photo of any format, wanted or not, by the same rules.
bool NamesAnyPhoto(std::string_view linkText);

// Whether a link looks like it names a file rather than a host: a known file extension, a "?"
// or a "=" anywhere in it.
bool LooksLikeFileLink(std::string_view linkText);

// The text before a query ("?") when that text names a photo by its extension, else the whole text.
std::string_view WithoutPhotoQuery(std::string_view url);

}  // namespace trawlix
