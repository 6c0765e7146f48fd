#include "imaging/codec/PhotoDensity.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string_view>

#include "imaging/codec/BmpCodec.h"
#include "imaging/codec/JpegMarkers.h"

namespace trawlix {
namespace {

constexpr int kMaxDpi = 65535;  // JFIF holds 16 bits
// A parser walks at most this many segments, chunks or tags before giving up.
constexpr int kMaxSteps = 100000;

std::string Read(const ByteSource& source, std::uint64_t at, std::size_t length) {
  std::string bytes(length, '\0');
  bytes.resize(source.ReadAt(at, bytes.data(), length));
  return bytes;
}

unsigned Byte(std::string_view s, std::size_t at) {
  return static_cast<unsigned char>(s[at]);
}

std::uint32_t Be16(std::string_view s, std::size_t at) {
  return Byte(s, at) << 8 | Byte(s, at + 1);
}

std::uint32_t Be32(std::string_view s, std::size_t at) {
  return Be16(s, at) << 16 | Be16(s, at + 2);
}

void PutBe(std::string& out, std::uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void PutLe(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint32_t PixelsPerMetre(int dpi) {
  return static_cast<std::uint32_t>(std::lround(dpi / 0.0254));
}

// --- TIFF directories, for TIFF files and for the Exif block of a JPEG -----------------

constexpr std::uint16_t kXResolution = 282;
constexpr std::uint16_t kYResolution = 283;
constexpr std::uint16_t kResolutionUnit = 296;
constexpr std::uint16_t kShort = 3;
constexpr std::uint16_t kRational = 5;
constexpr std::uint16_t kUnitInch = 2;

struct IfdEntry {
  std::uint16_t tag = 0;
  std::uint16_t type = 0;
  std::uint32_t count = 0;
  std::uint32_t value = 0;  // the offset of the value when it does not fit in 4 bytes
  std::string raw;          // all 12 bytes, as stored
  std::uint64_t at = 0;     // where the entry starts, within the TIFF block
};

// A classic TIFF block: `base` is where its header starts in the source.
class TiffBlock {
 public:
  TiffBlock(const ByteSource& source, std::uint64_t base, std::uint64_t length)
      : source_(source), base_(base), length_(length) {}

  // Reads the byte order and the offset of the first directory.
  bool Open() {
    const std::string head = Read(source_, base_, 8);
    if (head.size() < 8) return false;
    if (head.starts_with(std::string_view("II*\0", 4))) {
      bigEndian_ = false;
    } else if (head.starts_with(std::string_view("MM\0*", 4))) {
      bigEndian_ = true;
    } else {
      return false;
    }
    firstIfd_ = U32(head, 4);
    return true;
  }

  bool ReadFirstIfd() {
    if (firstIfd_ < 8 || std::uint64_t{firstIfd_} + 2 > length_) return false;
    const std::string countBytes = Read(source_, base_ + firstIfd_, 2);
    if (countBytes.size() < 2) return false;
    const std::uint32_t count = U16(countBytes, 0);
    ifdBytes_ = 2 + 12ull * count + 4;
    if (count == 0 || firstIfd_ + ifdBytes_ > length_) return false;
    const std::string table = Read(source_, base_ + firstIfd_, static_cast<std::size_t>(ifdBytes_));
    if (table.size() < ifdBytes_) return false;
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::size_t at = 2 + 12 * static_cast<std::size_t>(i);
      entries_.push_back(IfdEntry{static_cast<std::uint16_t>(U16(table, at)),
                                  static_cast<std::uint16_t>(U16(table, at + 2)),
                                  U32(table, at + 4), U32(table, at + 8), table.substr(at, 12),
                                  firstIfd_ + at});
    }
    nextIfd_ = table.substr(table.size() - 4);
    return true;
  }

  const IfdEntry* Find(std::uint16_t tag) const {
    for (const IfdEntry& entry : entries_) {
      if (entry.tag == tag) return &entry;
    }
    return nullptr;
  }

  // A rational whose value lies inside the block and clear of the header and directory,
  // so that rewriting it cannot change anything else the reader relies on.
  bool IsWritableRational(const IfdEntry& entry) const {
    if (entry.type != kRational || entry.count != 1) return false;
    const std::uint64_t at = entry.value;
    const bool clearOfIfd = at + 8 <= firstIfd_ || at >= firstIfd_ + ifdBytes_;
    return at >= 8 && at + 8 <= length_ && clearOfIfd;
  }

  bool IsInlineShort(const IfdEntry& entry) const {
    return entry.type == kShort && entry.count == 1;
  }

  ByteEdit RationalEdit(const IfdEntry& entry, std::uint32_t numerator) const {
    return {base_ + entry.value, 8, Rational(numerator)};
  }

  ByteEdit UnitEdit(const IfdEntry& entry) const {
    std::string value;
    Put(value, kUnitInch, 2);
    return {base_ + entry.at + 8, 2, value};
  }

  // A copy of the first directory with the resolution tags set, appended to the file,
  // and the header pointed at it. Every offset of the old directory stays valid.
  std::optional<std::vector<ByteEdit>> RebuildFirstIfd(std::uint32_t dpi) const {
    std::vector<std::string> rows;
    for (const IfdEntry& entry : entries_) {
      if (entry.tag != kXResolution && entry.tag != kYResolution && entry.tag != kResolutionUnit)
        rows.push_back(entry.raw);
    }
    const std::uint64_t end = length_ + (length_ & 1);  // directories start on a word
    const std::uint64_t tableBytes = 2 + 12 * (rows.size() + 3) + 4;
    const std::uint64_t values = end + tableBytes;
    if (values + 16 > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    if (rows.size() + 3 > 0xFFFF) return std::nullopt;  // the count has 16 bits
    rows.push_back(Entry(kXResolution, kRational, static_cast<std::uint32_t>(values)));
    rows.push_back(Entry(kYResolution, kRational, static_cast<std::uint32_t>(values + 8)));
    rows.push_back(Entry(kResolutionUnit, kShort, kUnitInch));
    std::stable_sort(rows.begin(), rows.end(), [this](const std::string& a, const std::string& b) {
      return U16(a, 0) < U16(b, 0);
    });
    std::string appended(static_cast<std::size_t>(end - length_), '\0');
    Put(appended, static_cast<std::uint32_t>(rows.size()), 2);
    for (const std::string& row : rows) appended += row;
    appended += nextIfd_;
    appended += Rational(dpi) + Rational(dpi);
    std::string pointer;
    Put(pointer, static_cast<std::uint32_t>(end), 4);
    return std::vector<ByteEdit>{{base_ + 4, 4, pointer}, {base_ + length_, 0, appended}};
  }

 private:
  std::uint32_t U16(std::string_view s, std::size_t at) const {
    return bigEndian_ ? Be16(s, at) : (Byte(s, at) | Byte(s, at + 1) << 8);
  }

  std::uint32_t U32(std::string_view s, std::size_t at) const {
    return bigEndian_ ? Be32(s, at) : (U16(s, at) | U16(s, at + 2) << 16);
  }

  void Put(std::string& out, std::uint32_t value, int bytes) const {
    if (bigEndian_) {
      PutBe(out, value, bytes);
    } else {
      PutLe(out, value, bytes);
    }
  }

  std::string Rational(std::uint32_t numerator) const {
    std::string out;
    Put(out, numerator, 4);
    Put(out, 1, 4);
    return out;
  }

  std::string Entry(std::uint16_t tag, std::uint16_t type, std::uint32_t value) const {
    std::string out;
    Put(out, tag, 2);
    Put(out, type, 2);
    Put(out, 1, 4);
    if (type == kShort) {
      Put(out, value, 2);
      out.append(2, '\0');
    } else {
      Put(out, value, 4);
    }
    return out;
  }

  const ByteSource& source_;
  std::uint64_t base_;
  std::uint64_t length_;
  bool bigEndian_ = false;
  std::uint32_t firstIfd_ = 0;
  std::uint64_t ifdBytes_ = 0;
  std::vector<IfdEntry> entries_;
  std::string nextIfd_;
};

std::optional<std::vector<ByteEdit>> PlanTiff(const ByteSource& source, int dpi) {
  if (source.Size() > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  TiffBlock tiff(source, 0, source.Size());
  if (!tiff.Open() || !tiff.ReadFirstIfd()) return std::nullopt;
  const IfdEntry* x = tiff.Find(kXResolution);
  const IfdEntry* y = tiff.Find(kYResolution);
  const IfdEntry* unit = tiff.Find(kResolutionUnit);
  const auto value = static_cast<std::uint32_t>(dpi);
  const bool inPlace = x != nullptr && y != nullptr && tiff.IsWritableRational(*x) &&
                       tiff.IsWritableRational(*y) &&
                       (unit == nullptr || tiff.IsInlineShort(*unit));
  if (!inPlace) return tiff.RebuildFirstIfd(value);
  std::vector<ByteEdit> edits{tiff.RationalEdit(*x, value)};
  if (y->value != x->value) edits.push_back(tiff.RationalEdit(*y, value));
  if (unit != nullptr) edits.push_back(tiff.UnitEdit(*unit));
  return edits;
}

// --- JPEG ------------------------------------------------------------------------------

struct JpegFacts {
  bool jfif = false;
  bool adobe = false;
  unsigned adobeTransform = 1;
  int components = 0;
  std::array<unsigned, 3> componentIds{};
  bool exifResolution = false;  // x, y and unit all present, so readers take Exif's
};

// The resolution of the Exif block's first directory, rewritten in place. An Exif block
// this cannot read is left alone.
bool PlanExif(const ByteSource& source, std::uint64_t base, std::uint64_t length, int dpi,
              std::vector<ByteEdit>& edits, JpegFacts& facts) {
  TiffBlock tiff(source, base, length);
  if (!tiff.Open() || !tiff.ReadFirstIfd()) return true;
  const IfdEntry* x = tiff.Find(kXResolution);
  const IfdEntry* y = tiff.Find(kYResolution);
  const IfdEntry* unit = tiff.Find(kResolutionUnit);
  const auto value = static_cast<std::uint32_t>(dpi);
  for (const IfdEntry* entry : {x, y}) {
    if (entry == nullptr) continue;
    if (!tiff.IsWritableRational(*entry)) return false;
    if (entry == y && x != nullptr && x->value == y->value) continue;
    edits.push_back(tiff.RationalEdit(*entry, value));
  }
  if (unit != nullptr) {
    if (!tiff.IsInlineShort(*unit)) return false;
    edits.push_back(tiff.UnitEdit(*unit));
  }
  facts.exifResolution = facts.exifResolution || (x != nullptr && y != nullptr && unit != nullptr);
  return true;
}

std::string JfifDensity(int dpi) {
  std::string out(1, '\x01');  // units: dots per inch
  PutBe(out, static_cast<std::uint32_t>(dpi), 2);
  PutBe(out, static_cast<std::uint32_t>(dpi), 2);
  return out;
}

// What a decoder makes of three components without a JFIF segment decides whether one
// may be added: JFIF declares YCbCr, which would turn an RGB-coded photo's colours.
bool CodedAsRgb(const JpegFacts& facts) {
  if (facts.components != 3) return false;
  if (facts.adobe) return facts.adobeTransform == 0;
  return facts.componentIds == std::array<unsigned, 3>{'R', 'G', 'B'};
}

std::optional<std::vector<ByteEdit>> PlanJpeg(const ByteSource& source, int dpi) {
  const std::uint64_t size = source.Size();
  if (Read(source, 0, 2) != "\xFF\xD8") return std::nullopt;
  std::vector<ByteEdit> edits;
  JpegFacts facts;
  bool frame = false;
  bool scan = false;
  JpegMarkerWalk walk(source);
  for (int step = 0; step < kMaxSteps && !scan; ++step) {
    // Stand-alone markers, a second image start and segments past the end have no place
    // before the scan.
    const JpegMarker marker = walk.Next();
    if (marker.kind != JpegMarker::Kind::Segment || marker.at + 2 + marker.length > size)
      return std::nullopt;
    const unsigned code = marker.code;
    const std::uint64_t data = marker.at + 4;
    const std::uint32_t dataLength = marker.length - 2;
    if (code == 0xDA) {
      scan = true;
    } else if (code == 0xE0 && dataLength >= 14) {
      if (Read(source, data, 5) == std::string_view("JFIF\0", 5)) {
        facts.jfif = true;
        edits.push_back({data + 7, 5, JfifDensity(dpi)});
      }
    } else if (code == 0xE1 && dataLength >= 14) {
      if (Read(source, data, 6) == std::string_view("Exif\0\0", 6) &&
          !PlanExif(source, data + 6, dataLength - 6, dpi, edits, facts)) {
        return std::nullopt;
      }
    } else if (code == 0xEE && dataLength >= 12) {
      const std::string adobe = Read(source, data, 12);
      if (adobe.starts_with("Adobe")) {
        facts.adobe = true;
        facts.adobeTransform = Byte(adobe, 11);
      }
    } else if (IsStartOfFrame(code) && dataLength >= 6) {
      const std::string header = Read(source, data, std::min<std::uint32_t>(dataLength, 15));
      facts.components = static_cast<int>(Byte(header, 5));
      for (std::size_t i = 0; i < 3 && 6 + 3 * i < header.size(); ++i)
        facts.componentIds[i] = Byte(header, 6 + 3 * i);
      frame = true;
    }
  }
  if (!frame || !scan) return std::nullopt;
  if (!facts.jfif) {
    if (CodedAsRgb(facts)) {
      if (!facts.exifResolution) return std::nullopt;
    } else {
      std::string app0("\xFF\xE0\x00\x10JFIF\x00\x01\x01", 11);
      app0 += JfifDensity(dpi);
      app0.append(2, '\0');  // no thumbnail
      edits.push_back({2, 0, app0});
    }
  }
  return edits;
}

// --- PNG -------------------------------------------------------------------------------

std::optional<std::vector<ByteEdit>> PlanPng(const ByteSource& source, int dpi) {
  const std::uint64_t size = source.Size();
  if (Read(source, 0, 8) != "\x89PNG\r\n\x1A\n") return std::nullopt;
  std::optional<std::uint64_t> physAt;
  std::optional<std::uint64_t> idatAt;
  std::uint64_t at = 8;
  for (int step = 0; step < kMaxSteps && !idatAt; ++step) {
    const std::string head = Read(source, at, 8);
    if (head.size() < 8) return std::nullopt;
    const std::uint32_t length = Be32(head, 0);
    const std::string_view type = std::string_view(head).substr(4);
    if (length > 0x7FFFFFFFu || at + 12 + length > size) return std::nullopt;
    if ((step == 0) != (type == "IHDR")) return std::nullopt;
    if (type == "IDAT") {
      idatAt = at;
    } else if (type == "pHYs") {
      if (length != 9 || physAt) return std::nullopt;
      physAt = at;
    } else if (type == "IEND") {
      return std::nullopt;
    }
    at += 12 + length;
  }
  if (!idatAt) return std::nullopt;
  std::string chunk("pHYs");
  PutBe(chunk, PixelsPerMetre(dpi), 4);
  PutBe(chunk, PixelsPerMetre(dpi), 4);
  chunk.push_back('\x01');  // unit: metre
  const auto crc =
      crc32(0, reinterpret_cast<const Bytef*>(chunk.data()), static_cast<uInt>(chunk.size()));
  PutBe(chunk, static_cast<std::uint32_t>(crc), 4);
  if (physAt) return std::vector<ByteEdit>{{*physAt + 4, 17, chunk}};
  std::string inserted;
  PutBe(inserted, 9, 4);
  return std::vector<ByteEdit>{{*idatAt, 0, inserted + chunk}};
}

// --- BMP and GIF -----------------------------------------------------------------------

std::optional<std::vector<ByteEdit>> PlanBmp(const ByteSource& source, int dpi) {
  if (!bmp::ReadBmpHeader(source, std::numeric_limits<long long>::max())) return std::nullopt;
  const std::string info = Read(source, 14, 4);
  // The 12- and 16-byte headers have no resolution; every longer one has it at 38.
  if (info.size() < 4 || (Byte(info, 0) | Byte(info, 1) << 8) < 40) return std::nullopt;
  std::string fields;
  PutLe(fields, PixelsPerMetre(dpi), 4);
  PutLe(fields, PixelsPerMetre(dpi), 4);
  return std::vector<ByteEdit>{{38, 8, fields}};
}

std::optional<std::vector<ByteEdit>> PlanGif(const ByteSource& source) {
  const std::string head = Read(source, 0, 6);
  if (head != "GIF87a" && head != "GIF89a") return std::nullopt;
  return std::vector<ByteEdit>{};
}

// In file order; null when two edits overlap (offsets in a damaged file may point at
// the same bytes), since no order of applying them would be right.
std::optional<std::vector<ByteEdit>> Ordered(std::optional<std::vector<ByteEdit>> edits) {
  if (!edits) return edits;
  std::sort(edits->begin(), edits->end(), [](const ByteEdit& a, const ByteEdit& b) {
    return a.at < b.at || (a.at == b.at && a.removed < b.removed);
  });
  for (std::size_t i = 1; i < edits->size(); ++i) {
    const ByteEdit& before = (*edits)[i - 1];
    if (before.at + before.removed > (*edits)[i].at) return std::nullopt;
    if (before.at == (*edits)[i].at && before.removed == 0 && (*edits)[i].removed == 0)
      return std::nullopt;
  }
  return edits;
}

std::optional<std::vector<ByteEdit>> PlanFormat(const ByteSource& photo, PhotoFormat format,
                                                int dpi) {
  switch (format) {
    case PhotoFormat::Jpeg:
      return PlanJpeg(photo, dpi);
    case PhotoFormat::Png:
      return PlanPng(photo, dpi);
    case PhotoFormat::Tif:
      return PlanTiff(photo, dpi);
    case PhotoFormat::Bmp:
      return PlanBmp(photo, dpi);
    case PhotoFormat::Gif:
      return PlanGif(photo);
    case PhotoFormat::None:
      break;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::vector<ByteEdit>> PlanDensityEdits(const ByteSource& photo, PhotoFormat format,
                                                      int dpi) {
  if (dpi < 1 || dpi > kMaxDpi) return std::nullopt;
  return Ordered(PlanFormat(photo, format, dpi));
}

bool CopyWithEdits(const ByteSource& source, const std::vector<ByteEdit>& edits,
                   const std::function<bool(const char* bytes, std::size_t size)>& write) {
  constexpr std::size_t kChunk = 256 * 1024;
  std::string buffer;
  const auto copy = [&](std::uint64_t from, std::uint64_t to) {
    for (std::uint64_t at = from; at < to;) {
      const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, to - at));
      buffer.resize(count);
      if (source.ReadAt(at, buffer.data(), count) != count) return false;
      if (!write(buffer.data(), count)) return false;
      at += count;
    }
    return true;
  };
  std::uint64_t at = 0;
  for (const ByteEdit& edit : edits) {
    if (edit.at < at || edit.at + edit.removed > source.Size()) return false;
    if (!copy(at, edit.at)) return false;
    if (!edit.inserted.empty() && !write(edit.inserted.data(), edit.inserted.size())) return false;
    at = edit.at + edit.removed;
  }
  return copy(at, source.Size());
}

std::string ApplyEdits(const ByteSource& source, const std::vector<ByteEdit>& edits) {
  std::string out;
  const bool copied = CopyWithEdits(source, edits, [&out](const char* bytes, std::size_t size) {
    out.append(bytes, size);
    return true;
  });
  return copied ? out : std::string();
}

}  // namespace trawlix
