#include "imaging/codec/BmpCodec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>
#include <vector>

#include "imaging/codec/MemoryByteSource.h"

namespace trawlix::bmp {
namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kV4HeaderSize = 108;
constexpr int kRgb = 0;
constexpr int kRle8 = 1;
constexpr int kRle4 = 2;
constexpr int kBitfields = 3;
constexpr int kAlphaBitfields = 6;

std::uint32_t U16(std::string_view s, std::size_t at) {
  return static_cast<std::uint8_t>(s[at]) |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[at + 1])) << 8;
}

std::uint32_t U32(std::string_view s, std::size_t at) {
  return U16(s, at) | U16(s, at + 2) << 16;
}

std::int32_t I32(std::string_view s, std::size_t at) {
  return static_cast<std::int32_t>(U32(s, at));
}

bool KnownInfoSize(std::uint32_t size) {
  static constexpr std::array<std::uint32_t, 7> kSizes{12, 16, 40, 52, 56, 64, 108};
  return size == 124 || std::find(kSizes.begin(), kSizes.end(), size) != kSizes.end();
}

bool CompressionFits(int compression, int bits) {
  switch (compression) {
    case kRgb:
      return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case kRle8:
      return bits == 8;
    case kRle4:
      return bits == 4;
    case kBitfields:
    case kAlphaBitfields:
      return bits == 16 || bits == 32;
    default:
      return false;
  }
}

void SetDefaultMasks(BmpHeader& h) {
  if (h.bitsPerPixel == 16) {
    h.redMask = 0x7C00;
    h.greenMask = 0x03E0;
    h.blueMask = 0x001F;
  } else {
    h.redMask = 0x00FF0000;
    h.greenMask = 0x0000FF00;
    h.blueMask = 0x000000FF;
  }
}

// Masks live inside the larger headers, or just after a 40-byte one.
bool ReadMasks(std::string_view file, std::uint32_t infoSize, BmpHeader& h) {
  const bool withAlpha = h.compression == kAlphaBitfields || infoSize >= 56;
  const std::size_t at = kFileHeaderSize + kInfoHeaderSize;
  const std::size_t count = withAlpha ? 4 : 3;
  if (file.size() < at + 4 * count) return false;
  h.redMask = U32(file, at);
  h.greenMask = U32(file, at + 4);
  h.blueMask = U32(file, at + 8);
  if (withAlpha) h.alphaMask = U32(file, at + 12);
  if (infoSize == kInfoHeaderSize) h.paletteOffset += static_cast<std::uint32_t>(4 * count);
  return true;
}

bool ReadInfoHeader(std::string_view file, std::uint32_t infoSize, BmpHeader& h) {
  if (infoSize == 12) {
    h.width = static_cast<int>(U16(file, 18));
    h.height = static_cast<int>(U16(file, 20));
    h.bitsPerPixel = static_cast<int>(U16(file, 24));
    h.paletteEntrySize = 3;
    return true;
  }
  if (file.size() < kFileHeaderSize + std::max<std::uint32_t>(infoSize, kInfoHeaderSize))
    return false;
  std::int32_t height = I32(file, 22);
  if (height == std::numeric_limits<std::int32_t>::min()) return false;
  h.width = I32(file, 18);
  h.topDown = height < 0;
  h.height = height < 0 ? -height : height;
  h.bitsPerPixel = static_cast<int>(U16(file, 28));
  if (infoSize < kInfoHeaderSize) return true;  // short OS/2 header: nothing more to read
  const std::uint32_t compression = U32(file, 30);
  if (compression > kAlphaBitfields) return false;
  h.compression = static_cast<int>(compression);
  // OS/2 headers number their own compressions differently; only the common ones agree.
  if ((infoSize == 16 || infoSize == 64) && h.compression > kRle4) return false;
  h.xPixelsPerMeter = std::max(0, I32(file, 38));
  h.yPixelsPerMeter = std::max(0, I32(file, 42));
  h.paletteEntries = static_cast<int>(std::min<std::uint32_t>(U32(file, 46), 256));
  return true;
}

