#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace trawlix {

struct CXLinkInfo {
  std::string url;
  int taken = 0;  // 1 once handed to the page scanner
};

struct CXPhotoURLInfo {
  std::string url;      // the absolute photo URL
  std::string sortKey;  // equal to the URL
  std::string fileName;
  std::string pageURL;  // the page on which the link was found
  int taken = 0;        // 1 once handed to the photo processor
};

// The page and photo links of one scan: pending links wait in ascending case-insensitive URL
// order and are handed out in that order, not in the order found; a URL already pending or
// handed out is never filed again. Filing and handing out take O(log n). UI thread only.
class LinkLists {
 public:
  // URLs of this length or more do not fit the workers' request buffers.
  static constexpr std::size_t kMaxURL = 2046;

  // Files a page URL after removing every blank from it; false when it is empty, too long or
  // already known.
  bool AddPageLink(std::string_view url);
  // Files a photo link (its sort key becomes its URL); false when too long or already known.
  bool AddPhotoLink(CXPhotoURLInfo photo);

  // The next pending link, now marked taken and moved to the handed-out list.
  std::optional<CXLinkInfo> TakeNextPage();
  std::optional<CXPhotoURLInfo> TakeNextPhoto();

  bool HasPendingPhoto() const { return !photoQueue_.empty(); }
  std::size_t PendingPages() const { return pageQueue_.size(); }
  std::size_t ScannedPages() const { return scannedPages_.size(); }
  std::size_t PendingPhotos() const { return photoQueue_.size(); }
  std::size_t TakenPhotos() const { return takenPhotos_.size(); }
  // Pages and photos found: pending plus handed out.
  std::size_t PageCount() const { return PendingPages() + ScannedPages(); }
  std::size_t PhotoCount() const { return PendingPhotos() + TakenPhotos(); }

  void Clear();

 private:
  // Keyed by the URL in lower case: plain byte comparisons give the case-insensitive order, and
  // URLs that differ only in letter case share a key.
  template <typename Info>
  using ByURL = std::map<std::string, Info>;

  ByURL<CXLinkInfo> pageQueue_;
  ByURL<CXLinkInfo> scannedPages_;
  ByURL<CXPhotoURLInfo> photoQueue_;
  ByURL<CXPhotoURLInfo> takenPhotos_;
};

}  // namespace trawlix
