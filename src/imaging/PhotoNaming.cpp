#include "imaging/PhotoNaming.h"

#include <algorithm>
#include <filesystem>
#include <limits>

#include "base/Path.h"
#include "base/Text.h"
#include "imaging/codec/PhotoCodec.h"

namespace trawlix {
namespace {

constexpr int kMaxPadding = 64;
constexpr int kMaxNumberTries = 1'000'000;

bool Exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

// The last `limit` bytes, starting on a character boundary of UTF-8 text.
std::string_view KeepEnd(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t start = text.size() - limit;
  while (start < text.size() && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) ++start;
  return text.substr(start);
}

// The value of the leading digits, as atoi reads them, capped where it no longer
// matters whether it is below 100.
int LeadingNumber(std::string_view text) {
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min(value * 10 + (c - '0'), 1000);
  }
  return value;
}

}  // namespace

std::string SafeFileName(std::string_view name) {
  std::string safe(name);
  for (char& c : safe) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || u < 0x20 || u == 0x7F) c = '_';
  }
  if (safe == "." || safe == "..") std::replace(safe.begin(), safe.end(), '.', '_');
  if (safe.empty()) safe.push_back('_');
  return safe;
}

std::string DownloadFileName(std::string_view proposedName) {
  std::string name = SafeFileName(KeepEnd(proposedName, kMaxDownloadNameBytes));
  const PathParts parts = SplitPath(name);
  const std::string& title = parts.title;
  if (title.empty() || title[0] < '0' || title[0] > '9') return name;
  if (title.find_first_of("_-") != std::string::npos) return name;
  const int number = LeadingNumber(title);
  if (number >= 100) return name;
  return Format("%02d%s", number, parts.extension.c_str());
}

std::string DownloadTargetPath(const std::string& saveTo, std::string_view proposedName) {
  return JoinPath(saveTo, DownloadFileName(proposedName));
}

std::string MakeAutoRenameName(const AutoRenameOptions& options, PhotoSize size, PhotoFormat format,
                               int number) {
  std::string name = options.prefix;
  if (options.includePhotoSize)
    name += Format("(%dx%d)_", std::max(size.width, 0), std::max(size.height, 0));
  const int padding = options.padNumbers ? std::clamp(options.padding, 0, kMaxPadding) : 0;
  name += Format("%0*d", padding, number);
  name += PhotoFormatExtension(format);
  return SafeFileName(name);
}

std::string MakeAutoRenameName(const AutoRenameOptions& options, const std::string& sourcePath,
                               int number) {
  const PhotoSize size = options.includePhotoSize ? ReadPhotoSize(sourcePath) : PhotoSize{};
  return MakeAutoRenameName(options, size, PhotoFormatFromPath(sourcePath), number);
}

std::string MakeFreeAutoRenamePath(const AutoRenameOptions& options, const std::string& folder,
                                   const std::string& sourcePath, int& number) {
  const PhotoSize size = options.includePhotoSize ? ReadPhotoSize(sourcePath) : PhotoSize{};
  const PhotoFormat format = PhotoFormatFromPath(sourcePath);
  for (int tries = 0; tries < kMaxNumberTries && number < std::numeric_limits<int>::max();
       ++tries, ++number) {
    const std::string path = JoinPath(folder, MakeAutoRenameName(options, size, format, number));
    if (!Exists(path)) return path;
  }
  return {};
}

std::optional<std::string> MakeLetterSuffixedName(const std::string& path) {
  const PathParts parts = SplitPath(path);
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    std::string candidate = parts.folder;
    candidate.append(parts.title).append(1, letter).append(parts.extension);
    if (!Exists(candidate)) return candidate;
  }
  return std::nullopt;
}

int CountProjectPhotos(const std::string& saveTo, const std::string& thumbnailSaveTo,
                       const std::string& mobileSaveTo, Recursion recursion) {
  FileList photos;
  photos.SetMask("*.jpg;*.png;*.gif;*.bmp;*.tif");
  photos.Walk(saveTo, recursion);
  const std::string thumbnails = NormalizeFolderPath(thumbnailSaveTo, TrailingSlash::Add);
  const std::string mobile = NormalizeFolderPath(mobileSaveTo, TrailingSlash::Add);
  return static_cast<int>(
      std::count_if(photos.Files().begin(), photos.Files().end(), [&](const FileInfo& file) {
        const std::string folder = SplitPath(file.path).folder;
        return folder != thumbnails && folder != mobile;
      }));
}

}  // namespace trawlix
