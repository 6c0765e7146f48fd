#include "imaging/codec/DensityInPlace.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <span>
#include <vector>

#include "imaging/codec/Container.h"
#include "imaging/codec/FileByteSource.h"
#include "imaging/codec/PhotoDensity.h"

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

// The file from `from` on, with the edits (all at or after it) applied. Only that part is
// read.
std::optional<std::string> EditedTail(const ByteSource& source, std::span<const ByteEdit> edits,
                                      std::uint64_t from) {
  std::string tail;
  std::uint64_t at = from;
  const auto copyTo = [&](std::uint64_t to) {
    if (to < at || to > source.Size()) return false;
    const auto count = static_cast<std::size_t>(to - at);
    const std::size_t kept = tail.size();
    tail.resize(kept + count);
    if (count > 0 && source.ReadAt(at, tail.data() + kept, count) != count) return false;
    at = to;
    return true;
  };
  for (const ByteEdit& edit : edits) {
    if (!copyTo(edit.at) || edit.removed > source.Size() - edit.at) return std::nullopt;
    tail += edit.inserted;
    at = edit.at + edit.removed;
  }
  if (!copyTo(source.Size())) return std::nullopt;
  return tail;
}

}  // namespace

DensityEdit WriteDensityInPlace(const std::string& path, int dpi) {
  if (dpi <= 0) return DensityEdit::NotInPlace;
  // Edits that keep their length are written where they lie; from the first that does not,
  // the rest of the file is rewritten.
  std::vector<std::pair<std::uint64_t, std::string>> writes;
  std::uint64_t size = 0;
  bool resized = false;
  {
    const FileByteSource source(path);
    if (!source.IsOpen()) return DensityEdit::NotInPlace;
    std::string head(imaging_internal::kSniffBytes, '\0');
    head.resize(source.ReadAt(0, head.data(), head.size()));
    const PhotoFormat format = imaging_internal::FormatOf(imaging_internal::SniffContainerOf(head));
    if (format == PhotoFormat::None) return DensityEdit::NotInPlace;
    std::optional<std::vector<ByteEdit>> edits = PlanDensityEdits(source, format, dpi);
    if (!edits) return DensityEdit::NotInPlace;
    if (edits->empty()) return DensityEdit::Written;
    size = source.Size();
    // A TIFF's new directory goes at its end: only the pointer to it is written up front.
    const auto moved = std::find_if(edits->begin(), edits->end(), [](const ByteEdit& edit) {
      return edit.removed != edit.inserted.size();
    });
    for (auto edit = edits->begin(); edit != moved; ++edit)
      writes.emplace_back(edit->at, std::move(edit->inserted));
    if (moved != edits->end()) {
      const std::uint64_t from = moved->at;
      if (from > size || size - from > kMostMovedBytes) return DensityEdit::NotInPlace;
      std::optional<std::string> tail = EditedTail(source, {moved, edits->end()}, from);
      if (!tail) return DensityEdit::Failed;
      resized = from + tail->size() != size;
      size = from + tail->size();
      writes.emplace_back(from, std::move(*tail));
    }
  }
  const int fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return DensityEdit::Failed;
  bool written = !resized || ::ftruncate(fd, static_cast<off_t>(size)) == 0;
  for (const auto& [at, bytes] : writes) written = written && WriteAt(fd, bytes, at);
  written = ::close(fd) == 0 && written;
  return written ? DensityEdit::Written : DensityEdit::Failed;
}

}  // namespace trawlix
