#include "imaging/codec/DensityInPlace.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <vector>

#include "imaging/codec/FileByteSource.h"
#include "imaging/codec/PhotoDensity.h"
#include "imaging/codec/VipsSupport.h"

namespace trawlix {

namespace {

// Moving more than this through memory is left to a copy into a new file.
constexpr std::uint64_t kMostMovedBytes = 8 * 1024 * 1024;

bool WriteAt(int fd, const std::string& bytes, std::uint64_t offset) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written =
        ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<std::size_t>(written);
  }
  return true;
}

// The file from `from` on, edited.
std::optional<std::string> EditedTail(const ByteSource& source, const std::vector<ByteEdit>& edits,
                                      std::uint64_t from) {
  std::string tail;
  std::uint64_t offset = 0;
  const bool read = CopyWithEdits(source, edits, [&](const char* bytes, std::size_t size) {
    const std::uint64_t skip = offset < from ? std::min<std::uint64_t>(from - offset, size) : 0;
    tail.append(bytes + skip, size - skip);
    offset += size;
    return true;
  });
  if (!read) return std::nullopt;
  return tail;
}

}  // namespace

DensityEdit WriteDensityInPlace(const std::string& path, int dpi) {
  if (dpi <= 0) return DensityEdit::NotInPlace;
  const PhotoFormat format = imaging_internal::FormatOf(imaging_internal::SniffContainer(path));
  if (format == PhotoFormat::None) return DensityEdit::NotInPlace;
  // Edits that keep every length are written where they lie; others rewrite the file from
  // the first of them on.
  std::vector<std::pair<std::uint64_t, std::string>> writes;
  std::uint64_t size = 0;
  {
    const FileByteSource source(path);
    if (!source.IsOpen()) return DensityEdit::Failed;
    std::optional<std::vector<ByteEdit>> edits = PlanDensityEdits(source, format, dpi);
    if (!edits) return DensityEdit::NotInPlace;
    if (edits->empty()) return DensityEdit::Written;
    size = source.Size();
    const bool sameLength = std::all_of(edits->begin(), edits->end(), [](const ByteEdit& edit) {
      return edit.removed == edit.inserted.size();
    });
    if (sameLength) {
      for (ByteEdit& edit : *edits) writes.emplace_back(edit.at, std::move(edit.inserted));
    } else {
      const std::uint64_t from = edits->front().at;
      if (size - from > kMostMovedBytes) return DensityEdit::NotInPlace;
      std::optional<std::string> tail = EditedTail(source, *edits, from);
      if (!tail) return DensityEdit::Failed;
      size = from + tail->size();
      writes.emplace_back(from, std::move(*tail));
    }
  }
  const int fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return DensityEdit::Failed;
  bool written = ::ftruncate(fd, static_cast<off_t>(size)) == 0;
  for (const auto& [at, bytes] : writes) written = written && WriteAt(fd, bytes, at);
  written = ::close(fd) == 0 && written;
  return written ? DensityEdit::Written : DensityEdit::Failed;
}

}  // namespace trawlix
