// Arbitrary bytes as the start of a download, fed to the header reader as they would
// arrive: it must never read past the bytes it has, and must not change its mind as more
// come (NeedMore, then one verdict for good, the same as for the whole input).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "imaging/codec/PhotoHeader.h"
#include "imaging/codec/PhotoLimits.h"

namespace {

using trawlix::PhotoHeader;

// Prefixes are checked at every length up to this; beyond it, at a stride.
constexpr std::size_t kEveryLengthUpTo = 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const PhotoHeader whole = trawlix::ReadPhotoHeader(input);
  if (whole.verdict == PhotoHeader::Verdict::Size &&
      (whole.size.width < 1 || whole.size.height < 1 || whole.size.width > trawlix::kMaxPhotoSide ||
       whole.size.height > trawlix::kMaxPhotoSide)) {
    __builtin_trap();
  }
  // Nothing past the limit counts.
  if (size > trawlix::kPhotoHeaderLimit &&
      trawlix::ReadPhotoHeader(input.substr(0, trawlix::kPhotoHeaderLimit)) != whole) {
    __builtin_trap();
  }

  // Each prefix sits at the very end of a buffer of the input's size, so that a read
  // past the prefix is a read past the allocation, which the address sanitizer reports.
  const std::unique_ptr<char[]> buffer(new char[size == 0 ? 1 : size]);
  char* const end = buffer.get() + size;
  bool settled = false;
  for (std::size_t n = 0; n <= size; n += n < kEveryLengthUpTo ? 1 : 61) {
    std::memcpy(end - n, data, n);
    const PhotoHeader part = trawlix::ReadPhotoHeader(std::string_view(end - n, n));
    if (part.verdict == PhotoHeader::Verdict::NeedMore && !settled) continue;
    settled = true;
    if (part != whole) __builtin_trap();
  }
  return 0;
}
