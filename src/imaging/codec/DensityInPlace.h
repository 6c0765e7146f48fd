#pragma once

#include <string>

namespace trawlix {

enum class DensityEdit {
  Written,     // a GIF, which has no such field, counts as written unchanged
  NotInPlace,  // not possible here (the structure, or too much to move); the file is unchanged
  Failed,      // reading or writing failed; the file may be damaged
};

// Sets the resolution of a photo file that nobody else uses yet (a download about to be
// stored) by editing its bytes where it lies: no second file is made, and the pixels stay
// byte for byte. Bytes after the first edit are moved through memory, so a large photo
// whose header grows is left to SavePhotoAs.
DensityEdit WriteDensityInPlace(const std::string& path, int dpi);

}  // namespace trawlix
