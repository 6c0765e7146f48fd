// Arbitrary bytes as a downloaded photo: measuring it, writing its resolution and making
// its copies must neither crash nor take unbounded memory, and a resolution written into
// the bytes must land exactly where it was planned.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/codec/MemoryByteSource.h"
#include "imaging/codec/PhotoCodec.h"
#include "imaging/codec/PhotoDensity.h"

namespace {

const std::string& WorkFolder() {
  static const std::string folder = [] {
    std::string pattern = "/tmp/photo-fuzz-XXXXXX";
    return std::string(mkdtemp(pattern.data()) != nullptr ? pattern : "/tmp");
  }();
  return folder;
}

constexpr trawlix::PhotoFormat kFormats[] = {trawlix::PhotoFormat::Jpeg, trawlix::PhotoFormat::Png,
                                             trawlix::PhotoFormat::Bmp, trawlix::PhotoFormat::Gif,
                                             trawlix::PhotoFormat::Tif};

// The edits for whichever format takes the bytes, checked against their own promise.
trawlix::PhotoFormat PlanEveryFormat(std::string_view bytes) {
  const trawlix::MemoryByteSource source(bytes);
  trawlix::PhotoFormat planned = trawlix::PhotoFormat::None;
  for (trawlix::PhotoFormat format : kFormats) {
    const auto edits = trawlix::PlanDensityEdits(source, format, 300);
    if (!edits) continue;
    planned = format;
    std::uint64_t expected = bytes.size();
    std::uint64_t end = 0;
    for (const trawlix::ByteEdit& edit : *edits) {
      if (edit.at < end || edit.at + edit.removed > bytes.size()) __builtin_trap();
      end = edit.at + edit.removed;
      expected = expected - edit.removed + edit.inserted.size();
    }
    const std::string edited = trawlix::ApplyEdits(source, *edits);
    if (edited.size() != expected) __builtin_trap();
  }
  return planned;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  trawlix::InitImaging();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const trawlix::PhotoFormat planned = PlanEveryFormat(bytes);

  const std::string input = WorkFolder() + "/input";
  std::FILE* file = std::fopen(input.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  trawlix::ReadPhotoSize(input);
  const trawlix::PhotoFormat format = kFormats[size % 5];
  const std::vector<trawlix::SavedPhoto> copies = trawlix::SaveResizedCopies(
      input, {{WorkFolder(), "thumb", 64, {format, 80, 96}},
              {WorkFolder(), "mobile", 96, {trawlix::PhotoFormat::Png}}});
  for (const trawlix::SavedPhoto& copy : copies) std::remove(copy.path.c_str());
  if (planned != trawlix::PhotoFormat::None) {
    // The resolution alone: written into the bytes, or re-encoded when that is refused.
    const trawlix::SavedPhoto saved =
        trawlix::SavePhotoAs(input, WorkFolder(), "dpi", std::nullopt, {planned, 80, 300});
    std::remove(saved.path.c_str());
  }
  std::remove(input.c_str());
  return 0;
}
