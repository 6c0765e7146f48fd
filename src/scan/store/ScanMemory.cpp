#include "scan/store/ScanMemory.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "base/Path.h"
#include "base/Text.h"
#include "scan/store/RecordBytes.h"
#include "storage/DatabaseError.h"

namespace trawlix {

namespace fs = std::filesystem;

namespace {

constexpr auto kFlushInterval = std::chrono::seconds(1);
constexpr char kPhotoRecord = 'F';
constexpr char kPageRecord = 'G';

bool Exists(const std::string& path) {
  std::error_code error;
  return !path.empty() && fs::is_regular_file(path, error);
}

bool IsStored(PhotoOutcome outcome) {
  return outcome == PhotoOutcome::Saved || outcome == PhotoOutcome::Replaced;
}

std::string PhotoRecord(const RememberedPhoto& photo) {
  std::string record(1, kPhotoRecord);
  for (const std::string& field : {photo.url, std::to_string(photo.bytes), photo.hash, photo.path,
                                   std::to_string(static_cast<int>(photo.outcome)), photo.scanGuid})
    AppendField(record, field);
  return record;
}

std::string PageRecord(const RememberedPage& page) {
  std::string record(1, kPageRecord);
  for (const std::string& field : {page.url, page.etag, page.lastModified,
                                   std::to_string(page.bytes), page.links, page.scanGuid})
    AppendField(record, field);
  return record;
}

std::int64_t ToInt64(std::string_view text) {
  return TextToInt64(std::string(text).c_str());
}

// The records of a journal, up to the first one a killed write left incomplete.
void ReadJournal(std::string_view bytes, std::vector<RememberedPhoto>& photos,
                 std::vector<RememberedPage>& pages) {
  while (const std::optional<std::string_view> framed = ReadField(bytes)) {
    std::string_view record = *framed;
    if (record.empty()) continue;
    const char kind = record.front();
    record.remove_prefix(1);
    std::string_view fields[6];
    bool whole = true;
    for (std::string_view& field : fields) {
      const std::optional<std::string_view> next = ReadField(record);
      whole = whole && next.has_value();
      if (next) field = *next;
    }
    if (!whole) return;
    if (kind == kPhotoRecord) {
      photos.push_back({std::string(fields[0]), ToInt64(fields[1]), std::string(fields[2]),
                        std::string(fields[3]), static_cast<PhotoOutcome>(ToInt64(fields[4])),
                        std::string(fields[5])});
    } else if (kind == kPageRecord) {
      pages.push_back({std::string(fields[0]), std::string(fields[1]), std::string(fields[2]),
                       ToInt64(fields[3]), std::string(fields[4]), std::string(fields[5])});
    }
  }
}

// A database that fails during a lookup answers as if it knew nothing.
template <typename Lookup>
auto Quietly(Lookup lookup) -> decltype(lookup()) {
  try {
    return lookup();
  } catch (const DatabaseError&) {
    return std::nullopt;
  }
}

// How many pages the lookup cache holds before it starts again.
constexpr std::size_t kPageCacheSize = 4096;
// How many photos with the same bytes are looked at for one still on disk.
constexpr int kSameContentTried = 8;

}  // namespace

ScanMemory::ScanMemory(std::string databasePath, int projectId, std::string scanGuid)
    : databasePath_(std::move(databasePath)),
      projectId_(projectId),
      scanGuid_(std::move(scanGuid)) {}

ScanMemory::~ScanMemory() {
  if (journal_ >= 0) ::close(journal_);
}

std::string ScanMemory::JournalPath(const std::string& databasePath, int projectId) {
  return SplitPath(databasePath).folder + "Resume/project-" + std::to_string(projectId) +
         ".journal";
}

void ScanMemory::Load() {
  try {
    data_ = std::make_unique<RememberedData>(databasePath_);
    TakeInJournal();
  } catch (const DatabaseError&) {
    data_.reset();
    return;
  }
  const std::string path = JournalPath(databasePath_, projectId_);
  std::error_code ignored;
  fs::create_directories(fs::path(path).parent_path(), ignored);
  journal_ =
      ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0600);
  lastFlush_ = std::chrono::steady_clock::now();
}

