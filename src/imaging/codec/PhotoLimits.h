#pragma once

namespace trawlix {

// Photos beyond these are refused as undecodable, so that a small file cannot make
// the program decode gigabytes of pixels.
inline constexpr int kMaxPhotoSide = 65535;
inline constexpr long long kMaxPhotoPixels = 100'000'000;
// Width x height x samples x bytes per sample, at full size. A 100-megapixel photo of
// 8-bit RGB (300 MB) or RGBA (400 MB) fits; a 10,000 x 10,000 16-bit RGBA PNG (800 MB,
// from a file of a few kilobytes) does not.
inline constexpr long long kMaxDecodedBytes = 512LL * 1024 * 1024;

}  // namespace trawlix
