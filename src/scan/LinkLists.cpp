#include "scan/LinkLists.h"

#include <algorithm>

#include "base/Text.h"

namespace trawlix {

namespace {

template <typename Set>
std::optional<typename Set::value_type> TakeFirst(Set& pending, Set& taken) {
  if (pending.empty()) return std::nullopt;
  auto node = pending.extract(pending.begin());
  node.value().taken = 1;
  typename Set::value_type copy = node.value();
  taken.insert(std::move(node));
  return copy;
}

}  // namespace

bool LessURLNoCase::Less(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(ToLowerAscii(x)) <
           static_cast<unsigned char>(ToLowerAscii(y));
  });
}

bool LinkLists::AddPageLink(std::string_view url) {
  std::string link(url);
  link.erase(std::remove_if(link.begin(), link.end(), IsBlank), link.end());
  if (link.empty() || link.size() >= kMaxURL) return false;
  if (pageQueue_.contains(link) || scannedPages_.contains(link)) return false;
  pageQueue_.insert(CXLinkInfo{std::move(link), 0});
  return true;
}

bool LinkLists::AddPhotoLink(CXPhotoURLInfo photo) {
  if (photo.url.empty() || photo.url.size() >= kMaxURL) return false;
  if (photoQueue_.contains(photo.url) || takenPhotos_.contains(photo.url)) return false;
  photo.sortKey = photo.url;
  photo.taken = 0;
  photoQueue_.insert(std::move(photo));
  return true;
}

std::optional<CXLinkInfo> LinkLists::TakeNextPage() {
  return TakeFirst(pageQueue_, scannedPages_);
}

std::optional<CXPhotoURLInfo> LinkLists::TakeNextPhoto() {
  return TakeFirst(photoQueue_, takenPhotos_);
}

void LinkLists::Clear() {
  pageQueue_.clear();
  scannedPages_.clear();
  photoQueue_.clear();
  takenPhotos_.clear();
}

}  // namespace trawlix
