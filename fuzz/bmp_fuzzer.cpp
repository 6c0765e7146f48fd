// Arbitrary bytes straight into our bitmap decoder (no file round trip), with oracles:
// what decodes re-encodes to the same pixels, and a resolution edit changes no pixel.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "imaging/codec/BmpCodec.h"
#include "imaging/codec/MemoryByteSource.h"
#include "imaging/codec/PhotoDensity.h"

namespace {

// Small enough that every input runs in milliseconds.
constexpr long long kMaxPixels = 1 << 16;

bool SamePixels(const trawlix::bmp::BmpPixels& a, const trawlix::bmp::BmpPixels& b) {
  return a.width == b.width && a.height == b.height && a.bands == b.bands && a.size == b.size &&
         std::string_view(reinterpret_cast<const char*>(a.data.get()), a.size) ==
             std::string_view(reinterpret_cast<const char*>(b.data.get()), b.size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace trawlix;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::optional<bmp::BmpHeader> header = bmp::ReadBmpHeader(bytes, kMaxPixels);
  const std::optional<bmp::BmpPixels> pixels = bmp::DecodeBmp(MemoryByteSource(bytes), kMaxPixels);
  if (!pixels) return 0;
  if (!header ||
      pixels->size != static_cast<std::size_t>(pixels->width) * pixels->height * pixels->bands) {
    __builtin_trap();
  }

  const std::string encoded =
      bmp::EncodeBmp(pixels->data.get(), pixels->width, pixels->height, pixels->bands,
                     header->xPixelsPerMeter, header->yPixelsPerMeter);
  const std::optional<bmp::BmpPixels> again = bmp::DecodeBmp(encoded, kMaxPixels);
  if (!again || !SamePixels(*pixels, *again)) __builtin_trap();

  const MemoryByteSource source(bytes);
  const auto edits = PlanDensityEdits(source, PhotoFormat::Bmp, 96);
  if (edits) {
    const std::string edited = ApplyEdits(source, *edits);
    const std::optional<bmp::BmpPixels> same = bmp::DecodeBmp(edited, kMaxPixels);
    const std::optional<bmp::BmpHeader> resolved = bmp::ReadBmpHeader(edited, kMaxPixels);
    if (!same || !SamePixels(*pixels, *same) || !resolved || resolved->yPixelsPerMeter != 3780)
      __builtin_trap();
  }
  return 0;
}
