#include "scan/engine/PhotoAnswer.h"

#include "base/Text.h"
#include "imaging/codec/PhotoHeader.h"

namespace trawlix {

bool MayBePhotoType(std::string_view contentType) {
  const std::string type = ToLowerAscii(Trim(contentType.substr(0, contentType.find(';'))));
  return type.empty() || type.starts_with("image/") || type == "application/octet-stream" ||
         type == "binary/octet-stream";
}

HeadVerdict JudgeUnnamedPhoto(const PhotoFormats& formats, std::string_view head) {
  bool wanted = false;
  switch (ReadPhotoSignature(head)) {
    case PhotoSignature::NeedMore:
      return HeadVerdict::More;
    case PhotoSignature::None:
      return HeadVerdict::Refuse;
    case PhotoSignature::Jpeg:
    case PhotoSignature::WebP:
    case PhotoSignature::Avif:
      wanted = formats.jpeg;
      break;
    case PhotoSignature::Png:
      wanted = formats.png;
      break;
    case PhotoSignature::Gif:
      wanted = formats.gif;
      break;
    case PhotoSignature::Bmp:
      wanted = formats.bmp;
      break;
    case PhotoSignature::Tif:
      wanted = formats.tif;
      break;
  }
  return wanted ? HeadVerdict::Keep : HeadVerdict::Refuse;
}

}  // namespace trawlix
