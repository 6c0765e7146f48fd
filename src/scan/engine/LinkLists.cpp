#include "scan/engine/LinkLists.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "base/Text.h"
#include "storage/DatabaseError.h"

namespace trawlix {

namespace {

char Folded(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

// URLs in one scan share long beginnings: equal bytes are passed over without folding,
// eight at a time.
bool LessNoCase::operator()(std::string_view a, std::string_view b) const {
  const std::size_t common = std::min(a.size(), b.size());
  std::size_t i = 0;
  while (i + 8 <= common && std::memcmp(a.data() + i, b.data() + i, 8) == 0) i += 8;
  for (; i < common; ++i) {
    if (a[i] == b[i]) continue;
    const auto x = static_cast<unsigned char>(Folded(a[i]));
    const auto y = static_cast<unsigned char>(Folded(b[i]));
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

LinkLists::LinkLists(std::string spillPath, std::size_t memoryBound)
    : spillPath_(std::move(spillPath)), memoryBound_(std::max<std::size_t>(memoryBound, 4)) {}

LinkLists::~LinkLists() = default;
LinkLists::LinkLists(LinkLists&&) noexcept = default;
LinkLists& LinkLists::operator=(LinkLists&&) noexcept = default;

// Made on first need, so that a small scan never touches the disk.
LinkSpill* LinkLists::Spill() {
  if (!spill_ && !spillFailed_ && !spillPath_.empty()) {
    try {
      spill_ = std::make_unique<LinkSpill>(spillPath_);
    } catch (const DatabaseError&) {
      spillFailed_ = true;
    }
  }
  return spill_.get();
}

bool LinkLists::Knows(const UrlSet& set, bool spilled, LinkSpill::Table table,
                      const std::string& url) {
  return set.contains(url) || (spilled && spill_->Contains(table, url));
}

bool LinkLists::AddPageLink(std::string_view url) {
  std::string link(url);
  link.erase(std::remove_if(link.begin(), link.end(), IsBlank), link.end());
  if (link.empty() || link.size() >= kMaxURL) return false;
  if (Knows(scannedPages_, scannedSpilled_, LinkSpill::Table::Scanned, link)) return false;
  // Only an address before every one on disk may join those in memory.
  if (diskFirst_ && !LessNoCase{}(link, *diskFirst_)) {
    if (!spill_->Add(LinkSpill::Table::Pending, link)) return false;
    ++spilledPending_;
    return true;
  }
  if (!pendingPages_.insert(std::move(link)).second) return false;
  if (pendingPages_.size() > memoryBound_) SpillLastPending();
  return true;
}

// The last half moves to disk, ahead of those already there.
void LinkLists::SpillLastPending() {
  LinkSpill* spill = Spill();
  if (spill == nullptr) return;
  auto from = std::next(pendingPages_.begin(), static_cast<std::ptrdiff_t>(memoryBound_ / 2));
  std::vector<std::string> moved;
  moved.reserve(pendingPages_.size() - memoryBound_ / 2);
  while (from != pendingPages_.end())
    moved.push_back(std::move(pendingPages_.extract(from++).value()));
  spill->AddAll(LinkSpill::Table::Pending, moved);
  spilledPending_ += moved.size();
  diskFirst_ = std::move(moved.front());
}

// The next ones come back from disk while enough of the first are still in memory.
void LinkLists::RefillPending() {
  if (spilledPending_ == 0 || pendingPages_.size() >= memoryBound_ / 4) return;
  std::vector<std::string> urls = spill_->TakeFirstPending(memoryBound_ / 2);
  spilledPending_ -= std::min(spilledPending_, urls.size());
  for (std::string& url : urls) pendingPages_.insert(std::move(url));
  diskFirst_ = spilledPending_ > 0 ? spill_->FirstPending() : std::nullopt;
  if (!diskFirst_) spilledPending_ = 0;
}

void LinkLists::SpillAll(UrlSet& set, bool& spilled, LinkSpill::Table table) {
  if (set.size() <= memoryBound_) return;
  LinkSpill* spill = Spill();
  if (spill == nullptr) return;
  spill->AddAll(table, std::vector<std::string>(set.begin(), set.end()));
  set.clear();
  spilled = true;
}

bool LinkLists::AddPhotoLink(PhotoUrlInfo photo) {
  if (photo.url.empty() || photo.url.size() >= kMaxURL) return false;
  if (Knows(knownPhotos_, photosSpilled_, LinkSpill::Table::Photos, photo.url)) return false;
  knownPhotos_.insert(photo.url);
  ++photoCount_;
  SpillAll(knownPhotos_, photosSpilled_, LinkSpill::Table::Photos);
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
  ++scannedCount_;
  SpillAll(scannedPages_, scannedSpilled_, LinkSpill::Table::Scanned);
  RefillPending();
  return url;
}

std::optional<PhotoUrlInfo> LinkLists::TakeNextPhoto() {
  if (photoQueue_.empty()) return std::nullopt;
  PhotoUrlInfo photo = std::move(photoQueue_.front());
  photoQueue_.pop_front();
  return photo;
}

void LinkLists::Clear() {
  *this = LinkLists(std::move(spillPath_), memoryBound_);
}

}  // namespace trawlix