// What a killed run wrote only to its journal goes into the database now. A photo counts
// only when its file is there: the run may have ended between the two.
void ScanMemory::TakeInJournal() {
  const std::string path = JournalPath(databasePath_, projectId_);
  std::ifstream in(path, std::ios::binary);
  if (!in) return;
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::vector<RememberedPhoto> photos;
  std::vector<RememberedPage> pages;
  ReadJournal(bytes, photos, pages);
  std::erase_if(photos, [](const RememberedPhoto& photo) {
    return IsStored(photo.outcome) && !Exists(photo.path);
  });
  data_->Write(projectId_, photos, pages);
  std::error_code ignored;
  fs::remove(path, ignored);
}

std::optional<RememberedPhoto> ScanMemory::Photo(const std::string& url) {
  if (const auto added = newPhotos_.find(url); added != newPhotos_.end()) return added->second;
  if (!data_) return std::nullopt;
  return Quietly([&] { return data_->FindPhoto(projectId_, url); });
}

std::optional<RememberedPage> ScanMemory::Page(const std::string& url) {
  if (const auto added = newPages_.find(url); added != newPages_.end()) {
    RememberedPage page = added->second;
    page.links.clear();
    return page;
  }
  if (!data_) return std::nullopt;
  if (const auto cached = pageCache_.find(url); cached != pageCache_.end()) return cached->second;
  if (pageCache_.size() >= kPageCacheSize) pageCache_.clear();
  std::optional<RememberedPage> page = Quietly([&] { return data_->FindPage(projectId_, url); });
  pageCache_.emplace(url, page);
  return page;
}

std::optional<std::string> ScanMemory::PageLinks(const std::string& url) {
  if (const auto added = newPages_.find(url); added != newPages_.end()) return added->second.links;
  if (!data_) return std::nullopt;
  return Quietly([&] { return data_->LoadPageLinks(projectId_, url); });
}

std::optional<RememberedPhoto> ScanMemory::SameContent(const std::string& hash) {
  // What this scan saved, then what scans wrote before, each as the address holds it now.
  std::vector<std::string> urls;
  if (const auto added = newByHash_.find(hash); added != newByHash_.end())
    urls.push_back(added->second);
  if (data_) {
    try {
      for (const RememberedPhoto& photo :
           data_->StoredWithHash(projectId_, hash, kSameContentTried))
        urls.push_back(photo.url);
    } catch (const DatabaseError&) {
    }
  }
  for (const std::string& url : urls) {
    std::optional<RememberedPhoto> photo = Photo(url);
    if (photo && IsStored(photo->outcome) && photo->hash == hash && Exists(photo->path))
      return photo;
  }
  return std::nullopt;
}

void ScanMemory::Remember(RememberedPhoto photo) {
  if (!data_) return;
  Journal(PhotoRecord(photo));
  if (IsStored(photo.outcome) && !photo.hash.empty()) newByHash_[photo.hash] = photo.url;
  std::string url = photo.url;
  newPhotos_.insert_or_assign(std::move(url), std::move(photo));
}

void ScanMemory::Remember(RememberedPage page) {
  if (!data_) return;
  Journal(PageRecord(page));
  pageCache_.erase(page.url);
  std::string url = page.url;
  newPages_.insert_or_assign(std::move(url), std::move(page));
}

void ScanMemory::Journal(const std::string& record) {
  if (journal_ < 0) return;
  std::string framed;
  AppendField(framed, record);
  std::string_view rest = framed;
  while (!rest.empty()) {
    const ssize_t written = ::write(journal_, rest.data(), rest.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;  // the database still gets it at the next flush
    rest.remove_prefix(static_cast<std::size_t>(written));
  }
}

void ScanMemory::Flush(bool now) {
  if (!data_ || (newPhotos_.empty() && newPages_.empty())) return;
  const auto time = std::chrono::steady_clock::now();
  if (!now && time - lastFlush_ < kFlushInterval) return;
  lastFlush_ = time;
  std::vector<RememberedPhoto> photos;
  std::vector<RememberedPage> pages;
  for (const auto& [url, photo] : newPhotos_) photos.push_back(photo);
  for (const auto& [url, page] : newPages_) pages.push_back(page);
  try {
    data_->Write(projectId_, photos, pages);
  } catch (const DatabaseError&) {
    return;  // kept for the next flush; the journal holds them meanwhile
  }
  newPhotos_.clear();
  newPages_.clear();
  newByHash_.clear();
  // A journal that could not be emptied replays rows already written: harmless.
  if (journal_ >= 0) {
    [[maybe_unused]] const int emptied = ::ftruncate(journal_, 0);
  }
}

}  // namespace trawlix
