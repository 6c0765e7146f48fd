#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "scan/engine/LinkSpill.h"

namespace trawlix {

struct PhotoUrlInfo {
  std::string url;  // the absolute photo URL
  std::string fileName;
  std::string pageURL;    // the page on which the link was found
  bool byAnswer = false;  // named no photo extension: the answer decides
  // An image optimizer's address, fetched when the original it names fails.
  std::string fallback{};
};

// Orders URLs by their bytes with ASCII letters folded to lower case.
struct LessNoCase {
  bool operator()(std::string_view a, std::string_view b) const;
};

// The page and photo links of one scan. Pending pages wait in ascending case-insensitive URL
// order and are handed out in that order, not in the order found. Photos are handed out page
// by page in the order the pages were scanned, and the photos one page filed in ascending
// case-insensitive URL order. A URL already filed is never filed again; URLs that differ only
// in letter case are one URL. One thread only.
//
// Memory stays bounded however large the site: beyond `memoryBound` addresses a list moves
// addresses to a scratch file at `spillPath` (none when empty, or when the file cannot be
// made: then everything stays in memory). Pending pages keep the first ones in memory, all
// ordered before those on disk, so the next pages are always at hand; the addresses already
// scanned or filed as photos are needed only to refuse them again, and move out in batches.
class LinkLists {
 public:
  using PageSet = std::set<std::string, LessNoCase>;

  // URLs of this length or more are refused.
  static constexpr std::size_t kMaxURL = 2046;
  static constexpr std::size_t kMemoryBound = 20'000;

  explicit LinkLists(std::string spillPath = {}, std::size_t memoryBound = kMemoryBound);
  ~LinkLists();
  LinkLists(LinkLists&&) noexcept;
  LinkLists& operator=(LinkLists&&) noexcept;

  // Files a page URL after removing every blank from it; false when it is empty, too long or
  // already known.
  bool AddPageLink(std::string_view url);
  // Files a photo link of the page being scanned; false when too long or already known. It
  // joins the queue with EndPage.
  bool AddPhotoLink(PhotoUrlInfo photo);
  void EndPage();

  // The next pending page, now counted as scanned.
  std::optional<std::string> TakeNextPage();
  std::optional<PhotoUrlInfo> TakeNextPhoto();

  // The next pending pages in order: all of them, or at least the first quarter of the
  // memory bound. Empty only when no page is pending.
  const PageSet& PendingPages() const { return pendingPages_; }
  bool HasPendingPhoto() const { return !photoQueue_.empty(); }
  std::size_t ScannedPages() const { return scannedCount_; }
  std::size_t PendingPhotos() const { return photoQueue_.size(); }
  // Pages and photos found: pending plus handed out.
  std::size_t PageCount() const { return pendingPages_.size() + spilledPending_ + scannedCount_; }
  std::size_t PhotoCount() const { return photoCount_; }

  void Clear();

 private:
  using UrlSet = std::set<std::string, LessNoCase>;
  LinkSpill* Spill();
  bool Knows(const UrlSet& set, bool spilled, LinkSpill::Table table, const std::string& url);
  void SpillAll(UrlSet& set, bool& spilled, LinkSpill::Table table);
  void SpillLastPending();
  void RefillPending();

  std::string spillPath_;
  std::size_t memoryBound_;
  std::unique_ptr<LinkSpill> spill_;
  bool spillFailed_ = false;

  PageSet pendingPages_;                  // the first ones; those after wait on disk
  std::size_t spilledPending_ = 0;        // on disk
  std::optional<std::string> diskFirst_;  // the first pending page on disk
  UrlSet scannedPages_;
  bool scannedSpilled_ = false;
  std::size_t scannedCount_ = 0;
  UrlSet knownPhotos_;
  bool photosSpilled_ = false;
  std::size_t photoCount_ = 0;
  std::vector<PhotoUrlInfo> pagePhotos_;  // filed by the page being scanned
  std::deque<PhotoUrlInfo> photoQueue_;
};

}  // namespace trawlix