// `file` is the start of the file, with every header and the palette when the file has
// them; `fileSize` is the size of the whole file.
std::optional<BmpHeader> ParseHeader(std::string_view file, std::uint64_t fileSize,
                                     long long maxPixels) {
  if (!LooksLikeBmp(file) || file.size() < kFileHeaderSize + 12) return std::nullopt;
  const std::uint32_t infoSize = U32(file, 14);
  if (!KnownInfoSize(infoSize)) return std::nullopt;
  BmpHeader h;
  h.paletteOffset = kFileHeaderSize + infoSize;
  if (!ReadInfoHeader(file, infoSize, h)) return std::nullopt;
  if (h.width <= 0 || h.height <= 0) return std::nullopt;
  if (static_cast<long long>(h.width) * h.height > maxPixels) return std::nullopt;
  if (!CompressionFits(h.compression, h.bitsPerPixel)) return std::nullopt;
  if (h.topDown && (h.compression == kRle8 || h.compression == kRle4)) return std::nullopt;
  if (h.compression == kBitfields || h.compression == kAlphaBitfields) {
    if (!ReadMasks(file, infoSize, h)) return std::nullopt;
  } else if (h.bitsPerPixel > 8) {
    SetDefaultMasks(h);
  }
  if (h.bitsPerPixel <= 8) {
    const int full = 1 << h.bitsPerPixel;
    if (h.paletteEntries == 0 || h.paletteEntries > full) h.paletteEntries = full;
    const std::size_t room = file.size() > h.paletteOffset ? file.size() - h.paletteOffset : 0;
    h.paletteEntries =
        static_cast<int>(std::min<std::size_t>(h.paletteEntries, room / h.paletteEntrySize));
  } else {
    h.paletteEntries = 0;
  }
  h.pixelOffset = U32(file, 10);
  const std::uint32_t afterPalette =
      h.paletteOffset + static_cast<std::uint32_t>(h.paletteEntries * h.paletteEntrySize);
  if (h.pixelOffset < h.paletteOffset) h.pixelOffset = afterPalette;
  if (h.pixelOffset >= fileSize) return std::nullopt;
  return h;
}

// Headers, masks and a full palette end before this many bytes.
constexpr std::size_t kHeadBytes = 2048;

std::string ReadHead(const ByteSource& source) {
  std::string head(static_cast<std::size_t>(std::min<std::uint64_t>(source.Size(), kHeadBytes)),
                   '\0');
  head.resize(source.ReadAt(0, head.data(), head.size()));
  return head;
}

}  // namespace

std::optional<BmpHeader> ReadBmpHeader(const ByteSource& file, long long maxPixels) {
  return ParseHeader(ReadHead(file), file.Size(), maxPixels);
}

std::optional<BmpHeader> ReadBmpHeader(std::string_view file, long long maxPixels) {
  return ParseHeader(file, file.size(), maxPixels);
}

namespace {

struct Rgba {
  std::uint8_t r = 0, g = 0, b = 0, a = 255;
};

// Scales a masked channel to 8 bits; an empty mask reads as `missing`.
std::uint8_t Channel(std::uint32_t pixel, std::uint32_t mask, std::uint8_t missing) {
  if (mask == 0) return missing;
  const int shift = std::countr_zero(mask);
  const std::uint32_t max = mask >> shift;
  const std::uint32_t value = (pixel & mask) >> shift;
  if (max == 0xFF) return static_cast<std::uint8_t>(value);
  return static_cast<std::uint8_t>((static_cast<std::uint64_t>(value) * 255 + max / 2) / max);
}

class PixelSink {
 public:
  PixelSink(const BmpHeader& h, std::string_view file) : header_(h) {
    out_.width = h.width;
    out_.height = h.height;
    out_.bands = h.alphaMask != 0 ? 4 : 3;
    out_.size = static_cast<std::size_t>(h.width) * h.height * out_.bands;
    out_.data.reset(static_cast<std::uint8_t*>(std::calloc(out_.size, 1)));
    for (int i = 0; i < h.paletteEntries; ++i) {
      const std::size_t at = h.paletteOffset + static_cast<std::size_t>(i) * h.paletteEntrySize;
      palette_[i] =
          Rgba{static_cast<std::uint8_t>(file[at + 2]), static_cast<std::uint8_t>(file[at + 1]),
               static_cast<std::uint8_t>(file[at]), 255};
    }
  }

  bool Allocated() const { return out_.data != nullptr; }

  // `row` counts in file order.
  void Put(int x, int row, Rgba c) {
    if (x < 0 || x >= out_.width || row < 0 || row >= out_.height) return;
    const int y = header_.topDown ? row : out_.height - 1 - row;
    std::uint8_t* p = out_.data.get() + (static_cast<std::size_t>(y) * out_.width + x) * out_.bands;
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
    if (out_.bands == 4) p[3] = c.a;
  }

  void PutIndex(int x, int row, unsigned index) { Put(x, row, palette_[index & 0xFF]); }

