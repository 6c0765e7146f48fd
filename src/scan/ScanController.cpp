#include "scan/ScanController.h"

#include <chrono>
#include <filesystem>
#include <system_error>

#include "base/Guid.h"
#include "base/Text.h"
#include "platform/DataFolderLayout.h"
#include "scan/DiskSpace.h"
#include "scan/Keywords.h"
#include "scan/LinkFilter.h"
#include "scan/PageScanner.h"
#include "scan/ScanRecords.h"
#include "scan/ScanTexts.h"
#include "scan/SocialNetwork.h"
#include "scan/URLResolver.h"
#include "storage/DateText.h"
#include "storage/ScanHistoryTable.h"

namespace trawlix {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr auto kWorkerTimerDelay = 500ms;

PhotoFormats FormatsOf(const CProjectsRecord& project) {
  PhotoFormats formats;
  formats.jpeg = project.m_nJPEG == 1;
  formats.png = project.m_nPNG == 1;
  formats.gif = project.m_nGIF == 1;
  formats.bmp = project.m_nBMP == 1;
  formats.tif = project.m_nTIF == 1;
  return formats;
}

bool IsFolder(const std::string& path) {
  std::error_code error;
  return !path.empty() && fs::is_directory(path, error);
}

void CreateFolder(const std::string& path) {
  std::error_code ignored;
  if (!path.empty()) fs::create_directories(path, ignored);
}

}  // namespace

ScanController::ScanController(UiThread& ui, MessageSink& messages, ScanObserver& observer)
    : ui_(ui), messages_(messages), observer_(observer) {}

ScanController::~ScanController() {
  // Workers may be blocked in a call to this thread: keep serving them while they stop, but
  // end no scan on the way out.
  destroying_ = true;
  WaitForWorker(photoBlock_, true);
  WaitForWorker(pageBlock_, true);
  KillScanTimers();
}

// ---------------------------------------------------------------------------------------------
// Starting

bool ScanController::PrepareFolders() {
  if (!CheckFreeDiskSpace(project_.m_lpszSaveTo, messages_)) return false;
  if (project_.m_nAutoCreateThumbnails == 1) CreateFolder(project_.m_lpszThumbnailSaveTo);
  if (project_.m_nAutoCreateMobile == 1) CreateFolder(project_.m_lpszMobileSaveTo);
  return true;
}

// New download objects per scan, so changed options (user agent, time-out) take effect.
void ScanController::CreateWebFiles() {
  pageWeb_ = std::make_unique<CXWebFile>(options_.web);
  photoWeb_ = std::make_unique<CXWebFile>(options_.web);
}

void ScanController::ResetLinkState() {
  links_.Clear();
  baseHref_.clear();
  counters_.Reset();
  scope_ = ScanScope{};
  scope_.projectURL = Trim(project_.m_lpszURL);
  scope_.formats = FormatsOf(project_);
  scope_.searchSubFolders = project_.m_nSearchSubFolders == 1;
  scope_.keywordMustExist = project_.m_nKeywordMustExist == 1;
  ParseCommaList(project_.m_lpszKeywords, scope_.keywords);
  ParseCommaList(options_.filesToIgnore, scope_.skipList);
  pageWeb_->OpenSession();
  photoWeb_->OpenSession();
  stopped_ = false;
  finished_ = false;
  pageWorkerId_ = 0;
  photoWorkerId_ = 0;
}

