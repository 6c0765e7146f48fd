#pragma once

#include <string_view>

#include "scan/markup/PhotoLinkTest.h"
#include "scan/net/TransferPool.h"

namespace trawlix {

// How the answer to an image address that names no photo extension is judged: it costs only
// its first bytes when it turns out to be no photo.

// Whether a Content-Type may announce a photo: an image type, a generic binary, or none.
bool MayBePhotoType(std::string_view contentType);

// Keep when the first bytes begin a photo of a wanted format, More while too few have arrived,
// else Refuse.
HeadVerdict JudgeUnnamedPhoto(const PhotoFormats& formats, std::string_view head);

}  // namespace trawlix
