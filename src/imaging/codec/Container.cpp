#include "imaging/codec/Container.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "base/Path.h"
#include "base/Text.h"
#include "imaging/codec/BmpCodec.h"
#include "imaging/codec/PhotoCodec.h"
#include "imaging/codec/PhotoLimits.h"
#include "platform/FileIO.h"

namespace trawlix {

std::string MakeTempPhotoPath(const std::string& folder, const std::string& extension) {
  constexpr int kMaxCounter = 99999;
  for (int counter = 0; counter <= kMaxCounter; ++counter) {
    const std::string path =
        JoinPath(folder, Format("TempPhoto%04d%s", counter, extension.c_str()));
    std::error_code error;
    if (!std::filesystem::exists(path, error) && !error) return path;
  }
  return {};
}

namespace imaging_internal {

Container SniffContainer(const std::string& path) {
  return SniffContainerOf(ReadFileHead(path, kSniffBytes));
}

Container SniffContainerOf(std::string_view head) {
  if (head.starts_with("\xFF\xD8\xFF")) return Container::Jpeg;
  if (head.starts_with("\x89PNG\r\n\x1A\n")) return Container::Png;
  if (head.starts_with("GIF87a") || head.starts_with("GIF89a")) return Container::Gif;
  if (head.starts_with(std::string_view("II*\0", 4)) ||
      head.starts_with(std::string_view("MM\0*", 4)) ||
      head.starts_with(std::string_view("II+\0", 4)) ||
      head.starts_with(std::string_view("MM\0+", 4))) {
    return Container::Tiff;
  }
  if (bmp::LooksLikeBmp(head)) return Container::Bmp;
  return Container::Unknown;
}

PhotoFormat FormatOf(Container container) {
  switch (container) {
    case Container::Jpeg:
      return PhotoFormat::Jpeg;
    case Container::Png:
      return PhotoFormat::Png;
    case Container::Gif:
      return PhotoFormat::Gif;
    case Container::Tiff:
      return PhotoFormat::Tif;
    case Container::Bmp:
      return PhotoFormat::Bmp;
    case Container::Unknown:
      break;
  }
  return PhotoFormat::None;
}

bool WithinDecodeLimits(PhotoSize size, int bands, int bytesPerSample) {
  if (size.width <= 0 || size.height <= 0 || size.width > kMaxPhotoSide ||
      size.height > kMaxPhotoSide) {
    return false;
  }
  const long long pixels = static_cast<long long>(size.width) * size.height;
  return pixels <= kMaxPhotoPixels &&
         pixels * std::max(bands, 1) * std::max(bytesPerSample, 1) <= kMaxDecodedBytes;
}

TempFile CreateTempBeside(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  const std::filesystem::path folder = std::filesystem::path(target).parent_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name =
        ".trawlix-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".part";
    const std::string candidate = (folder / name).string();
    const int fd =
        open(candidate.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) return {candidate, fd};
    if (errno != EEXIST) return {};
  }
  return {};
}

bool MoveIntoPlace(const std::string& temp, const std::string& target) {
  if (std::rename(temp.c_str(), target.c_str()) == 0) return true;
  std::remove(temp.c_str());
  return false;
}

}  // namespace imaging_internal
}  // namespace trawlix