bool ScanController::StartScan(const CProjectsRecord& project, const ScanOptions& options) {
  if (scanning_ || HasWorker()) return false;
  project_ = project;
  options_ = options;
  CreateFolder(options_.tempFolder);
  EmptyFolderOfFiles(options_.tempFolder);
  if (!CheckFreeDiskSpace(project_.m_lpszSaveTo, messages_)) return false;
  scanTimer_.Start();
  CreateFolder(project_.m_lpszSaveTo);
  if (project_.m_nAutoCreateThumbnails == 1) CreateFolder(project_.m_lpszThumbnailSaveTo);
  if (project_.m_nAutoCreateMobile == 1) CreateFolder(project_.m_lpszMobileSaveTo);
  if (!IsFolder(project_.m_lpszSaveTo)) {
    scanTimer_.Stop();
    messages_.Inform("Please choose a folder to save the photos...");
    return false;
  }
  CreateWebFiles();
  idle_ = false;
  multiLink_ = false;
  stopRequested_ = false;
  totals_ = {};
  historyRows_.clear();
  resultsText_.clear();
  ResetLinkState();
  follow_ = options_.autoFollow;
  if (StartPageScanner(project_.m_lpszURL)) return true;
  scanTimer_.Stop();
  idle_ = true;
  return false;
}

bool ScanController::StartMultiLinkScan(const CProjectsRecord& project, const ScanOptions& options,
                                        const std::vector<int>& linkIds, LinkOrder order) {
  if (scanning_ || HasWorker()) return false;
  project_ = project;
  options_ = options;
  if (!CheckFreeDiskSpace(project_.m_lpszSaveTo, messages_)) return false;
  multiLink_ = true;
  linkQueue_.clear();
  for (const CProjectLinksRecord& link :
       LoadLinksForScan(options_.databasePath, linkIds, order, messages_))
    linkQueue_.push_back({link.m_lpszURL, link.m_nSearchSubFolders, link.m_nKeywordMustExist,
                          link.m_lpszKeywords, link.m_nId});
  nextLink_ = 0;
  CreateFolder(options_.tempFolder);
  EmptyFolderOfFiles(options_.tempFolder);
  CreateFolder(project_.m_lpszSaveTo);
  if (!IsFolder(project_.m_lpszSaveTo)) {
    multiLink_ = false;
    messages_.Inform("Please choose a folder to save the photos...");
    return false;
  }
  CreateWebFiles();
  idle_ = false;
  stopRequested_ = false;
  totals_ = {};
  historyRows_.clear();
  resultsText_.clear();
  follow_ = options_.autoFollow;
  scanTimer_.Start();
  if (StartNextProjectLink()) return true;
  multiLink_ = false;
  idle_ = true;
  scanTimer_.Stop();
  return false;
}

bool ScanController::StartNextProjectLink() {
  if (nextLink_ >= linkQueue_.size()) {
    currentLinkURL_.clear();
    return false;
  }
  const CScanInfo link = linkQueue_[nextLink_];
  const std::size_t number = ++nextLink_;
  if (!PrepareFolders()) {
    currentLinkURL_.clear();
    return false;
  }
  project_.m_nSearchSubFolders = link.searchSubFolders;
  project_.m_nKeywordMustExist = link.keywordMustExist;
  project_.m_lpszKeywords = link.keywords;
  observer_.OnLinkStarted(Format("URL #%d of %d:  %s", static_cast<int>(number),
                                 static_cast<int>(linkQueue_.size()), link.url.c_str()));
  ResetLinkState();
  currentLinkURL_ = link.url;
  if (scanTimer_.IsPaused()) scanTimer_.Resume();
  linkTimer_.Start();
  return StartPageScanner(link.url);
}

bool ScanController::StartPageScanner(const std::string& startURL) {
  SetPhase(ScanProgress::Phase::Starting);
  const std::string url = Trim(startURL);
  idle_ = false;
  DetectSocialScan(url, scope_.social);
  const std::string resolved = ResolveURL("", url, scope_);
  scope_.start = CXURLParts(resolved);
  if (links_.AddPageLink(resolved)) ++counters_.pagesFound;
  pageWorkerId_ = ++lastWorkerId_;
  pageBlock_.stop = 0;
  pageBlock_.hold = paused_;
  pageBlock_.end = WorkerEnd::Running;
  PageJob job{scope_.formats, scope_.start.scheme + scope_.start.host, options_.priority,
              pageWorkerId_};
  try {
    pageBlock_.thread =
        std::thread([this, job] { PageScannerThread(job, *this, *this, pageBlock_, *pageWeb_); });
  } catch (const std::system_error&) {
    MessageRequest request{"Couldn't start ScanPage Thread..."};
    request.icon = MessageIcon::None;
    messages_.Show(request);
    return false;
  }
  scanning_ = true;
  observer_.OnScanStateChanged();
  return true;
}

