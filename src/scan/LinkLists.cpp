#include "scan/LinkLists.h"

#include <algorithm>

#include "base/Text.h"

namespace trawlix {

namespace {

template <typename Map>
std::optional<typename Map::mapped_type> TakeFirst(Map& pending, Map& taken) {
  if (pending.empty()) return std::nullopt;
  auto node = pending.extract(pending.begin());
  node.mapped().taken = 1;
  typename Map::mapped_type copy = node.mapped();
  taken.insert(std::move(node));
  return copy;
}

}  // namespace

bool LinkLists::AddPageLink(std::string_view url) {
  std::string link(url);
  link.erase(std::remove_if(link.begin(), link.end(), IsBlank), link.end());
  if (link.empty() || link.size() >= kMaxURL) return false;
  std::string key = ToLowerAscii(link);
  if (pageQueue_.contains(key) || scannedPages_.contains(key)) return false;
  pageQueue_.emplace(std::move(key), CXLinkInfo{std::move(link), 0});
  return true;
}

bool LinkLists::AddPhotoLink(CXPhotoURLInfo photo) {
  if (photo.url.empty() || photo.url.size() >= kMaxURL) return false;
  std::string key = ToLowerAscii(photo.url);
  if (photoQueue_.contains(key) || takenPhotos_.contains(key)) return false;
  photo.sortKey = photo.url;
  photo.taken = 0;
  photoQueue_.emplace(std::move(key), std::move(photo));
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
