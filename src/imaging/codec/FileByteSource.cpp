#include "imaging/codec/FileByteSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace trawlix {

FileByteSource::FileByteSource(const std::string& path) {
  fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return;
  struct stat info {};
  if (fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd_);
    fd_ = -1;
    return;
  }
  size_ = static_cast<std::uint64_t>(info.st_size);
}

FileByteSource::~FileByteSource() {
  if (fd_ >= 0) close(fd_);
}

std::size_t FileByteSource::ReadAt(std::uint64_t offset, void* out, std::size_t length) const {
  if (fd_ < 0) return 0;
  auto* bytes = static_cast<char*>(out);
  if (length > kBlockSize / 4) return ReadFile(offset, bytes, length);
  if (offset < blockStart_ || offset + length > blockStart_ + block_.size()) {
    block_.resize(kBlockSize);
    block_.resize(ReadFile(offset, block_.data(), kBlockSize));
    blockStart_ = offset;
  }
  if (offset >= blockStart_ + block_.size()) return 0;
  const std::size_t got = std::min<std::size_t>(length, blockStart_ + block_.size() - offset);
  std::memcpy(bytes, block_.data() + (offset - blockStart_), got);
  return got;
}

std::size_t FileByteSource::ReadFile(std::uint64_t offset, char* out, std::size_t length) const {
  std::size_t done = 0;
  while (done < length) {
    const ssize_t got = pread(fd_, out + done, length - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done;
}

}  // namespace trawlix
