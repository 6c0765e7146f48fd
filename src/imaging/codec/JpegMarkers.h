#pragma once

#include <cstdint>

#include "imaging/codec/ByteSource.h"

namespace trawlix {

// One step of the walk through a JPEG's markers.
struct JpegMarker {
  enum class Kind {
    Segment,     // a marker with a length: its data is the `length - 2` bytes from at + 4
    StandAlone,  // TEM, RSTn, SOI or EOI, which have no length
    Invalid,     // no 0xFF where a marker must stand, a stuffed zero, a reserved code
                 // (decoders refuse both) or a length below 2
    Short,       // the bytes end inside the step: it needs those up to `needed`
  };

  Kind kind = Kind::Short;
  unsigned code = 0;         // 0xC0 for SOF0, ...; also when Short after the code
  std::uint64_t at = 0;      // where the marker's 0xFF stands, past any fill bytes
  std::uint32_t length = 0;  // Segment: the length field, which counts its own two bytes
  std::uint64_t needed = 0;  // Short
};

// Start-of-frame markers of every coding process; C4 (DHT), C8 (JPG) and CC (DAC) share
// the range but are ordinary segments.
bool IsStartOfFrame(unsigned code);

// Walks a JPEG's markers from the one after SOI, skipping the fill bytes (0xFF) that may
// precede a marker code. It reads only what each step needs, so a caller that walks the
// first bytes of a download can tell "not yet" from "never".
class JpegMarkerWalk {
 public:
  explicit JpegMarkerWalk(const ByteSource& bytes) : bytes_(bytes) {}

  // The next marker; after a segment the walk goes on behind its data. After Invalid or
  // Short there is nothing more to walk.
  JpegMarker Next();

 private:
  const ByteSource& bytes_;
  std::uint64_t at_ = 2;  // past SOI
};

}  // namespace trawlix
