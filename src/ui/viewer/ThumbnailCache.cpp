#include "ui/viewer/ThumbnailCache.h"

#include <QThread>
#include <algorithm>
#include <cstring>
#include <deque>
#include <functional>
#include <mutex>
#include <unordered_set>

#include "imaging/codec/ThumbnailDecode.h"

namespace trawlix::ui {

namespace {

// Bookkeeping of a failed photo, so that it counts against the budget too.
constexpr std::size_t kNodeOverhead = 256;

QImage ToImage(const DecodedThumbnail& decoded) {
  const bool alpha = decoded.bands == 4;
  QImage image(decoded.width, decoded.height,
               alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
  if (image.isNull()) return {};
  const std::size_t rowBytes =
      static_cast<std::size_t>(decoded.width) * static_cast<std::size_t>(decoded.bands);
  for (int y = 0; y < decoded.height; ++y) {
    std::memcpy(image.scanLine(y), decoded.pixels.data() + rowBytes * static_cast<std::size_t>(y),
                rowBytes);
  }
  // The formats the painter draws without converting.
  return image.convertToFormat(alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

}  // namespace

std::size_t ThumbnailKeyHash::operator()(const ThumbnailKey& key) const {
  std::size_t hash = std::hash<std::string>()(key.path);
  for (const std::size_t part :
       {static_cast<std::size_t>(key.fileSize), static_cast<std::size_t>(key.lastWrite),
        static_cast<std::size_t>(key.side)}) {
    hash ^= part + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
  }
  return hash;
}

// What the GUI thread and the workers share.
struct ThumbnailCache::Work {
  std::mutex mutex;
  std::deque<ThumbnailKey> waiting;
  std::unordered_set<ThumbnailKey, ThumbnailKeyHash> inFlight;
  int running = 0;
  bool stopping = false;
};

ThumbnailCache::ThumbnailCache(std::size_t maxBytes, QObject* parent)
    : QObject(parent), maxBytes_(maxBytes), work_(std::make_shared<Work>()) {
  pool_.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
  pool_.setExpiryTimeout(5000);
}

ThumbnailCache::~ThumbnailCache() {
  {
    const std::lock_guard lock(work_->mutex);
    work_->stopping = true;
    work_->waiting.clear();
  }
  pool_.waitForDone();
}

int ThumbnailCache::BoxFor(int width, int height) {
  const int wanted = std::max({width, height, 1});
  // Steps of a quarter, in multiples of 16: at most a quarter more pixels a side than shown.
  int side = 32;
  while (side < wanted) side = (side * 5 / 4 + 15) / 16 * 16;
  return side;
}

const ThumbnailCache::Entry* ThumbnailCache::Find(const ThumbnailKey& key) {
  const auto found = entries_.find(key);
  if (found == entries_.end()) return nullptr;
  uses_.splice(uses_.begin(), uses_, found->second.use);
  return &found->second.entry;
}

bool ThumbnailCache::busy() const {
  const std::lock_guard lock(work_->mutex);
  return !work_->waiting.empty() || !work_->inFlight.empty();
}

void ThumbnailCache::Request(const std::vector<ThumbnailKey>& keys) {
  {
    const std::lock_guard lock(work_->mutex);
    work_->waiting.clear();
    for (const ThumbnailKey& key : keys) {
      if (key.side <= 0 || entries_.contains(key) || work_->inFlight.contains(key)) continue;
      if (std::find(work_->waiting.begin(), work_->waiting.end(), key) != work_->waiting.end())
        continue;
      work_->waiting.push_back(key);
    }
  }
  StartWorkers();
}

void ThumbnailCache::StartWorkers() {
  const std::lock_guard lock(work_->mutex);
  const int wanted = std::min(pool_.maxThreadCount(), static_cast<int>(work_->waiting.size()));
  for (; work_->running < wanted; ++work_->running) {
    // The worker holds the shared state, not the cache: the cache waits for it in its
    // destructor, and results reach the cache only through its own event queue.
    pool_.start([work = work_, cache = this] {
      for (;;) {
        ThumbnailKey key;
        {
          const std::lock_guard guard(work->mutex);
          if (work->stopping || work->waiting.empty()) {
            --work->running;
            return;
          }
          key = std::move(work->waiting.front());
          work->waiting.pop_front();
          work->inFlight.insert(key);
        }
        QImage image;
        QSize photoSize;
        if (const auto decoded = DecodeThumbnail(key.path, key.side, key.side)) {
          image = ToImage(*decoded);
          photoSize = QSize(decoded->photoSize.width, decoded->photoSize.height);
        }
        QMetaObject::invokeMethod(
            cache, [cache, key, image, photoSize] { cache->Store(key, image, photoSize); },
            Qt::QueuedConnection);
      }
    });
  }
}

void ThumbnailCache::Store(const ThumbnailKey& key, const QImage& image, QSize photoSize) {
  {
    const std::lock_guard lock(work_->mutex);
    work_->inFlight.erase(key);
  }
  ++decodes_;
  if (entries_.contains(key)) return;
  uses_.push_front(key);
  Node node{Entry{image, photoSize},
            static_cast<std::size_t>(image.sizeInBytes()) + key.path.size() + kNodeOverhead,
            uses_.begin()};
  bytes_ += node.bytes;
  entries_.emplace(key, std::move(node));
  Evict();
  Q_EMIT ready(QString::fromStdString(key.path));
}

void ThumbnailCache::Evict() {
  // The newest entry stays even when it alone is over the budget: it is on the screen.
  while (bytes_ > maxBytes_ && uses_.size() > 1) {
    const auto found = entries_.find(uses_.back());
    bytes_ -= found->second.bytes;
    entries_.erase(found);
    uses_.pop_back();
  }
}

void ThumbnailCache::Forget(const std::string& path) {
  for (auto it = entries_.begin(); it != entries_.end();) {
    if (it->first.path == path) {
      bytes_ -= it->second.bytes;
      uses_.erase(it->second.use);
      it = entries_.erase(it);
    } else {
      ++it;
    }
  }
}

void ThumbnailCache::Clear() {
  entries_.clear();
  uses_.clear();
  bytes_ = 0;
}

}  // namespace trawlix::ui