  void PutMasked(int x, int row, std::uint32_t pixel) {
    Put(x, row,
        Rgba{Channel(pixel, header_.redMask, 0), Channel(pixel, header_.greenMask, 0),
             Channel(pixel, header_.blueMask, 0), Channel(pixel, header_.alphaMask, 255)});
  }

  BmpPixels Finish() {
    // Many writers declare an alpha mask and leave it zero; such a bitmap is opaque.
    if (out_.bands == 4) {
      bool anyAlpha = false;
      for (std::size_t i = 3; i < out_.size && !anyAlpha; i += 4) anyAlpha = out_.data[i] != 0;
      if (!anyAlpha) {
        for (std::size_t i = 3; i < out_.size; i += 4) out_.data[i] = 255;
      }
    }
    return std::move(out_);
  }

 private:
  const BmpHeader& header_;
  BmpPixels out_;
  std::array<Rgba, 256> palette_{Rgba{0, 0, 0, 255}};
};

// Reads a range of the source front to back through a buffer.
class SequentialReader {
 public:
  SequentialReader(const ByteSource& source, std::uint64_t from)
      : source_(source), next_(from), buffer_(kChunk) {}

  // Up to `length` bytes; fewer only at the end of the source.
  std::size_t Read(std::uint8_t* out, std::size_t length) {
    std::size_t done = 0;
    while (done < length) {
      if (at_ == filled_ && !Refill()) break;
      const std::size_t count = std::min(length - done, filled_ - at_);
      std::copy_n(buffer_.data() + at_, count, out + done);
      at_ += count;
      done += count;
    }
    return done;
  }

 private:
  static constexpr std::size_t kChunk = 64 * 1024;

  bool Refill() {
    filled_ = source_.ReadAt(next_, buffer_.data(), buffer_.size());
    next_ += filled_;
    at_ = 0;
    return filled_ > 0;
  }

