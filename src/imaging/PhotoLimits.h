#pragma once

namespace trawlix {

// Photos beyond these are refused as undecodable, so that a small file cannot make
// the program decode gigabytes of pixels.
inline constexpr int kMaxPhotoSide = 65535;
inline constexpr long long kMaxPhotoPixels = 100'000'000;

}  // namespace trawlix
