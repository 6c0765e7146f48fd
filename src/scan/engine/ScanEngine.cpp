#include "scan/engine/ScanEngine.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <system_error>
#include <utility>

#include "base/Number.h"
#include "base/Text.h"
#include "imaging/PhotoNaming.h"
#include "imaging/codec/PhotoHeader.h"
#include "platform/FileMove.h"
#include "scan/engine/LinkFilter.h"
#include "scan/engine/PhotoAnswer.h"
#include "scan/engine/ScanTexts.h"
#include "scan/engine/ThreadPriority.h"
#include "scan/markup/AddressRules.h"
#include "scan/markup/OptimizedAddresses.h"
#include "scan/store/DiskSpace.h"
#include "scan/store/RecordBytes.h"
#include "storage/DatabaseError.h"

namespace trawlix {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr auto kReportInterval = 50ms;
constexpr std::size_t kPhotosBetweenDiskChecks = 16;
constexpr int kBusyRetries = 3;
const char* const kKeptOut = "kept out by robots.txt";
const char* const kGivenUp =
    "its server asked for more than 5 minutes of pauses in all; its other addresses were left";

// Why an address the host policy turns away is not fetched.
const char* Refusal(HostPolicy::Verdict verdict) {
  return verdict == HostPolicy::Verdict::KeptOut ? kKeptOut : kGivenUp;
}

std::string FormatCount(std::size_t count) {
  return FormatThousands(static_cast<std::int64_t>(count));
}

// "1 photo was" / "12 photos were".
std::string PhotosWere(std::size_t count) {
  return FormatCount(count) + (count == 1 ? " photo was" : " photos were");
}

// A remembered page's links: one field per link, its first byte saying what it is.
constexpr char kLinksPage = 'U';
constexpr char kPageLink = 'P';
constexpr char kPhotoLink = 'I';
constexpr char kImageLink = 'M';  // an image element's address, photo or not by its answer
constexpr char kBaseHref = 'B';

// How long the loop sleeps when nothing can move; a transfer's end or a wake-up cuts it short.
constexpr auto kIdleWait = 100ms;

// Pages fetched ahead of the one being scanned: the next ones in the lists' order, as long
// as they stay within the prefetch budget.
std::size_t PagesAhead(int connections) {
  return static_cast<std::size_t>(16 * connections);
}

// Photos taken from the lists and downloading, or waiting for their turn to be stored.
std::size_t PhotosAhead(int connections) {
  return static_cast<std::size_t>(4 * connections + 4);
}

bool MakesCopies(const ProjectsRecord& project) {
  return project.autoCreateThumbnails || project.autoCreateMobile;
}

}  // namespace

ScanEngine::ScanEngine(EngineJob job, EngineEvents& events)
    : job_(std::move(job)),
      events_(events),
      copies_(MakesCopies(job_.project)
                  ? std::make_unique<CopyWorkers>(CopyWorkers::DefaultThreads())
                  : nullptr),
      store_(job_.project, job_.options, job_.scope.start.path, copies_.get()),
      memory_(job_.options.databasePath, job_.project.id, job_.scanGuid),
      pool_(job_.options.web, job_.cookies),
      policy_(job_.options.honourRobots, job_.options.hostPause, Connections(),
              job_.options.web.userAgent, Requests() - Connections()),
      links_(LinkSpill::PathFor(job_.options.databasePath, job_.project.id),
             job_.options.limits.linksInMemory) {
  if (job_.renderer != nullptr && job_.ui != nullptr && job_.render != RenderMode::Never)
    render_ = std::make_unique<RenderHandOff>(*job_.ui, *job_.renderer, [this] { pool_.Wakeup(); });
}

ScanEngine::~ScanEngine() {
  Stop();
  Join();
  render_.reset();  // before the pool its wake-up calls
}