  const ByteSource& source_;
  std::uint64_t next_;
  std::vector<std::uint8_t> buffer_;
  std::size_t at_ = 0;
  std::size_t filled_ = 0;
};

void DecodeRow(const BmpHeader& h, const std::uint8_t* line, int row, PixelSink& sink) {
  const int bits = h.bitsPerPixel;
  for (int x = 0; x < h.width; ++x) {
    if (bits <= 8) {
      const std::size_t bit = static_cast<std::size_t>(x) * bits;
      const unsigned byte = line[bit / 8];
      const unsigned shift = 8 - bits - (bit % 8);
      sink.PutIndex(x, row, (byte >> shift) & ((1u << bits) - 1));
    } else {
      const std::size_t at = static_cast<std::size_t>(x) * (bits / 8);
      std::uint32_t pixel = 0;
      for (int i = 0; i < bits / 8; ++i)
        pixel |= static_cast<std::uint32_t>(line[at + i]) << (8 * i);
      sink.PutMasked(x, row, pixel);
    }
  }
}

// Rows are read a block at a time, so memory stays at one block besides the pixels.
bool DecodeUncompressed(const BmpHeader& h, const ByteSource& source, PixelSink& sink) {
  const std::uint64_t stride =
      ((static_cast<std::uint64_t>(h.width) * h.bitsPerPixel + 31) / 32) * 4;
  if (stride * h.height > source.Size() - h.pixelOffset) return false;
  constexpr std::uint64_t kBlockBytes = 1024 * 1024;
  const int rowsPerBlock = static_cast<int>(
      std::clamp<std::uint64_t>(kBlockBytes / stride, 1, static_cast<std::uint64_t>(h.height)));
  std::vector<std::uint8_t> block(static_cast<std::size_t>(stride * rowsPerBlock));
  for (int first = 0; first < h.height; first += rowsPerBlock) {
    const int rows = std::min(rowsPerBlock, h.height - first);
    const std::size_t bytes = static_cast<std::size_t>(stride * rows);
    if (source.ReadAt(h.pixelOffset + stride * first, block.data(), bytes) != bytes) return false;
    for (int i = 0; i < rows; ++i) DecodeRow(h, block.data() + stride * i, first + i, sink);
  }
  return true;
}

// Run-length data: pairs of (count, value) with escapes for end of line, end of
// bitmap, a jump, and literal runs padded to 16 bits.
bool DecodeRle(const BmpHeader& h, const ByteSource& source, PixelSink& sink) {
  const bool four = h.compression == kRle4;
  SequentialReader in(source, h.pixelOffset);
  std::array<std::uint8_t, 256> run{};
  long long x = 0;
  long long row = 0;
  while (row < h.height) {
    if (in.Read(run.data(), 2) < 2) break;
    const unsigned count = run[0];
    const unsigned value = run[1];
    if (count > 0) {
      for (unsigned k = 0; k < count && x < h.width; ++k, ++x) {
        const unsigned index = four ? (k % 2 == 0 ? value >> 4 : value & 0x0F) : value;
        sink.PutIndex(static_cast<int>(x), static_cast<int>(row), index);
      }
      continue;
    }
    if (value == 0) {
      x = 0;
      ++row;
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      if (in.Read(run.data(), 2) < 2) break;
      x += run[0];
      row += run[1];
    } else {
      const std::size_t bytes = four ? (value + 1) / 2 : value;
      // The padding byte is read with the run; a missing one ends the data anyway.
      const std::size_t got = in.Read(run.data(), bytes + (bytes & 1));
      for (unsigned k = 0; k < value && x < h.width; ++k, ++x) {
        const std::size_t at = four ? k / 2 : k;
        if (at >= got) break;
        const unsigned index = four ? (k % 2 == 0 ? run[at] >> 4 : run[at] & 0x0F) : run[at];
        sink.PutIndex(static_cast<int>(x), static_cast<int>(row), index);
      }
    }
  }
  return true;
}

void PutU16(std::string& out, std::uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void PutU32(std::string& out, std::uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

}  // namespace

std::optional<BmpPixels> DecodeBmp(const ByteSource& file, long long maxPixels) {
  const std::string head = ReadHead(file);
  std::optional<BmpHeader> header = ParseHeader(head, file.Size(), maxPixels);
  if (!header) return std::nullopt;
  PixelSink sink(*header, head);
  if (!sink.Allocated()) return std::nullopt;
  const bool rle = header->compression == kRle8 || header->compression == kRle4;
  if (!(rle ? DecodeRle(*header, file, sink) : DecodeUncompressed(*header, file, sink)))
    return std::nullopt;
  return sink.Finish();
}

std::optional<BmpPixels> DecodeBmp(std::string_view file, long long maxPixels) {
  return DecodeBmp(MemoryByteSource(file), maxPixels);
}

std::string EncodeBmp(const std::uint8_t* pixels, int width, int height, int bands,
                      int xPixelsPerMeter, int yPixelsPerMeter) {
  const bool alpha = bands == 4;
  const std::uint32_t infoSize = alpha ? kV4HeaderSize : kInfoHeaderSize;
  const std::uint32_t bytesPerPixel = alpha ? 4 : 3;
  const std::uint32_t stride = (static_cast<std::uint32_t>(width) * bytesPerPixel + 3) & ~3u;
  const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(height);
  const std::uint32_t offset = kFileHeaderSize + infoSize;
  std::string out;
  out.reserve(offset + imageSize);
  out += "BM";
  PutU32(out, offset + imageSize);
  PutU32(out, 0);
  PutU32(out, offset);
  PutU32(out, infoSize);
  PutU32(out, static_cast<std::uint32_t>(width));
  PutU32(out, static_cast<std::uint32_t>(height));  // positive: bottom-up rows
  PutU16(out, 1);
  PutU16(out, bytesPerPixel * 8);
  PutU32(out, alpha ? kBitfields : kRgb);
  PutU32(out, imageSize);
  PutU32(out, static_cast<std::uint32_t>(std::max(0, xPixelsPerMeter)));
  PutU32(out, static_cast<std::uint32_t>(std::max(0, yPixelsPerMeter)));
  PutU32(out, 0);
  PutU32(out, 0);
  if (alpha) {
    PutU32(out, 0x00FF0000);
    PutU32(out, 0x0000FF00);
    PutU32(out, 0x000000FF);
    PutU32(out, 0xFF000000);
    PutU32(out, 0x73524742);          // 'sRGB'
    out.append(infoSize - 60, '\0');  // colour end points and gamma, unused for sRGB
  }
  const std::string padding(stride - static_cast<std::uint32_t>(width) * bytesPerPixel, '\0');
  for (int row = height - 1; row >= 0; --row) {
    const std::uint8_t* p = pixels + static_cast<std::size_t>(row) * width * bands;
    for (int x = 0; x < width; ++x, p += bands) {
      out.push_back(static_cast<char>(p[2]));
      out.push_back(static_cast<char>(p[1]));
      out.push_back(static_cast<char>(p[0]));
      if (alpha) out.push_back(static_cast<char>(p[3]));
    }
    out += padding;
  }
  return out;
}

}  // namespace trawlix::bmp
