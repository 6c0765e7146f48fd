#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "scan/engine/LinkLists.h"
#include "scan/net/TransferPool.h"
#include "settings/Settings.h"
#include "storage/ProjectRendering.h"

namespace trawlix {

// How a photo whose file name is already taken is handled (AutoRename off).
enum class DuplicateHandling : int { Skip = 0, Rename = 1, Overwrite = 2, OverwriteIfLarger = 3 };

// What one page may file at most, and the scan's other bounds; the scan itself has no cap:
// its link lists keep what does not fit in memory on disk.
struct ScanLimits {
  std::size_t pageLinksPerPage = 10'000;
  std::size_t photoLinksPerPage = 10'000;
  // Addresses each link list keeps in memory; the rest wait in a scratch file.
  std::size_t linksInMemory = LinkLists::kMemoryBound;
  // Photos filed and waiting for their turn, beyond which no further page is scanned.
  std::size_t photosWaiting = 2'000;
  // Pages fetched ahead of the one being scanned hold at most this, counted as they arrive.
  std::size_t prefetchBytes = std::size_t{32} * 1024 * 1024;
  // The scan stops, and says so, when the disk holding the photos has less than this.
  std::uint64_t lowDiskBytes = std::uint64_t{48} * 1024 * 1024;
};

// The options a scan reads, taken from the settings once when it starts, so that the
// workers read a copy nobody changes while they run.
struct ScanOptions {
  std::string tempFolder;
  std::string databasePath;
  WebFileOptions web;
  int priority = 0;  // -2 lowest .. 2 higher, 15 time critical
  int jpegQuality = 95;
  bool setResolution = true;
  int dpi = 96;
  DuplicateHandling duplicates = DuplicateHandling::Skip;
  bool onlySuccessfulScansInHistory = false;
  std::string filesToIgnore = "bnsftr.jpg, mag_thumb.jpg, _mag_cover.jpg";
  bool showResults = true;
  bool autoFollow = true;
  // A scan of a public site never reaches this computer or the local network.
  bool keepOffLocalNetwork = true;
  // Polite crawling: robots.txt is honoured for pages and photos; an optional pause between
  // requests to one host.
  bool honourRobots = true;
  std::chrono::milliseconds hostPause{0};
  // Photos saved before from the same address are not fetched again, photos whose bytes were
  // saved before under another address are not saved again, and pages fetched before are
  // asked for only if they changed. Off: everything is fetched and stored as it always was.
  bool skipRemembered = true;
  // Whether pages are rendered; unset, the project's own choice holds.
  std::optional<RenderMode> render;
  // A browser's cookies.txt whose cookies every request of the scan may send (empty: none).
  // Read when the scan starts, never written.
  std::string cookiesFile;
  ScanLimits limits;
};

ScanOptions ScanOptionsFromSettings(const Settings& settings);

}  // namespace trawlix
