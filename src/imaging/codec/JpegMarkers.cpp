#include "imaging/codec/JpegMarkers.h"

#include <array>

namespace trawlix {

bool IsStartOfFrame(unsigned code) {
  return code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
}

JpegMarker JpegMarkerWalk::Next() {
  using Kind = JpegMarker::Kind;
  for (;;) {
    const std::uint64_t at = at_;
    std::array<unsigned char, 4> head{};
    const std::size_t got = bytes_.ReadAt(at, head.data(), head.size());
    if (got < 1) return {Kind::Short, 0, at, 0, at + 1};
    if (head[0] != 0xFF) return {Kind::Invalid, 0, at, 0, 0};
    if (got < 2) return {Kind::Short, 0, at, 0, at + 2};
    const unsigned code = head[1];
    if (code == 0xFF) {  // a fill byte
      ++at_;
      continue;
    }
    if (code == 0x01 || (code >= 0xD0 && code <= 0xD9)) {
      at_ += 2;
      return {Kind::StandAlone, code, at, 0, 0};
    }
    if (code < 0xC0) return {Kind::Invalid, code, at, 0, 0};
    if (got < 4) return {Kind::Short, code, at, 0, at + 4};
    const std::uint32_t length = head[2] << 8 | head[3];
    if (length < 2) return {Kind::Invalid, code, at, length, 0};
    at_ += 2 + length;
    return {Kind::Segment, code, at, length, 0};
  }
}

}  // namespace trawlix
