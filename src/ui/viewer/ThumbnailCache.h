#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QThreadPool>
#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace trawlix::ui {

// One photo file in one version (size and time) at one thumbnail size.
struct ThumbnailKey {
  std::string path;
  std::uintmax_t fileSize = 0;
  std::int64_t lastWrite = 0;
  int side = 0;  // the box the thumbnail fits, a step of BoxFor

  bool operator==(const ThumbnailKey&) const = default;
};

struct ThumbnailKeyHash {
  std::size_t operator()(const ThumbnailKey& key) const;
};

// Small decoded pictures of photos, made on worker threads through the imaging layer
// (shrink-on-load) and kept within a fixed memory budget, least recently used first out.
// All calls come from the GUI thread; it never decodes. A changed file has a new key.
class ThumbnailCache : public QObject {
  Q_OBJECT

 public:
  // Enough for several pages of the largest grid and a few single views on a large
  // screen, whatever the folder holds.
  static constexpr std::size_t kDefaultMaxBytes = 160u * 1024 * 1024;

  explicit ThumbnailCache(std::size_t maxBytes = kDefaultMaxBytes, QObject* parent = nullptr);
  ~ThumbnailCache() override;

  // The thumbnail side for a picture to be shown within width x height device pixels:
  // a few fixed steps, so that resizing the window does not decode every photo anew.
  static int BoxFor(int width, int height);

  struct Entry {
    QImage image;     // null when the photo could not be decoded
    QSize photoSize;  // the photo's own size; invalid when unknown
  };
  // The finished thumbnail, or null while it is not ready. Marks it as recently used.
  const Entry* Find(const ThumbnailKey& key);

  // The thumbnails wanted now, most wanted first. Replaces what waited from earlier
  // requests; thumbnails ready or being made are not made again.
  void Request(const std::vector<ThumbnailKey>& keys);

  // Forgets every thumbnail of the file (it changed or went away).
  void Forget(const std::string& path);
  void Clear();

  std::size_t bytes() const { return bytes_; }
  std::size_t maxBytes() const { return maxBytes_; }
  std::size_t entryCount() const { return entries_.size(); }
  // Decodes finished since the cache was made.
  std::int64_t decodeCount() const { return decodes_; }
  // True while thumbnails wait or are being made.
  bool busy() const;

 Q_SIGNALS:
  // A thumbnail of the file is ready (or failed for good).
  void ready(const QString& path);

 private:
  struct Node {
    Entry entry;
    std::size_t bytes = 0;
    std::list<ThumbnailKey>::iterator use;
  };
  struct Work;

  void StartWorkers();
  void Store(const ThumbnailKey& key, const QImage& image, QSize photoSize);
  void Evict();

  std::size_t maxBytes_;
  std::size_t bytes_ = 0;
  std::int64_t decodes_ = 0;
  std::unordered_map<ThumbnailKey, Node, ThumbnailKeyHash> entries_;
  std::list<ThumbnailKey> uses_;  // most recently used first
  std::shared_ptr<Work> work_;
  QThreadPool pool_;
};

}  // namespace trawlix::ui
