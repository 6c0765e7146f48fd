#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

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
// in letter case are one URL. Filing and handing out take O(log n). One thread only.
class LinkLists {
 public:
  using PageSet = std::set<std::string, LessNoCase>;

  // URLs of this length or more are refused.
  static constexpr std::size_t kMaxURL = 2046;

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

  const PageSet& PendingPages() const { return pendingPages_; }
  bool HasPendingPhoto() const { return !photoQueue_.empty(); }
  std::size_t ScannedPages() const { return scannedPages_.size(); }
  std::size_t PendingPhotos() const { return photoQueue_.size(); }
  // Pages and photos found: pending plus handed out.
  std::size_t PageCount() const { return pendingPages_.size() + scannedPages_.size(); }
  std::size_t PhotoCount() const { return knownPhotos_.size(); }

  void Clear();

 private:
  PageSet pendingPages_;
  PageSet scannedPages_;
  std::set<std::string, LessNoCase> knownPhotos_;
  std::vector<PhotoUrlInfo> pagePhotos_;  // filed by the page being scanned
  std::deque<PhotoUrlInfo> photoQueue_;
};

}  // namespace trawlix
