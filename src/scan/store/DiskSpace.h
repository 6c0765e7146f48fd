#pragma once

#include <cstdint>
#include <string>

#include "base/MessageBox.h"

namespace trawlix {

// A scan needs room for its downloads and the processed copies.
inline constexpr std::uint64_t kRequiredFreeBytes = 104'857'600;  // 100 MiB

struct VolumeSpace {
  std::string mountPoint;       // of the file system that holds the folder
  std::uint64_t freeBytes = 0;  // on the whole volume, not only the caller's share
};

// Measures the file system of folder, or of its nearest existing parent when the folder does
// not exist yet. An empty path means the working folder. A failed query reads 0 free bytes.
VolumeSpace QueryVolumeSpace(const std::string& folder);

// True when the volume has kRequiredFreeBytes free; otherwise tells the user and returns false.
bool CheckFreeDiskSpace(const VolumeSpace& volume, MessageSink& messages);
bool CheckFreeDiskSpace(const std::string& folder, MessageSink& messages);

}  // namespace trawlix
