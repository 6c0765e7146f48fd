#include "ui/viewer/PhotoViewerList.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <system_error>

#include "base/Path.h"
#include "base/Text.h"
#include "imaging/tools/FileList.h"

namespace trawlix::ui {

namespace {

PhotoViewerEntry EntryOf(const FileInfo& file) {
  PhotoViewerEntry entry;
  entry.path = file.path;
  entry.name = file.name;
  entry.fileSize = file.size;
  entry.lastWrite = file.lastWrite;
  return entry;
}

}  // namespace

void PhotoViewerList::Clear() {
  entries_.clear();
  folder_.clear();
}

void PhotoViewerList::SetExcludedFolders(std::vector<std::string> folders) {
  excluded_.clear();
  for (const std::string& folder : folders) {
    std::string normal = NormalizeFolderPath(folder, TrailingSlash::Remove, LetterCase::Lower);
    if (!normal.empty()) excluded_.push_back(std::move(normal));
  }
}

void PhotoViewerList::Load(const std::string& folder) {
  entries_.clear();
  folder_ = NormalizeFolderPath(folder, TrailingSlash::Remove, LetterCase::Lower);
  if (Trim(folder).empty()) return;
  ImageFileList files;
  for (const std::string& excluded : excluded_) files.AddExcludedFolder(excluded);
  files.Walk(folder, Recursion::SubFolders);
  entries_.reserve(files.Count());
  for (const FileInfo& file : files.Files()) {
    // The walk may reach one file under two spellings only through links; keep one.
    if (!entries_.empty() && EqualsNoCase(entries_.back().path, file.path)) continue;
    entries_.push_back(EntryOf(file));
  }
}

bool PhotoViewerList::IsPhotoName(const std::string& name) {
  static constexpr std::array<std::string_view, 7> kExtensions{".jpg", ".jpeg", ".png", ".gif",
                                                               ".bmp", ".tif",  ".tiff"};
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  const std::string extension = ToLowerAscii(std::string_view(name).substr(dot));
  return std::find(kExtensions.begin(), kExtensions.end(), extension) != kExtensions.end();
}

namespace {

// `lower` is a lower-case path strictly below the lower-case `folder`.
bool IsBelow(const std::string& lower, const std::string& folder) {
  return !folder.empty() && lower.size() > folder.size() && lower.starts_with(folder) &&
         (folder.back() == '/' || lower[folder.size()] == '/');
}

}  // namespace

bool PhotoViewerList::Excluded(const std::string& path) const {
  const std::string lower = ToLowerAscii(path);
  return !IsBelow(lower, folder_) ||
         std::any_of(excluded_.begin(), excluded_.end(),
                     [&](const std::string& folder) { return IsBelow(lower, folder); });
}

std::size_t PhotoViewerList::LowerBound(const std::string& path) const {
  const std::string key = ToLowerAscii(path);
  const auto found =
      std::lower_bound(entries_.begin(), entries_.end(), key,
                       [](const PhotoViewerEntry& entry, const std::string& lowerKey) {
                         return ToLowerAscii(entry.path) < lowerKey;
                       });
  return static_cast<std::size_t>(found - entries_.begin());
}

int PhotoViewerList::IndexOf(const std::string& path) const {
  const std::size_t at = LowerBound(path);
  if (at < entries_.size() && EqualsNoCase(entries_[at].path, path)) return static_cast<int>(at);
  return -1;
}

int PhotoViewerList::Add(const std::string& path) {
  const FileInfo file = FileInfoOf(path);
  if (file.name.empty() || !IsPhotoName(file.name) || Excluded(path)) return -1;
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return -1;
  const std::size_t at = LowerBound(path);
  if (at < entries_.size() && EqualsNoCase(entries_[at].path, path)) return -1;
  entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at), EntryOf(file));
  return static_cast<int>(at);
}

bool PhotoViewerList::Refresh(int index) {
  if (index < 0 || index >= Count()) return false;
  PhotoViewerEntry& entry = At(index);
  std::error_code error;
  if (!std::filesystem::is_regular_file(entry.path, error)) return false;
  const FileInfo file = FileInfoOf(entry.path);
  if (file.size != entry.fileSize || file.lastWrite != entry.lastWrite) {
    entry.fileSize = file.size;
    entry.lastWrite = file.lastWrite;
    entry.width = -1;  // measured again with the new picture
    entry.height = -1;
  }
  return true;
}

void PhotoViewerList::Remove(int index) {
  if (index < 0 || index >= Count()) return;
  entries_.erase(entries_.begin() + index);
}

}  // namespace trawlix::ui
