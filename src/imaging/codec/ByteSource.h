#pragma once

#include <cstddef>
#include <cstdint>

namespace trawlix {

// Random access to a file's bytes, so that parsers need not hold the whole file.
class ByteSource {
 public:
  virtual ~ByteSource() = default;

  virtual std::uint64_t Size() const = 0;
  // Copies up to `length` bytes from `offset`; returns how many were copied (fewer only at
  // the end of the bytes or on a read error).
  virtual std::size_t ReadAt(std::uint64_t offset, void* out, std::size_t length) const = 0;
};

}  // namespace trawlix
