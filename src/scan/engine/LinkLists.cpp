#include "scan/engine/LinkLists.h"

#include <algorithm>

#include "base/Text.h"

namespace trawlix {

namespace {

char Folded(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool LessNoCase::operator()(std::string_view a, std::string_view b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(Folded(x)) < static_cast<unsigned char>(Folded(y));
  });
}

bool LinkLists::AddPageLink(std::string_view url) {
  std::string link(url);
  link.erase(std::remove_if(link.begin(), link.end(), IsBlank), link.end());
  if (link.empty() || link.size() >= kMaxURL) return false;
  if (scannedPages_.contains(link)) return false;
  return pendingPages_.insert(std::move(link)).second;
}

bool LinkLists::AddPhotoLink(PhotoUrlInfo photo) {
  if (photo.url.empty() || photo.url.size() >= kMaxURL) return false;
  if (!knownPhotos_.insert(photo.url).second) return false;
  pagePhotos_.push_back(std::move(photo));
  return true;
}

void LinkLists::EndPage() {
  std::sort(
      pagePhotos_.begin(), pagePhotos_.end(),
      [](const PhotoUrlInfo& a, const PhotoUrlInfo& b) { return LessNoCase{}(a.url, b.url); });
  std::move(pagePhotos_.begin(), pagePhotos_.end(), std::back_inserter(photoQueue_));
  pagePhotos_.clear();
}

std::optional<std::string> LinkLists::TakeNextPage() {
  if (pendingPages_.empty()) return std::nullopt;
  auto node = pendingPages_.extract(pendingPages_.begin());
  std::string url = node.value();
  scannedPages_.insert(std::move(node));
  return url;
}

std::optional<PhotoUrlInfo> LinkLists::TakeNextPhoto() {
  if (photoQueue_.empty()) return std::nullopt;
  PhotoUrlInfo photo = std::move(photoQueue_.front());
  photoQueue_.pop_front();
  return photo;
}

void LinkLists::Clear() {
  *this = LinkLists{};
}

}  // namespace trawlix
