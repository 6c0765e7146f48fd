#pragma once

#include <algorithm>
#include <cstring>
#include <string_view>

#include "imaging/codec/ByteSource.h"

namespace trawlix {

// Bytes already in memory; the caller keeps them alive.
class MemoryByteSource : public ByteSource {
 public:
  explicit MemoryByteSource(std::string_view bytes) : bytes_(bytes) {}

  std::uint64_t Size() const override { return bytes_.size(); }

  std::size_t ReadAt(std::uint64_t offset, void* out, std::size_t length) const override {
    if (offset >= bytes_.size()) return 0;
    const std::size_t count =
        std::min<std::size_t>(length, bytes_.size() - static_cast<std::size_t>(offset));
    std::memcpy(out, bytes_.data() + offset, count);
    return count;
  }

 private:
  std::string_view bytes_;
};

}  // namespace trawlix
