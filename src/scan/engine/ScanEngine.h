#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "scan/engine/LinkFilter.h"
#include "scan/engine/LinkLists.h"
#include "scan/engine/RenderHandOff.h"
#include "scan/engine/ScanCounters.h"
#include "scan/engine/ScanOptions.h"
#include "scan/engine/ScanScope.h"
#include "scan/markup/LinkExtractor.h"
#include "scan/net/HostPolicy.h"
#include "scan/net/TransferThread.h"
#include "scan/store/CopyWorkers.h"
#include "scan/store/PhotoStore.h"
#include "scan/store/ScanMemory.h"
#include "storage/ProjectsRecord.h"

namespace trawlix {

// Where a scan (or one link of a multi-link scan) stands, as the engine last reported it.
struct EngineReport {
  ScanCounts counts;
  std::int64_t pagesFound = 0;   // pending and scanned pages
  std::int64_t photosFound = 0;  // photos filed
  // What the results must add: a start page that never arrived, a limit reached.
  std::vector<std::string> notes;
  bool startPageFailed = false;
  std::string saveProblem;  // why the scan stopped: Save To could not be written
  std::string restingHost;  // a host the scan waits on (it answered 429 or 503)
};

// What the engine tells its owner. Every call comes on the engine's thread, in order; the
// owner carries them to its own thread.
class EngineEvents {
 public:
  virtual ~EngineEvents() = default;
  virtual void OnEngineProgress(const EngineReport& report) = 0;
  virtual void OnEnginePhotoSaved(const std::string& path) = 0;
  virtual void OnEngineFailure(const ScanFailure& failure) = 0;
  // No page is left to scan; photos may still be downloading.
  virtual void OnEnginePagesDone() = 0;
  // The engine's last call.
  virtual void OnEngineEnded(bool stopped, const EngineReport& report) = 0;
};

// What one run of the engine scans.
struct EngineJob {
  ProjectsRecord project;  // with the link's sub-folder and keyword choices
  ScanOptions options;
  ScanScope scope;       // the start parts already set
  std::string startURL;  // resolved
  std::string tempFolder;
  bool projectLink = false;  // one link of a multi-link scan
  // Names this run in what it remembers; a run that resumes another takes its name, and
  // what that one fetched counts as its own.
  std::string scanGuid;
  // The scan's cookies, shared with every other run of the same scan.
  std::shared_ptr<CookieJar> cookies;
  // Pages are rendered through `renderer`, on `ui`, when both are set and the mode allows.
  RenderMode render = RenderMode::Never;
  PageRenderer* renderer = nullptr;
  UiThread* ui = nullptr;
};

// Scans one start address on a thread of its own: fetches pages and photos over several
// connections, scans the pages in the order the link lists hand them out, and stores the
// photos one at a time in the lists' order, so that what is stored, under which names, does
// not depend on the speed of the server or the number of connections. Copies are made by
// the copy workers; the run ends when every copy is written.
class ScanEngine : private LinkReceiver {
 public:
  ScanEngine(EngineJob job, EngineEvents& events);
  ~ScanEngine() override;  // stops and joins
  ScanEngine(const ScanEngine&) = delete;
  ScanEngine& operator=(const ScanEngine&) = delete;

  // False when the thread could not be started.
  bool Start();
  // Pausing ends every transfer in flight (they are fetched again on resuming) and holds
  // the scan between steps.
  void SetPaused(bool paused);
  // Ends every transfer and the run; what is stored stays stored. Any thread.
  void Stop();
  void Join();

 private:
  struct PageFetch {
    bool done = false;
    bool ok = false;
    std::string text;
    std::string finalURL;
    std::string failure;
    bool replay = false;  // its links are the remembered ones: it was not fetched
    std::string etag;
    std::string lastModified;
    std::int64_t bytes = 0;
  };
  // A scanned page whose links wait for its rendering before the next page is scanned, so
  // that its rendered links take the place its static ones had.
  struct RenderingPage {
    std::string url;
    std::string pageURL;  // after any redirect
    std::string etag;
    std::string lastModified;
    std::int64_t bytes = 0;
  };
  // What the memory says of a photo before it is fetched.
  enum class Known { No, ThisScan, Earlier };
  struct PhotoSlot {
    PhotoUrlInfo photo;
    std::string tempPath;
    bool requested = false;
    bool done = false;
    bool ok = false;
    std::string failure;
    int attempts = 0;
    Known known = Known::No;
    RememberedPhoto remembered;  // when known
    bool refused = false;        // its first bytes showed it too small
    std::int64_t bytes = 0;
    std::string hash;
  };

