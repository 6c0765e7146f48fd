#include "imaging/codec/WebPhoto.h"

#include <algorithm>
#include <string_view>

#include "platform/FileIO.h"

namespace trawlix {

namespace {

// An ISO media file whose "ftyp" box names an AVIF brand, as major or compatible brand.
bool IsAvif(std::string_view head) {
  if (head.size() < 16 || head.substr(4, 4) != "ftyp") return false;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(head[i]); };
  const std::size_t boxSize = (std::size_t{byte(0)} << 24) | (std::size_t{byte(1)} << 16) |
                              (std::size_t{byte(2)} << 8) | byte(3);
  const std::size_t end = std::min(boxSize, head.size());
  for (std::size_t brand = 8; brand + 4 <= end; brand += brand == 8 ? 8 : 4) {
    const std::string_view name = head.substr(brand, 4);
    if (name == "avif" || name == "avis") return true;
  }
  return false;
}

}  // namespace

WebPhotoFormat SniffWebPhoto(const std::string& path) {
  const std::string head = ReadFileHead(path, 64);
  if (head.size() >= 12 && head.substr(0, 4) == "RIFF" && head.substr(8, 4) == "WEBP")
    return WebPhotoFormat::WebP;
  if (IsAvif(head)) return WebPhotoFormat::Avif;
  return WebPhotoFormat::None;
}

}  // namespace trawlix
