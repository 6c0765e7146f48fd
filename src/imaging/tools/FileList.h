#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace trawlix {

// One file as the directory walk found it.
struct FileInfo {
  std::string path;       // full path
  std::string name;       // file name with its extension
  std::string extension;  // from the last '.', dot included; empty when none
  std::uintmax_t size = 0;
  std::filesystem::file_time_type lastWrite{};
};
using ImageFileInfo = FileInfo;

// The entry for one file, or an entry with only its path when it cannot be read.
FileInfo FileInfoOf(const std::string& path);

enum class Recursion { ThisFolder, SubFolders };

// Files under a folder that match a mask, kept sorted by case-insensitive full path.
class FileList {
 public:
  // "*.jpg;*.png": patterns separated by ';', matched against the lower-cased file name.
  void SetMask(std::string_view mask);
  const std::string& Mask() const { return mask_; }

  // The folder and everything below it are not entered.
  void AddExcludedFolder(std::string_view folder);

  // Adds every matching file under the folder; true when any was found. Symbolic links
  // to folders are not followed, so a link loop cannot trap the walk.
  bool Walk(const std::string& folder, Recursion recursion);

  // Forgets the files; the mask and the excluded folders stay.
  void Clear() { files_.clear(); }

  const std::vector<FileInfo>& Files() const { return files_; }
  std::size_t Count() const { return files_.size(); }
  bool Empty() const { return files_.empty(); }

 private:
  bool Matches(const std::string& name) const;
  bool Excluded(const std::string& folder) const;
  void WalkFolder(const std::filesystem::path& folder, Recursion recursion, int depth,
                  std::vector<FileInfo>& found) const;

  std::string mask_;
  std::vector<std::string> patterns_;
  std::vector<std::string> excluded_;
  std::vector<FileInfo> files_;
};

// The photos of a folder: the files every batch tool works on.
class ImageFileList : public FileList {
 public:
  static constexpr const char* kPhotoMask = "*.jpg;*.jpeg;*.png;*.bmp;*.tif;*.tiff;*.gif";
  ImageFileList() { SetMask(kPhotoMask); }
};

}  // namespace trawlix
