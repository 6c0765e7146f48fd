// Arbitrary bytes as a downloaded photo: measuring it and making a thumbnail must
// neither crash nor take unbounded memory.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "imaging/PhotoCodec.h"

namespace {

const std::string& WorkFolder() {
  static const std::string folder = [] {
    std::string pattern = "/tmp/photo-fuzz-XXXXXX";
    return std::string(mkdtemp(pattern.data()) != nullptr ? pattern : "/tmp");
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  trawlix::InitImaging();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input = WorkFolder() + "/input";
  std::FILE* file = std::fopen(input.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  trawlix::ReadPhotoSize(input);
  static constexpr trawlix::PhotoFormat kFormats[] = {
      trawlix::PhotoFormat::Jpeg, trawlix::PhotoFormat::Png, trawlix::PhotoFormat::Bmp,
      trawlix::PhotoFormat::Gif, trawlix::PhotoFormat::Tif};
  const trawlix::PhotoFormat format = kFormats[size % 5];
  const trawlix::SavedPhoto copy =
      trawlix::SaveResizedCopy(WorkFolder(), "thumb", input, 64, {format, 80, 96});
  std::remove(copy.path.c_str());
  std::remove(input.c_str());
  return 0;
}
