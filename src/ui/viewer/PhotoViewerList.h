#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace trawlix::ui {

// One photo of the viewer. Size and time identify the version of the file whose
// thumbnail is shown; width and height are -1 until known.
struct PhotoViewerEntry {
  std::string path;
  std::string name;
  std::uintmax_t fileSize = 0;
  std::filesystem::file_time_type lastWrite{};
  int width = -1;
  int height = -1;
};

// The photos of a folder and its sub-folders, sorted by path without regard to case,
// each path once; folders can be left out.
class PhotoViewerList {
 public:
  void Clear();
  // Folders whose photos are never listed, with everything below them.
  void SetExcludedFolders(std::vector<std::string> folders);
  // Lists the photos under the folder (replacing what was listed).
  void Load(const std::string& folder);
  // Inserts one photo at its sorted place and returns its index; -1 when it is not a
  // photo, lies outside the listed folder or in an excluded one, does not exist or is
  // listed already.
  int Add(const std::string& path);
  // Reads the file's size and time again. False when the file is gone.
  bool Refresh(int index);
  void Remove(int index);
  // -1 when not listed.
  int IndexOf(const std::string& path) const;

  int Count() const { return static_cast<int>(entries_.size()); }
  const PhotoViewerEntry& At(int index) const { return entries_[static_cast<std::size_t>(index)]; }
  PhotoViewerEntry& At(int index) { return entries_[static_cast<std::size_t>(index)]; }

  // The viewer's file types, by lower-case extension.
  static bool IsPhotoName(const std::string& name);

 private:
  bool Excluded(const std::string& path) const;
  std::size_t LowerBound(const std::string& path) const;

  std::string folder_;  // the listed folder, lower case, without a trailing slash
  std::vector<std::string> excluded_;
  std::vector<PhotoViewerEntry> entries_;
};

}  // namespace trawlix::ui
