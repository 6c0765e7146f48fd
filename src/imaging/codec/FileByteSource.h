#pragma once

#include <string>

#include "imaging/codec/ByteSource.h"

namespace trawlix {

// A file read with positioned reads; the size is taken once, when it is opened. Small reads
// are served from a block read ahead, as header parsers read a few bytes at a time.
class FileByteSource : public ByteSource {
 public:
  explicit FileByteSource(const std::string& path);
  ~FileByteSource() override;
  FileByteSource(const FileByteSource&) = delete;
  FileByteSource& operator=(const FileByteSource&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  std::uint64_t Size() const override { return size_; }
  std::size_t ReadAt(std::uint64_t offset, void* out, std::size_t length) const override;

 private:
  static constexpr std::size_t kBlockSize = 16 * 1024;

  std::size_t ReadFile(std::uint64_t offset, char* out, std::size_t length) const;

  int fd_ = -1;
  std::uint64_t size_ = 0;
  mutable std::string block_;  // the bytes from blockStart_, read ahead
  mutable std::uint64_t blockStart_ = 0;
};

}  // namespace trawlix