bool ScanEngine::Start() {
  try {
    thread_ = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void ScanEngine::SetPaused(bool paused) {
  paused_ = paused;
  pool_.Wakeup();
}

void ScanEngine::Stop() {
  stop_ = 1;
  pool_.Wakeup();
}

void ScanEngine::Join() {
  if (thread_.joinable()) thread_.join();
}

int ScanEngine::Connections() const {
  return std::max(1, job_.options.web.connectionsPerHost);
}

// Requests handed to the network at once: one for each connection, and half as many again
// that wait their turn there, so that a connection takes its next request the moment its
// answer ends. Not when requests to a host are spaced out: each goes when its time comes.
int ScanEngine::Requests() const {
  return job_.options.hostPause.count() > 0 ? Connections() : Connections() * 3 / 2;
}

void ScanEngine::Run() {
  bool stopped = false;
  try {
    Start(stopped);
    bool moved = true;
    while (!(stopped = stop_.load() != 0)) {
      if (paused_.load()) {
        Hold();
        moved = true;
        continue;
      }
      Schedule();
      for (TransferResult& result : pool_.Run(moved ? 0ms : kIdleWait)) Deliver(std::move(result));
      KeepPrefetchInBudget();
      moved = ScanReadyPage();
      moved = StoreReadyPhotos() || moved;
      memory_.Flush(false);
      if (!saveProblem_.empty() || DiskIsLow()) {
        stopped = true;
        break;
      }
      if (!pagesDone_ && links_.PendingPages().empty() && !rendering_) {
        pagesDone_ = true;
        Report(true);
        events_.OnEnginePagesDone();
      }
      if (Finished()) break;
      Report(false);
    }
  } catch (const DatabaseError& error) {
    // The waiting addresses that did not fit in memory could not be written.
    Note("The scan stopped: the list of waiting addresses could not be written (" +
         std::string(error.what()) + ").");
    stopped = true;
  } catch (...) {
    // A failure of the machine (memory, threads) ends the run as a stop would.
    stopped = true;
  }
  CancelTransfers();
  DropDownloads();
  if (copies_) copies_->Drain();
  memory_.Flush(true);
  events_.OnEngineEnded(stopped, Snapshot());
}

void ScanEngine::Start(bool& stopped) {
  ApplyScanningPriority(job_.options.priority);
  if (!job_.scanGuid.empty()) memory_.Load();
  // A scan that starts on this computer or the local network may stay there; one that
  // starts on a public site may not be led into it.
  refuseLocalNetwork_ = job_.options.keepOffLocalNetwork && !IsOnLocalNetwork(job_.startURL);
  if (refuseLocalNetwork_) pool_.RefuseLocalNetwork();
  if (links_.AddPageLink(job_.startURL)) ++counts_.pagesFound;
  stopped = stop_.load() != 0;
  Report(true);
}

// Checked every few photos: a disk about to fill ends the scan cleanly, with its history.
bool ScanEngine::DiskIsLow() {
  if (++storesSinceDiskCheck_ < kPhotosBetweenDiskChecks) return false;
  storesSinceDiskCheck_ = 0;
  const std::uint64_t least = job_.options.limits.lowDiskBytes;
  if (QueryVolumeSpace(job_.project.saveTo).freeBytes >= least &&
      QueryVolumeSpace(job_.tempFolder).freeBytes >= least)
    return false;
  Note("The scan stopped because the disk is nearly full.");
  return true;
}

// False, with a note for the results, when one more link would pass the page's limit.
bool ScanEngine::WithinLimit(std::size_t ofPage, std::size_t perPage, const std::string& what) {
  if (ofPage < perPage) return true;
  Note("A page held more than " + FormatCount(perPage) + " " + what + "; the rest were left out.");
  return false;
}

void ScanEngine::Note(std::string note) {
  if (std::find(notes_.begin(), notes_.end(), note) == notes_.end())
    notes_.push_back(std::move(note));
}

void ScanEngine::Hold() {
  CancelTransfers();
  Report(true);
  while (paused_.load() && stop_.load() == 0) pool_.Run(kIdleWait);
}

// Pages come first: the scan cannot go on without the next one, and the ones after it are
// fetched ahead so that a page is ready when its turn comes; while pages wait, half the
// requests are kept for them. Photos take the others. Never more requests than Requests(),
// so that the next page never waits long behind photos already handed out.
void ScanEngine::Schedule() {
  const auto connections = static_cast<std::size_t>(Requests());
  std::size_t considered = 0;
  bool pagesWait = false;
  // With every request handed out, nothing below could go: the walk waits for a free one.
  const std::size_t walked = pool_.Active() < connections ? PagesAhead(Connections()) : 0;
  for (const std::string& url : links_.PendingPages()) {
    if (considered++ == walked) break;
    const bool next = considered == 1;
    if (pages_.contains(url) || ReplaysPage(url) || (!next && deferredPages_.contains(url)))
      continue;
    if (pool_.Active() >= connections ||
        (!next && prefetchedBytes_ + pool_.PageBytes() >= job_.options.limits.prefetchBytes)) {
      pagesWait = true;
      break;
    }
    const HostPolicy::Verdict verdict = Admit(url);
    if (verdict == HostPolicy::Verdict::KeptOut || verdict == HostPolicy::Verdict::GivenUp) {
      PageFetch refused;
      refused.done = true;
      refused.failure = Refusal(verdict);
      pages_.emplace(url, std::move(refused));
    } else if (verdict == HostPolicy::Verdict::Go) {
      SubmitPage(url, job_.options.skipRemembered ? memory_.Page(url) : std::nullopt);
    } else {
      pagesWait = pagesWait || next;
    }
  }
  const std::size_t kept = pagesWait ? connections / 2 : 0;
  FillPhotoSlots();
  for (std::size_t i = 0; i < photos_.size() && pool_.Active() + kept < connections; ++i) {
    PhotoSlot& slot = photos_[i];
    if (slot.requested) continue;
    const HostPolicy::Verdict verdict = Admit(slot.photo.url);
    if (verdict == HostPolicy::Verdict::KeptOut || verdict == HostPolicy::Verdict::GivenUp) {
      slot.requested = slot.done = true;
      slot.failure = Refusal(verdict);
    } else if (verdict == HostPolicy::Verdict::Go) {
      SubmitPhoto(i);
    }
  }
}

// A page this run scanned before it was stopped or killed gives its links again unfetched.
bool ScanEngine::ReplaysPage(const std::string& url) {
  const std::optional<RememberedPage> known = memory_.Page(url);
  if (!known || known->scanGuid != memory_.ScanGuid()) return false;
  PageFetch fetch;
  fetch.done = fetch.ok = fetch.replay = true;
  pages_.emplace(url, std::move(fetch));
  return true;
}

// Takes photos from the lists while there is room; those the memory knows are not fetched.
void ScanEngine::FillPhotoSlots() {
  while (photos_.size() < PhotosAhead(Connections())) {
    std::optional<PhotoUrlInfo> photo = links_.TakeNextPhoto();
    if (!photo) break;
    PhotoSlot slot;
    slot.photo = std::move(*photo);
    if (const std::optional<RememberedPhoto> known = memory_.Photo(slot.photo.url)) {
      if (known->scanGuid == memory_.ScanGuid())
        slot.known = Known::ThisScan;
      else if (job_.options.skipRemembered && known->outcome != PhotoOutcome::Refused)
        slot.known = Known::Earlier;
      if (slot.known != Known::No) {
        slot.remembered = *known;
        slot.requested = slot.done = true;
      }
    }
    photos_.push_back(std::move(slot));
  }
}

// With the minimum-size filter on, a photo whose header shows it too small is not fetched
// further.
HeadVerdict ScanEngine::CheckHead(std::string_view head) const {
  const PhotoHeader header = ReadPhotoHeader(head);
  switch (header.verdict) {
    case PhotoHeader::Verdict::NeedMore:
      return HeadVerdict::More;
    case PhotoHeader::Verdict::Unknown:
      return HeadVerdict::Keep;
    case PhotoHeader::Verdict::Size:
      break;
  }
  return PassesSizeFilter(job_.project, header.size) ? HeadVerdict::Keep : HeadVerdict::Refuse;
}

// An address that named no photo is kept only for a photo of a wanted format, and then
// judged by its size like any other.
HeadVerdict ScanEngine::CheckUnnamedHead(std::string_view head) const {
  const HeadVerdict format = JudgeUnnamedPhoto(job_.scope.formats, head);
  if (format != HeadVerdict::Keep || job_.project.filterMinimumSize != 1) return format;
  return CheckHead(head);
}

// Asks the host's robots.txt first, once; then whether the host takes the request now.
HostPolicy::Verdict ScanEngine::Admit(const std::string& url) {
  if (const std::optional<std::string> robots = policy_.RobotsToFetch(url)) {
    const std::uint64_t tag = nextTag_++ * 2;
    robotsTags_.emplace(tag, *robots);
    ++hostActive_[HostPolicy::HostOf(*robots)];
    TransferRequest request;
    request.tag = tag;
    request.url = *robots;
    request.maxBytes = RobotsRules::kMaxFileBytes;
    pool_.Submit(std::move(request));
  }
  return policy_.Check(url, hostActive_[HostPolicy::HostOf(url)], HostPolicy::Clock::now());
}

void ScanEngine::SubmitPage(const std::string& url, const std::optional<RememberedPage>& before) {
  const std::uint64_t tag = nextTag_++ * 2;
  deferredPages_.erase(url);
  pageTags_.emplace(tag, url);
  pages_.emplace(url, PageFetch{});
  Sending(url);
  TransferRequest request;
  request.tag = tag;
  request.url = url;
  request.referer = job_.scope.start.scheme + job_.scope.start.host;
  if (before) {
    request.etag = before->etag;
    request.lastModified = before->lastModified;
  }
  pool_.Submit(std::move(request));
}

void ScanEngine::SubmitPhoto(std::size_t index) {
  PhotoSlot& slot = photos_[index];
  const std::uint64_t tag = nextTag_++ * 2 + 1;
  const std::string name = DownloadFileName(slot.photo.fileName);
  slot.tempPath =
      job_.tempFolder + "/" + std::to_string(++downloads_) + fs::path(name).extension().string();
  slot.requested = true;
  photoTags_.emplace(tag, firstSlot_ + index);
  Sending(slot.photo.url);
  TransferRequest request;
  request.tag = tag;
  request.url = slot.photo.url;
  request.referer = slot.photo.pageURL;
  request.file = fs::path(slot.tempPath);
  if (slot.photo.byAnswer) {
    request.checkType = MayBePhotoType;
    request.checkHead = [this](std::string_view head) { return CheckUnnamedHead(head); };
  } else if (job_.project.filterMinimumSize) {
    request.checkHead = [this](std::string_view head) { return CheckHead(head); };
  }
  pool_.Submit(std::move(request));
}

// The first answer shows where the start host really is: one that came from a public
// address keeps the scan off the local network from then on, whatever the name resolved to
// when the scan started.
void ScanEngine::ConfirmLocalNetwork(const std::string& address) {
  if (localNetworkConfirmed_ || address.empty()) return;
  localNetworkConfirmed_ = true;
  if (refuseLocalNetwork_ || !job_.options.keepOffLocalNetwork || IsLocalNetworkAddress(address))
    return;
  refuseLocalNetwork_ = true;
  pool_.RefuseLocalNetwork();
}

// Pages arriving ahead of their turn may not outgrow the budget: past it, all but the next
// page are dropped and fetched again only when their turn comes, so each is dropped once.
void ScanEngine::KeepPrefetchInBudget() {
  if (prefetchedBytes_ + pool_.PageBytes() <= job_.options.limits.prefetchBytes) return;
  const std::string* next =
      links_.PendingPages().empty() ? nullptr : &*links_.PendingPages().begin();
  for (auto page = pageTags_.begin(); page != pageTags_.end();) {
    if (next != nullptr && EqualsNoCase(page->second, *next)) {
      ++page;
      continue;
    }
    pool_.Cancel(page->first);
    Ended(page->second);
    pages_.erase(page->second);
    deferredPages_.insert(page->second);
    page = pageTags_.erase(page);
  }
}

void ScanEngine::Sending(const std::string& url) {
  ++hostActive_[HostPolicy::HostOf(url)];
  policy_.Sent(url, HostPolicy::Clock::now());
}

void ScanEngine::Ended(const std::string& url) {
  std::size_t& active = hostActive_[HostPolicy::HostOf(url)];
  if (active > 0) --active;
}

// A host that answered 429 or 503 rests and is asked again, three times at most.
bool ScanEngine::Retries(const std::string& url, const TransferResult& result, int& attempts) {
  if (!result.busy || stop_.load() != 0 || ++attempts > kBusyRetries) return false;
  policy_.Busy(url, result.retryAfter, HostPolicy::Clock::now());
  return true;
}

void ScanEngine::Deliver(TransferResult result) {
  if (result.ok) counts_.bytes += result.bytes;
  ConfirmLocalNetwork(result.address);
  if (const auto robots = robotsTags_.find(result.tag); robots != robotsTags_.end()) {
    Ended(robots->second);
    policy_.RobotsArrived(robots->second, result.ok, result.text);
    robotsTags_.erase(robots);
    return;
  }
  if (const auto page = pageTags_.find(result.tag); page != pageTags_.end()) {
    const std::string url = page->second;
    pageTags_.erase(page);
    Ended(url);
    if (Retries(url, result, pageAttempts_[url])) {
      pages_.erase(url);
      return;
    }
    pageAttempts_.erase(url);
    // A page that grows without end (a compressed bomb among them) is read up to the cap.
    if (result.capped) {
      Note("Pages larger than " + std::to_string(job_.options.web.maxPageBytes >> 20) +
           " MB were read only that far.");
    }
    PageFetch& fetch = pages_[url];
    fetch.done = true;
    fetch.ok = result.ok;
    fetch.text = std::move(result.text);
    fetch.finalURL = std::move(result.finalURL);
    fetch.failure = std::move(result.failure);
    fetch.replay = result.notModified;
    fetch.etag = std::move(result.etag);
    fetch.lastModified = std::move(result.lastModified);
    fetch.bytes = result.bytes;
    prefetchedBytes_ += fetch.text.size();
    return;
  }
  if (const auto photo = photoTags_.find(result.tag); photo != photoTags_.end()) {
    PhotoSlot& slot = photos_[photo->second - firstSlot_];
    photoTags_.erase(photo);
    Ended(slot.photo.url);
    if (Retries(slot.photo.url, result, slot.attempts)) {
      slot.requested = false;
      RemoveFile(slot.tempPath);
      return;
    }
    if (!result.ok && !result.refused && !slot.photo.fallback.empty()) {
      // The original an optimizer named failed: the optimizer's own version is asked for.
      slot.photo.url = std::exchange(slot.photo.fallback, {});
      slot.photo.byAnswer = true;
      slot.requested = false;
      slot.attempts = 0;
      return;
    }
    slot.done = true;
    slot.ok = result.ok;
    slot.failure = std::move(result.failure);
    slot.refused = result.refused;
    slot.bytes = result.bytes;
    slot.hash = std::move(result.contentHash);
  }
}

bool ScanEngine::ScanReadyPage() {
  if (rendering_) return FinishRenderedPage();
  // Photos waiting in great number hold the pages back, so the queue stays bounded; the
  // order does not change.
  if (links_.PendingPages().empty() || links_.PendingPhotos() >= job_.options.limits.photosWaiting)
    return false;
  const auto fetch = pages_.find(*links_.PendingPages().begin());
  if (fetch == pages_.end() || !fetch->second.done) return false;
  PageFetch page = std::move(fetch->second);
  pages_.erase(fetch);
  prefetchedBytes_ -= page.text.size();
  const std::string url = *links_.TakeNextPage();
  ++counts_.pagesScanned;
  pageLinksOfPage_ = photoLinksOfPage_ = wantedPhotosOfPage_ = 0;
  if (page.replay) {
    ReplayPage(url, page);
  } else if (page.ok) {
    ScanFetchedPage(url, page);
  } else if (page.failure == kKeptOut) {
    ++keptOut_;
  } else {
    ++counts_.pagesFailed;
    events_.OnEngineFailure({true, url, page.failure});
    if (counts_.pagesScanned == 1) {
      startPageFailed_ = true;
      Note((job_.projectLink ? "The link " + url : std::string("The start page")) +
           " could not be downloaded: " + page.failure + ".");
    }
  }
  if (!rendering_) links_.EndPage();
  return true;
}

void ScanEngine::ScanFetchedPage(const std::string& url, PageFetch& page) {
  PreparePage(page.text);
  // Links are resolved against where the page really came from, after any redirect.
  const std::string& pageURL = page.finalURL.empty() ? url : page.finalURL;
  if (memory_.Active()) {
    recording_.emplace();
    Record(kLinksPage, pageURL);
  }
  ExtractLinks(page.text, pageURL, job_.scope.formats, *this, stop_);
  if (stop_.load() == 0 && WantsRendering(page.text)) {
    StartRendering(url, pageURL, page);
    return;
  }
  RememberScannedPage(url, std::move(page.etag), std::move(page.lastModified), page.bytes);
}

// A page cut short by a stop is not remembered: its links would be incomplete.
void ScanEngine::RememberScannedPage(const std::string& url, std::string etag,
                                     std::string lastModified, std::int64_t bytes) {
  if (recording_ && stop_.load() == 0) {
    memory_.Remember(RememberedPage{url, std::move(etag), std::move(lastModified), bytes,
                                    std::move(*recording_), memory_.ScanGuid()});
  }
  recording_.reset();
}

// Automatically, only a page whose markup has scripts and gave no photo the project wants:
// a page that shows its photos in its markup costs no more than before.
bool ScanEngine::WantsRendering(std::string_view markup) const {
  if (!render_) return false;
  if (job_.render == RenderMode::Always) return true;
  return wantedPhotosOfPage_ == 0 && ContainsNoCase(markup, "<script");
}

void ScanEngine::StartRendering(const std::string& url, const std::string& pageURL,
                                PageFetch& page) {
  rendering_ =
      RenderingPage{url, pageURL, std::move(page.etag), std::move(page.lastModified), page.bytes};
  RenderRequest request;
  request.url = pageURL;
  request.refuseLocalNetwork = refuseLocalNetwork_;
  // The page sees what the servers set so far, as a browser of this scan would.
  for (const Cookie& cookie : pool_.Cookies().List()) request.cookies.push_back(CookieLine(cookie));
  render_->Request(std::move(request));
}

// The rendered page's links join its static ones, where they would have been had the markup
// held them; then the page ends as any other.
bool ScanEngine::FinishRenderedPage() {
  std::optional<RenderResult> result = render_->Take();
  if (!result) return false;
  const RenderingPage page = std::move(*rendering_);
  rendering_.reset();
  if (result->ok) {
    ++counts_.pagesRendered;
    // What the page's scripts set goes with the requests for its photos.
    for (const std::string& line : result->cookies) {
      if (const std::optional<Cookie> cookie = ParseCookieLine(line)) pool_.Cookies().Add(*cookie);
    }
    for (const std::string& link : result->photoLinks) {
      if (stop_.load() != 0) break;
      // What the document shows as images is judged by the answer, as an image element is.
      OnPhotoLink(
          {true, true, page.pageURL, std::string_view(link).substr(0, LinkMessage::kMaxText)});
    }
    for (const std::string& link : result->pageLinks) {
      if (stop_.load() != 0) break;
      const std::string_view text = std::string_view(link).substr(0, LinkMessage::kMaxText);
      const bool photo = IsPhotoAnchor(job_.scope.formats, text);
      const LinkMessage message{photo, false, page.pageURL, text};
      if (photo) {
        OnPhotoLink(message);
      } else {
        OnPageLink(message);
      }
    }
  } else {
    ++renderFailures_;
  }
  RememberScannedPage(page.url, page.etag, page.lastModified, page.bytes);
  links_.EndPage();
  Report(true);
  return true;
}

void ScanEngine::Record(char kind, std::string_view text) {
  std::string field(1, kind);
  field.append(text);
  AppendField(*recording_, field);
}

// The links a page gave when it was last fetched, as if it had been scanned again: it did
// not change since (the server said so), or this run scanned it before it was interrupted.
void ScanEngine::ReplayPage(const std::string& url, const PageFetch& page) {
  const std::optional<std::string> links = memory_.PageLinks(url);
  const std::optional<RememberedPage> known = memory_.Page(url);
  if (!links || !known) {
    ++counts_.pagesFailed;
    events_.OnEngineFailure({true, url, "its remembered links could not be read"});
    return;
  }
  if (known->scanGuid == memory_.ScanGuid()) {
    counts_.bytes += known->bytes;  // fetched by the run this one resumes
  } else {
    memory_.Remember(
        RememberedPage{url, page.etag.empty() ? known->etag : page.etag,
                       page.lastModified.empty() ? known->lastModified : page.lastModified,
                       known->bytes, *links, memory_.ScanGuid()});
  }
  std::string_view rest = *links;
  std::string pageURL = url;
  while (const std::optional<std::string_view> field = ReadField(rest)) {
    if (stop_.load() != 0) break;
    if (field->empty()) continue;
    const std::string_view text = field->substr(1);
    switch (field->front()) {
      case kLinksPage:
        pageURL = std::string(text);
        break;
      case kPageLink:
        OnPageLink({false, false, pageURL, text});
        break;
      case kPhotoLink:
      case kImageLink:
        OnPhotoLink({true, field->front() == kImageLink, pageURL, text});
        break;
      case kBaseHref:
        OnBaseHref(text);
        break;
      default:
        break;
    }
  }
}

// Stores at most one downloaded photo per turn of the loop, so that the connections it
// frees get their next requests before the next photo's file work; photos skipped or
// counted from memory cost nothing and are taken together.
bool ScanEngine::StoreReadyPhotos() {
  bool stored = false;
  bool written = false;
  while (!written && !photos_.empty() && photos_.front().done && stop_.load() == 0 &&
         !paused_.load() && saveProblem_.empty()) {
    const PhotoSlot slot = std::move(photos_.front());
    photos_.pop_front();
    ++firstSlot_;
    ++counts_.photosProcessed;
    stored = true;
    if (slot.known != Known::No) {
      CountKnownPhoto(slot);
      continue;
    }
    if (!slot.ok) {
      ++counts_.photosSkipped;
      if (slot.refused) {
        RememberPhoto(slot, PhotoOutcome::Refused, {});
        continue;
      }
      if (slot.failure == kKeptOut) {
        ++keptOut_;
        continue;
      }
      ++counts_.photosFailed;
      events_.OnEngineFailure({false, slot.photo.url, slot.failure});
      continue;
    }
    StorePhoto(slot);
    written = true;
  }
  return stored;
}

// A photo the memory knew: one an earlier scan saved is skipped; one the run this one
// resumes dealt with counts as it did then.
void ScanEngine::CountKnownPhoto(const PhotoSlot& slot) {
  if (slot.known == Known::Earlier) {
    ++counts_.photosSkipped;
    ++alreadyThere_;
    return;
  }
  counts_.bytes += slot.remembered.bytes;
  switch (slot.remembered.outcome) {
    case PhotoOutcome::Saved:
      ++counts_.photosSaved;
      break;
    case PhotoOutcome::Replaced:
      break;
    case PhotoOutcome::Duplicate:
      ++sameContent_;
      ++counts_.photosSkipped;
      break;
    case PhotoOutcome::Refused:
      ++counts_.photosSkipped;
      break;
  }
}

void ScanEngine::StorePhoto(const PhotoSlot& slot) {
  // The same bytes under another address are not saved twice.
  const std::optional<RememberedPhoto> same = slot.hash.empty() || !job_.options.skipRemembered
                                                  ? std::nullopt
                                                  : memory_.SameContent(slot.hash);
  if (same && !EqualsNoCase(same->url, slot.photo.url)) {
    RemoveFile(slot.tempPath);
    ++counts_.photosSkipped;
    ++sameContent_;
    RememberPhoto(slot, PhotoOutcome::Duplicate, same->path);
    return;
  }
  const StoredPhoto result = store_.Store(slot.tempPath, slot.photo);
  if (result.kind == StoredPhoto::Kind::WriteFailed) {
    // Every photo after it would fail the same way: the scan stops, and may be resumed.
    ++counts_.photosFailed;
    saveProblem_ = SaveFailedNote(result.path, result.problem);
    Note(saveProblem_);
    return;
  }
  if (result.kind == StoredPhoto::Kind::Skipped) {
    ++counts_.photosSkipped;
    RememberPhoto(slot, PhotoOutcome::Refused, {});
    return;
  }
  const bool saved = result.kind == StoredPhoto::Kind::Saved;
  if (saved) ++counts_.photosSaved;
  RememberPhoto(slot, saved ? PhotoOutcome::Saved : PhotoOutcome::Replaced, result.path);
  events_.OnEnginePhotoSaved(result.path);
  Report(false);
}

void ScanEngine::RememberPhoto(const PhotoSlot& slot, PhotoOutcome outcome,
                               const std::string& path) {
  memory_.Remember(RememberedPhoto{slot.photo.url, slot.ok ? slot.bytes : 0, slot.hash, path,
                                   outcome, memory_.ScanGuid()});
}

bool ScanEngine::Finished() const {
  return pagesDone_ && !rendering_ && pages_.empty() && photos_.empty() &&
         !links_.HasPendingPhoto() && pool_.Active() == 0;
}

// Transfers in flight end; their pages and photos are fetched again if the scan goes on.
void ScanEngine::CancelTransfers() {
  pool_.CancelAll();
  hostActive_.clear();
  for (const auto& [tag, url] : robotsTags_) policy_.RobotsArrived(url, false, {});
  robotsTags_.clear();
  for (const auto& [tag, url] : pageTags_) pages_.erase(url);
  pageTags_.clear();
  for (const auto& [tag, slot] : photoTags_) photos_[slot - firstSlot_].requested = false;
  photoTags_.clear();
}

// Downloads that were never stored leave nothing behind.
void ScanEngine::DropDownloads() {
  for (const PhotoSlot& slot : photos_) {
    if (slot.done && slot.ok) RemoveFile(slot.tempPath);
  }
  photos_.clear();
}

EngineReport ScanEngine::Snapshot() const {
  EngineReport report;
  report.counts = counts_;
  report.counts.seconds =
      std::chrono::duration_cast<std::chrono::seconds>(pool_.BusyTime()).count();
  report.pagesFound = static_cast<std::int64_t>(links_.PageCount());
  report.photosFound = static_cast<std::int64_t>(links_.PhotoCount());
  report.notes = notes_;
  if (keptOut_ > 0) {
    report.notes.push_back("robots.txt kept " + FormatCount(keptOut_) +
                           (keptOut_ == 1 ? " link out." : " links out."));
  }
  if (alreadyThere_ > 0) {
    report.notes.push_back(PhotosWere(alreadyThere_) +
                           " saved by earlier scans and not fetched again.");
  }
  if (counts_.pagesRendered > 0) {
    report.notes.push_back(FormatCount(static_cast<std::size_t>(counts_.pagesRendered)) +
                           (counts_.pagesRendered == 1 ? " page was" : " pages were") +
                           " rendered to find the photos scripts show.");
  }
  if (renderFailures_ > 0) {
    report.notes.push_back(FormatCount(renderFailures_) +
                           (renderFailures_ == 1 ? " page" : " pages") +
                           " could not be rendered; only the markup was scanned.");
  }
  if (sameContent_ > 0) {
    report.notes.push_back(PhotosWere(sameContent_) +
                           " the same as photos already saved and not saved again.");
  }
  report.restingHost = policy_.Resting(HostPolicy::Clock::now());
  report.startPageFailed = startPageFailed_;
  report.saveProblem = saveProblem_;
  return report;
}

void ScanEngine::Report(bool force) {
  const auto now = std::chrono::steady_clock::now();
  if (!force && now - lastReport_ < kReportInterval) return;
  lastReport_ = now;
  events_.OnEngineProgress(Snapshot());
}

void ScanEngine::OnPageLink(const LinkMessage& link) {
  if (recording_) Record(kPageLink, link.linkText);
  std::optional<std::string> url =
      AcceptPageLink(link.pageURL, link.linkText, LinkKind::Page, job_.scope);
  if (!url) return;
  RemoveAll(*url, '\r');
  RemoveAll(*url, '\n');
  const ScanLimits& limits = job_.options.limits;
  if (!WithinLimit(pageLinksOfPage_, limits.pageLinksPerPage, "links to pages")) return;
  if (links_.AddPageLink(*url)) {
    ++counts_.pagesFound;
    ++pageLinksOfPage_;
  }
}

void ScanEngine::OnPhotoLink(const LinkMessage& link) {
  if (recording_) Record(link.image ? kImageLink : kPhotoLink, link.linkText);
  const std::string_view base = baseHref_.empty() ? link.pageURL : baseHref_;
  std::optional<PhotoLink> photo = AcceptPhotoLink(
      link.linkText, base, job_.scope, link.image ? PhotoSource::Image : PhotoSource::Link);
  if (!photo) return;
  ++wantedPhotosOfPage_;
  std::string fallback = OptimizedInstead(*photo, base);
  const ScanLimits& limits = job_.options.limits;
  if (!WithinLimit(photoLinksOfPage_, limits.photoLinksPerPage, "photos")) return;
  if (links_.AddPhotoLink({std::move(photo->url), std::move(photo->fileName),
                           std::string(link.pageURL), photo->byAnswer, std::move(fallback)})) {
    ++counts_.photosFound;
    ++photoLinksOfPage_;
  }
}

// An image optimizer's address is replaced by the original it names, which is larger; the
// optimizer's address is returned, to be fetched when the original fails. Empty for others.
std::string ScanEngine::OptimizedInstead(PhotoLink& photo, std::string_view base) {
  const std::optional<std::string> original = OptimizedOriginal(photo.url);
  if (!original) return {};
  std::optional<PhotoLink> named = AcceptPhotoLink(*original, base, job_.scope, PhotoSource::Image);
  if (!named) return {};
  std::swap(photo, *named);
  return std::move(named->url);
}

void ScanEngine::OnBaseHref(std::string_view href) {
  if (recording_) Record(kBaseHref, href);
  baseHref_ = std::string(href);
}

}  // namespace trawlix