  void Run();
  void Start(bool& stopped);
  bool DiskIsLow();
  void Note(std::string note);
  bool WithinLimit(std::size_t ofPage, std::size_t perPage, const std::string& what);
  void Hold();
  int Connections() const;
  int Requests() const;
  void Schedule();
  HostPolicy::Verdict Admit(const std::string& url);
  void Sending(const std::string& url);
  void Ended(const std::string& url);
  bool Retries(const std::string& url, const TransferResult& result, int& attempts);
  void SubmitPage(const std::string& url, const std::optional<RememberedPage>& before);
  void KeepPrefetchInBudget();
  void ConfirmLocalNetwork(const std::string& address);
  bool ReplaysPage(const std::string& url);
  void FillPhotoSlots();
  HeadVerdict CheckHead(std::string_view head) const;
  HeadVerdict CheckUnnamedHead(std::string_view head) const;
  void ScanFetchedPage(const std::string& url, PageFetch& page);
  bool WantsRendering(std::string_view markup) const;
  void StartRendering(const std::string& url, const std::string& pageURL, PageFetch& page);
  bool FinishRenderedPage();
  void RememberScannedPage(const std::string& url, std::string etag, std::string lastModified,
                           std::int64_t bytes);
  void ReplayPage(const std::string& url, const PageFetch& page);
  void CountKnownPhoto(const PhotoSlot& slot);
  void StorePhoto(const PhotoSlot& slot);
  void RememberPhoto(const PhotoSlot& slot, PhotoOutcome outcome, const std::string& path);
  void SubmitPhoto(std::size_t slot);
  void Deliver(TransferResult result);
  bool ScanReadyPage();
  bool StoreReadyPhotos();
  bool Finished() const;
  void CancelTransfers();
  void DropDownloads();
  void Report(bool force);
  EngineReport Snapshot() const;
  void Record(char kind, std::string_view text);

  // LinkReceiver: links found on the page being scanned.
  void OnPageLink(const LinkMessage& link) override;
  void OnPhotoLink(const LinkMessage& link) override;
  void OnBaseHref(std::string_view href) override;
  std::string OptimizedInstead(PhotoLink& photo, std::string_view base);

  EngineJob job_;  // its scope changes as social-network links are met
  EngineEvents& events_;
  std::unique_ptr<CopyWorkers> copies_;
  PhotoStore store_;
  ScanMemory memory_;
  TransferThread pool_;
  HostPolicy policy_;
  LinkLists links_;
  ScanCounts counts_;
  std::string baseHref_;

  // Transfers carry a tag: pages' tags are even, photos' odd, both counting up.
  std::uint64_t nextTag_ = 0;
  std::map<std::uint64_t, std::string> pageTags_;
  std::map<std::uint64_t, std::string> robotsTags_;
  std::map<std::string, int> pageAttempts_;             // of pages a busy host turned away
  std::map<std::string, std::size_t> hostActive_;       // transfers in flight per host
  std::size_t keptOut_ = 0;                             // links robots.txt kept out
  std::map<std::string, PageFetch, LessNoCase> pages_;  // requested, not yet scanned
  std::size_t prefetchedBytes_ = 0;                     // text of the fetched ones
  std::set<std::string, LessNoCase> deferredPages_;     // fetched again only in their turn
  std::map<std::uint64_t, std::uint64_t> photoTags_;    // tag -> slot number
  std::deque<PhotoSlot> photos_;                        // taken from the lists, in order
  std::uint64_t firstSlot_ = 0;                         // slot number of photos_.front()
  std::uint64_t downloads_ = 0;                         // names the temporary files
  bool pagesDone_ = false;
  std::size_t pageLinksOfPage_ = 0;  // filed by the page being scanned
  std::size_t photoLinksOfPage_ = 0;
  std::size_t wantedPhotosOfPage_ = 0;  // accepted, whether or not already filed
  std::size_t storesSinceDiskCheck_ = 0;
  std::vector<std::string> notes_;
  bool startPageFailed_ = false;
  std::string saveProblem_;
  std::optional<std::string> recording_;  // the links of the page being scanned, to remember
  std::size_t alreadyThere_ = 0;          // photos saved by earlier scans, not fetched
  std::size_t sameContent_ = 0;           // photos whose bytes were already saved
  std::chrono::steady_clock::time_point lastReport_{};
  bool refuseLocalNetwork_ = false;
  bool localNetworkConfirmed_ = false;  // by the address the first answer came from
  std::unique_ptr<RenderHandOff> render_;
  std::optional<RenderingPage> rendering_;
  std::size_t renderFailures_ = 0;

  std::atomic<int> stop_{0};
  std::atomic<bool> paused_{false};
  std::thread thread_;
};

}  // namespace trawlix