int ScanController::OnStartPhotoProcessor() {
  if (PhotoProcessorRuns() || stopRequested_ || finished_ || destroying_) return 0;
  // A processor that ran out of photos and ended is joined now rather than after its timer:
  // new photos need not wait for it.
  WaitForWorker(photoBlock_, false);
  photoWorkerId_ = ++lastWorkerId_;
  photoBlock_.stop = 0;
  photoBlock_.hold = paused_;
  photoBlock_.end = WorkerEnd::Running;
  PhotoJob job{project_, options_, scope_.start.path, photoWorkerId_};
  try {
    photoBlock_.thread = std::thread(
        [this, job] { PhotoProcessorThread(job, *this, photoBlock_, *photoWeb_, counters_); });
  } catch (const std::system_error&) {
    MessageRequest request{"Couldn't start ProcessPhoto Thread..."};
    request.icon = MessageIcon::None;
    messages_.Show(request);
  }
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Pause and stop

void ScanController::TogglePause() {
  if (!HasWorker()) return;
  paused_ = !paused_;
  for (CXTaskTimer* timer : {&scanTimer_, &linkTimer_}) {
    if (timer == &linkTimer_ && !multiLink_) continue;
    if (paused_)
      timer->Pause();
    else
      timer->Resume();
  }
  pageBlock_.hold = paused_;
  photoBlock_.hold = paused_;
  ReportProgress();
  observer_.OnScanStateChanged();
}

void ScanController::Stop() {
  if (!HasWorker()) return;
  stopRequested_ = true;
  SetPhase(ScanProgress::Phase::Stopping);
  for (ScanThreadBlock* block : {&pageBlock_, &photoBlock_}) {
    if (!block->HasThread()) continue;
    block->stop = 1;
    std::this_thread::sleep_for(2ms);
    ui_.Pump();
  }
}

// ---------------------------------------------------------------------------------------------
// Messages

int ScanController::FilePageLink(const LinkMessage* message) {
  if (message == nullptr) return -1;
  std::optional<std::string> url =
      AcceptPageLink(message->pageURL, message->linkText, LinkKind::Page, scope_);
  if (url) {
    RemoveAll(*url, '\r');
    RemoveAll(*url, '\n');
    if (links_.AddPageLink(*url)) {
      ++counters_.pagesFound;
      OnPageProgress();
    }
  }
  return 0;
}

int ScanController::FilePhotoLink(const LinkMessage* message) {
  if (message == nullptr) return -1;
  const std::string_view base = baseHref_.empty() ? message->pageURL : baseHref_;
  const std::optional<PhotoLink> photo = AcceptPhotoLink(message->linkText, base, scope_);
  if (photo) {
    CXPhotoURLInfo info;
    info.url = photo->url;
    info.sortKey = photo->url;
    info.fileName = photo->fileName;
    info.pageURL = std::string(message->pageURL);
    if (links_.AddPhotoLink(std::move(info))) {
      ++counters_.photosFound;
      OnPhotoProgress();
    }
  }
  return 0;
}

int ScanController::OnNextPage(int /*requestIndex*/, std::string& url) {
  const std::optional<CXLinkInfo> page = links_.TakeNextPage();
  if (!page) return -1;
  url = page->url;
  ++counters_.pagesScanned;
  OnPageProgress();
  return static_cast<int>(url.size());
}

int ScanController::OnNextPhoto(int /*requestIndex*/, NextPhotoRequest& request) {
  const std::optional<CXPhotoURLInfo> photo = links_.TakeNextPhoto();
  if (!photo) return -1;
  request.pageURL = photo->pageURL.substr(0, NextPhotoRequest::kURLLimit);
  request.photoURL = photo->url;
  request.fileName = photo->fileName.substr(0, NextPhotoRequest::kFileNameLimit);
  OnPhotoProgress();
  return static_cast<int>(request.pageURL.size() + request.photoURL.size() +
                          request.fileName.size());
}

int ScanController::OnPhotoSaved(const std::string* path) {
  if (path == nullptr) return -1;
  observer_.OnPhotoSaved(*path);
  return 1;
}

ScanProgress ScanController::Progress() const {
  ScanProgress progress;
  progress.phase = phase_;
  if (paused_ && phase_ != ScanProgress::Phase::Stopping && phase_ != ScanProgress::Phase::Ended)
    progress.phase = ScanProgress::Phase::Paused;
  const ScanCounts c = counters_.Snapshot();
  progress.pagesScanned = c.pagesScanned;
  progress.pagesTotal = static_cast<std::int64_t>(links_.PageCount());
  progress.photosFound = static_cast<std::int64_t>(links_.PhotoCount());
  progress.photosProcessed = c.photosProcessed;
  progress.photosSaved = c.photosSaved;
  if (multiLink_) {
    progress.photosFound += totals_.photosProcessed;
    progress.photosProcessed += totals_.photosSkipped + totals_.photosSaved;
    progress.photosSaved += totals_.photosSaved;
  }
  progress.elapsed = scanTimer_.ElapsedText();
  progress.multiLink = multiLink_;
  return progress;
}

void ScanController::SetPhase(ScanProgress::Phase phase) {
  phase_ = phase;
  ReportProgress();
}

void ScanController::ReportProgress() {
  observer_.OnProgress(Progress());
}

int ScanController::OnPhotoProgress() {
  ReportProgress();
  return 0;
}

int ScanController::OnPageProgress() {
  if (phase_ == ScanProgress::Phase::Starting && counters_.pagesScanned > 0)
    phase_ = ScanProgress::Phase::ScanningPages;
  ReportProgress();
  return 0;
}

int ScanController::OnTransfer(std::int64_t seconds, std::int64_t bytes) {
  counters_.seconds += seconds;
  counters_.bytes += bytes;
  return 0;
}

// ---------------------------------------------------------------------------------------------
// The workers' side: each call runs on the UI thread while the worker waits.

int ScanController::NextPage(int requestIndex, std::string& url) {
  int result = -1;
  ui_.Send([&] { result = OnNextPage(requestIndex, url); });
  return result;
}

int ScanController::NextPhoto(int requestIndex, NextPhotoRequest& request) {
  int result = -1;
  ui_.Send([&] { result = OnNextPhoto(requestIndex, request); });
  return result;
}

int ScanController::PhotoSaved(const std::string& path) {
  int result = -1;
  ui_.Send([&] { result = OnPhotoSaved(&path); });
  return result;
}

int ScanController::RefreshPhotoProgress() {
  ui_.Send([&] { OnPhotoProgress(); });
  return 0;
}

int ScanController::RefreshPageProgress() {
  ui_.Send([&] { OnPageProgress(); });
  return 0;
}

int ScanController::ReportTransfer(std::int64_t seconds, std::int64_t bytes) {
  ui_.Send([&] { OnTransfer(seconds, bytes); });
  return 0;
}

bool ScanController::StartPhotoProcessorIfPhotosWait() {
  bool started = false;
  ui_.Send([&] {
    if (PhotoProcessorRuns() || !PhotosWait()) return;
    OnStartPhotoProcessor();
    started = PhotoProcessorRuns();
  });
  return started;
}

void ScanController::ArmWorkerTimer(int timerId, std::uint64_t workerId) {
  ui_.SetTimer(timerId, kWorkerTimerDelay,
               [this, timerId, workerId] { OnTimer(timerId, workerId); });
}

void ScanController::OnPageLink(const LinkMessage& link) {
  ui_.Send([&] { FilePageLink(&link); });
}

void ScanController::OnPhotoLink(const LinkMessage& link) {
  ui_.Send([&] { FilePhotoLink(&link); });
}

void ScanController::OnBaseHref(std::string_view href) {
  ui_.Send([&] { baseHref_ = std::string(href); });
}

// ---------------------------------------------------------------------------------------------
// Timers and the end of a scan

bool ScanController::PhotoProcessorRuns() const {
  return photoBlock_.HasThread() && photoBlock_.end.load() == WorkerEnd::Running;
}

bool ScanController::PhotosWait() const {
  return links_.HasPendingPhoto();
}

void ScanController::WaitForWorker(ScanThreadBlock& block, bool askToStop) {
  if (!block.HasThread()) return;
  if (askToStop) block.stop = 1;
  // The worker may be waiting in a call to this thread: serve calls until it has ended.
  while (block.end.load() == WorkerEnd::Running) {
    ui_.Pump();
    std::this_thread::sleep_for(2ms);
  }
  block.thread.join();
  block.stop = 0;
  block.hold = false;
}

void ScanController::KillScanTimers() {
  for (int id : {kTimerWorkerStopped, kTimerPhotosFinished, kTimerPagesFinished}) ui_.KillTimer(id);
}

void ScanController::OnTimer(int timerId, std::uint64_t workerId) {
  if (finished_ || destroying_) return;
  if (workerId == 0 || (workerId != pageWorkerId_ && workerId != photoWorkerId_)) return;
  if (inTimer_) {
    // A handler is waiting for a worker and serving calls meanwhile: come back later
    // rather than run two handlers into each other.
    ui_.SetTimer(timerId, 20ms, [this, timerId, workerId] { OnTimer(timerId, workerId); });
    return;
  }
  inTimer_ = true;
  switch (timerId) {
    case kTimerPagesFinished:
      WaitForWorker(pageBlock_, true);
      if (!PhotoProcessorRuns()) {
        if (!PhotosWait() || stopRequested_) {
          FinishScan();
          break;
        }
        OnStartPhotoProcessor();
      }
      if (phase_ != ScanProgress::Phase::Stopping) SetPhase(ScanProgress::Phase::ProcessingPhotos);
      break;
    case kTimerPhotosFinished:
      WaitForWorker(photoBlock_, false);
      if (pageBlock_.HasThread()) break;
      // Photos filed after the processor asked for its last one would be lost otherwise.
      if (PhotosWait() && !stopRequested_)
        OnStartPhotoProcessor();
      else
        FinishScan();
      break;
    case kTimerWorkerStopped:
      if (stopped_) break;
      stopped_ = true;
      WaitForWorker(pageBlock_, true);
      WaitForWorker(photoBlock_, true);
      observer_.OnScanStateChanged();
      FinishScan();
      break;
    default:
      break;
  }
  inTimer_ = false;
}

std::string ScanController::ScannedURL() const {
  return multiLink_ ? currentLinkURL_ : Trim(project_.m_lpszURL);
}

void ScanController::FinishScan() {
  if (finished_) return;
  finished_ = true;
  KillScanTimers();
  CXTaskTimer& timer = multiLink_ ? linkTimer_ : scanTimer_;
  if (multiLink_) {
    scanTimer_.Pause();
    linkTimer_.Stop();
  } else {
    scanTimer_.Stop();
  }
  const ScanCounts counts = counters_.Snapshot();
  const std::string date = TodayDateText();
  WriteHistoryRow(counts, ScannedURL(), timer.ElapsedText(), timer.ElapsedSeconds(), date);
  WriteProjectLinkRow(counts, date);

  if (multiLink_) {
    totals_.pagesFound += static_cast<std::int64_t>(links_.PageCount());
    totals_.photosProcessed += counts.photosProcessed;
    totals_.photosSkipped += counts.photosSkipped;
    totals_.photosSaved += counts.photosSaved;
    totals_.bytes += counts.bytes;
    totals_.seconds += counts.seconds;
    if (!stopped_ && !stopRequested_ && StartNextProjectLink()) return;
  }
  ShowResultsAndEnd();
}

void ScanController::WriteHistoryRow(const ScanCounts& counts, const std::string& url,
                                     const std::string& time, std::int64_t elapsedSeconds,
                                     const std::string& date) {
  CScanHistoryRecord row;
  row.m_nProjectId = project_.m_nId;
  row.m_lpszScanDate = date;
  row.m_lpszTotalTime = time;
  row.m_lpszURL = url;
  row.m_nPages = static_cast<int>(links_.PageCount());
  row.m_nTotalImages = static_cast<int>(links_.PhotoCount());
  row.m_nSavedImages = static_cast<int>(counts.photosSaved);
  row.m_nSkippedImages = static_cast<int>(counts.photosSkipped);
  row.m_nStatus = 1;
  row.m_nType = 0;
  row.m_nSearchSubFolders = project_.m_nSearchSubFolders;
  row.m_nTotalTimeInSeconds = static_cast<int>(elapsedSeconds);
  row.m_nTransferTimeInSeconds = static_cast<int>(counts.seconds);
  row.m_nTotalBytes = static_cast<int>(counts.bytes);
  NewGUIDString(row.m_lpszGUID);
  const std::optional<CScanHistoryRecord> stored =
      AddScanHistory(options_.databasePath, messages_, row, options_.onlySuccessfulScansInHistory);
  if (stored) observer_.OnHistoryRowAdded(*stored);
  historyRows_.push_back(stored.value_or(row));
}

void ScanController::WriteProjectLinkRow(const ScanCounts& counts, const std::string& date) {
  const int saved = static_cast<int>(counts.photosSaved);
  if (multiLink_) {
    const CScanInfo& link = linkQueue_[nextLink_ - 1];
    SetLinkPhotos(options_.databasePath, link.id, project_.m_nId, saved, messages_);
  } else {
    RecordScannedLink(options_.databasePath, project_, Trim(project_.m_lpszURL), date, saved,
                      messages_);
  }
  observer_.OnProjectLinksChanged();
}

void ScanController::ShowResultsAndEnd() {
  scanTimer_.Stop();
  WaitForWorker(pageBlock_, true);
  WaitForWorker(photoBlock_, true);
  ScanResults results;
  results.title = project_.m_lpszTitle;
  results.processingTime = scanTimer_.ElapsedText();
  if (multiLink_) {
    results.pages = totals_.pagesFound;
    results.processed = totals_.photosProcessed;
    results.saved = totals_.photosSaved;
    results.skipped = totals_.photosSkipped;
    results.bytes = totals_.bytes;
    results.seconds = totals_.seconds;
  } else {
    const ScanCounts c = counters_.Snapshot();
    results.url = Trim(project_.m_lpszURL);
    results.pages = static_cast<std::int64_t>(links_.PageCount());
    results.processed = c.photosProcessed;
    results.saved = c.photosSaved;
    results.skipped = c.photosSkipped;
    results.bytes = c.bytes;
    results.seconds = c.seconds;
  }
  resultsText_ = ResultsText(results, multiLink_);
  SetPhase(ScanProgress::Phase::Ended);
  if (options_.showResults) observer_.ShowResults(resultsText_);
  scanning_ = false;
  paused_ = false;
  idle_ = true;
  ui_.Pump();
  observer_.OnScanStateChanged();
  observer_.OnScanEnded(resultsText_);
}

}  // namespace trawlix
