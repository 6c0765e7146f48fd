#include "imaging/tools/FileList.h"

#include <fnmatch.h>

#include <algorithm>

#include "base/Path.h"
#include "base/Text.h"

namespace trawlix {
namespace {

namespace fs = std::filesystem;

// Limits against runaway trees (deep nesting, millions of files).
constexpr int kMaxDepth = 64;
constexpr std::size_t kMaxFiles = 1'000'000;

FileInfo EntryInfo(const fs::directory_entry& entry) {
  FileInfo info;
  info.path = entry.path().string();
  const PathParts parts = SplitPath(info.path);
  info.name = parts.FileName();
  info.extension = parts.extension;
  std::error_code error;
  info.size = entry.file_size(error);
  if (error) info.size = 0;
  info.lastWrite = entry.last_write_time(error);
  return info;
}

}  // namespace

FileInfo FileInfoOf(const std::string& path) {
  std::error_code error;
  const fs::directory_entry entry(path, error);
  if (error) {
    FileInfo info;
    info.path = path;
    return info;
  }
  return EntryInfo(entry);
}

void FileList::SetMask(std::string_view mask) {
  mask_ = ToLowerAscii(Trim(mask));
  patterns_.clear();
  std::size_t start = 0;
  while (start <= mask_.size()) {
    std::size_t end = mask_.find(';', start);
    if (end == std::string::npos) end = mask_.size();
    std::string pattern = Trim(std::string_view(mask_).substr(start, end - start));
    if (!pattern.empty()) patterns_.push_back(std::move(pattern));
    start = end + 1;
  }
}

void FileList::AddExcludedFolder(std::string_view folder) {
  std::string normal = NormalizeFolderPath(folder, TrailingSlash::Remove, LetterCase::Lower);
  if (!normal.empty()) excluded_.push_back(std::move(normal));
}

// Whole patterns match, so that ".jp" is not taken for a photo because it occurs
// inside "*.jpg".
bool FileList::Matches(const std::string& name) const {
  const std::string lower = ToLowerAscii(name);
  return std::any_of(patterns_.begin(), patterns_.end(), [&](const std::string& pattern) {
    return fnmatch(pattern.c_str(), lower.c_str(), 0) == 0;
  });
}

// A folder whose name merely begins like an excluded one ("thumbs2" beside "thumbs")
// is still walked.
bool FileList::Excluded(const std::string& folder) const {
  const std::string lower = ToLowerAscii(folder);
  return std::any_of(excluded_.begin(), excluded_.end(), [&](const std::string& excluded) {
    return lower == excluded || (lower.size() > excluded.size() && lower.starts_with(excluded) &&
                                 (excluded.back() == '/' || lower[excluded.size()] == '/'));
  });
}

void FileList::WalkFolder(const fs::path& folder, Recursion recursion, int depth,
                          std::vector<FileInfo>& found) const {
  std::error_code error;
  fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    if (found.size() >= kMaxFiles) return;
    const fs::directory_entry& entry = *it;
    std::error_code statusError;
    const fs::file_status status = entry.symlink_status(statusError);
    if (statusError) continue;
    if (fs::is_directory(status)) {
      if (recursion == Recursion::SubFolders && depth < kMaxDepth &&
          !Excluded(entry.path().string())) {
        WalkFolder(entry.path(), recursion, depth + 1, found);
      }
      continue;
    }
    if (!entry.is_regular_file(statusError) || statusError) continue;
    if (Matches(entry.path().filename().string())) found.push_back(EntryInfo(entry));
  }
}

bool FileList::Walk(const std::string& folder, Recursion recursion) {
  std::vector<FileInfo> found;
  const std::string root = NormalizeFolderPath(folder, TrailingSlash::Remove);
  if (root.empty()) return false;
  WalkFolder(root, recursion, 0, found);
  if (found.empty()) return false;
  files_.insert(files_.end(), std::make_move_iterator(found.begin()),
                std::make_move_iterator(found.end()));
  std::stable_sort(files_.begin(), files_.end(), [](const FileInfo& a, const FileInfo& b) {
    return ToLowerAscii(a.path) < ToLowerAscii(b.path);
  });
  return true;
}

}  // namespace trawlix
