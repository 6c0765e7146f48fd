#include "scan/engine/ScanController.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "base/Guid.h"
#include "base/Text.h"
#include "platform/FolderLock.h"
#include "platform/ProcessTempFolder.h"
#include "platform/WritableFolder.h"
#include "scan/engine/ScanTexts.h"
#include "scan/markup/Keywords.h"
#include "scan/markup/SocialNetwork.h"
#include "scan/markup/URLResolver.h"
#include "scan/store/DiskSpace.h"
#include "scan/store/ScanRecords.h"
#include "storage/DateText.h"
#include "storage/ProjectFolderCheck.h"
#include "storage/ProjectRendering.h"
#include "storage/RememberedData.h"
#include "storage/ScanHistoryTable.h"

namespace trawlix {

namespace fs = std::filesystem;

namespace {

PhotoFormats FormatsOf(const ProjectsRecord& project) {
  PhotoFormats formats;
  formats.jpeg = project.jpeg;
  formats.png = project.png;
  formats.gif = project.gif;
  formats.bmp = project.bmp;
  formats.tif = project.tif;
  // With the minimum-size filter on, a thumbnail linked to its full photo yields the photo.
  formats.largeOnly = project.filterMinimumSize;
  return formats;
}

void CreateFolder(const std::string& path) {
  std::error_code ignored;
  if (!path.empty()) fs::create_directories(path, ignored);
}

}  // namespace

ScanController::ScanController(UiThread& ui, MessageSink& messages, ScanObserver& observer)
    : ui_(ui), messages_(messages), observer_(observer) {}

ScanController::~ScanController() {
  // End the engine without ending the scan: no rows, no results on the way out. What it
  // posted meanwhile is handled (and ignored) before this object goes.
  destroying_ = true;
  engine_.reset();
  ui_.Pump();
}

// ---------------------------------------------------------------------------------------------
// The engine's posts

void ScanController::EngineRelay::Post(std::function<void(ScanController&)> call) {
  ScanController& controller = controller_;
  controller.ui_.Post([&controller, run = run_, call = std::move(call)] {
    if (controller.IsCurrent(run)) call(controller);
  });
}

void ScanController::EngineRelay::OnEngineProgress(const EngineReport& report) {
  Post([report](ScanController& c) { c.OnEngineProgress(report); });
}

void ScanController::EngineRelay::OnEnginePhotoSaved(const std::string& path) {
  Post([path](ScanController& c) { c.observer_.OnPhotoSaved(path); });
}

void ScanController::EngineRelay::OnEngineFailure(const ScanFailure& failure) {
  Post([failure](ScanController& c) {
    if (c.firstFailures_.size() < kFailuresShown) c.firstFailures_.push_back(failure);
    c.observer_.OnFailure(failure);
  });
}

void ScanController::EngineRelay::OnEnginePagesDone() {
  Post([](ScanController& c) { c.OnEnginePagesDone(); });
}

void ScanController::EngineRelay::OnEngineEnded(bool stopped, const EngineReport& report) {
  Post([stopped, report](ScanController& c) { c.OnEngineEnded(stopped, report); });
}

bool ScanController::IsCurrent(std::uint64_t run) const {
  return run == run_ && !destroying_ && engine_ != nullptr;
}

void ScanController::OnEngineProgress(const EngineReport& report) {
  report_ = report;
  if (phase_ == ScanProgress::Phase::Starting && report_.counts.pagesScanned > 0)
    phase_ = ScanProgress::Phase::ScanningPages;
  ReportProgress();
}

void ScanController::OnEnginePagesDone() {
  if (phase_ != ScanProgress::Phase::Stopping) SetPhase(ScanProgress::Phase::ProcessingPhotos);
}

void ScanController::OnEngineEnded(bool stopped, const EngineReport& report) {
  report_ = report;
  for (const std::string& note : report.notes) {
    if (std::find(notes_.begin(), notes_.end(), note) == notes_.end()) notes_.push_back(note);
  }
  startPageFailed_ = startPageFailed_ || report.startPageFailed;
  if (saveProblem_.empty()) saveProblem_ = report.saveProblem;
  stopped_ = stopped;
  EndEngine();
  if (stopped) observer_.OnScanStateChanged();
  FinishScan();
}

// ---------------------------------------------------------------------------------------------
// Starting

// What both kinds of scan do first; false (with the user told why) when the scan cannot start.
bool ScanController::PrepareScan(const ProjectsRecord& project, const ScanOptions& options) {
  project_ = project;
  options_ = options;
  if (!options_.render) options_.render = LoadRenderMode(options_.databasePath, project_.id);
  // Folders that would lead out of where the user chose (a damaged or hostile import) are
  // never written to. No folder at all is asked for below.
  const std::optional<std::string> problem = ProjectFoldersProblem(project_);
  if (problem && !project_.saveTo.empty()) {
    messages_.Inform(*problem);
    return false;
  }
  if (Trim(project_.saveTo).empty()) {
    messages_.Inform("Please choose a folder to save the photos...");
    return false;
  }
  // Found out now rather than after every photo was downloaded for nothing.
  if (const std::string reason = FolderWriteProblem(project_.saveTo); !reason.empty()) {
    messages_.Show(MessageRequest{SaveToProblemText(project_.saveTo, reason), kAppCaption,
                                  MessageIcon::Warning});
    return false;
  }
  if (!CheckFreeDiskSpace(project_.saveTo, messages_)) return false;
  if (!LoadCookies()) return false;
  CreateFolder(options_.tempFolder);
  tempFolder_ = MakeProcessTempFolder(options_.tempFolder);
  if (tempFolder_.empty()) {
    messages_.Inform("The temporary folder " + options_.tempFolder + " could not be made.");
    return false;
  }
  // Two scans numbering photos into one folder would take the same numbers.
  folderLock_ = FolderLock::TakeSaveTo(options_.tempFolder, project_.saveTo);
  if (!folderLock_) {
    messages_.Inform("Another scan or a photo tool is working in " + project_.saveTo +
                     " right now. Please start this scan when it has ended.");
    return false;
  }
  stopRequested_ = false;
  totals_ = {};
  notes_.clear();
  firstFailures_.clear();
  startPageFailed_ = false;
  saveProblem_.clear();
  historyRows_.clear();
  resultsText_.clear();
  follow_ = options_.autoFollow;
  return true;
}

// A new cookie store for the scan, with the cookies file's cookies. A file that cannot be read
// stops the scan before it starts: without the cookies it was meant to send, a members' site
// yields nothing, and the user would not know why.
bool ScanController::LoadCookies() {
  cookies_ = std::make_shared<CookieJar>();
  if (options_.cookiesFile.empty()) return true;
  const std::optional<std::string> problem = cookies_->LoadFile(options_.cookiesFile);
  if (!problem) return true;
  messages_.Inform("The cookies file " + options_.cookiesFile + " cannot be used: " + *problem +
                   ". Please choose another one, or none, in the scanning options.");
  return false;
}

void ScanController::CreateCopyFolders() {
  if (project_.autoCreateThumbnails) CreateFolder(project_.thumbnailSaveTo);
  if (project_.autoCreateMobile) CreateFolder(project_.mobileSaveTo);
}

void ScanController::ResetLinkState() {
  report_ = {};
  scope_ = ScanScope{};
  scope_.projectURL = Trim(project_.url);
  scope_.formats = FormatsOf(project_);
  scope_.searchSubFolders = project_.searchSubFolders;
  scope_.keywordMustExist = project_.keywordMustExist;
  ParseCommaList(project_.keywords, scope_.keywords);
  ParseCommaList(options_.filesToIgnore, scope_.skipList);
  stopped_ = false;
  finished_ = false;
}

bool ScanController::StartScan(const ProjectsRecord& project, const ScanOptions& options) {
  resumeGuid_.clear();
  return StartProjectScan(project, options);
}

bool ScanController::StartMultiLinkScan(const ProjectsRecord& project, const ScanOptions& options,
                                        const std::vector<int>& linkIds, LinkOrder order) {
  resumeGuid_.clear();
  return StartLinkScan(project, options, linkIds, order, 0);
}

bool ScanController::ResumeScan(const ProjectsRecord& project, const ScanOptions& options) {
  if (scanning_ || HasWorker()) return false;
  const std::optional<UnfinishedScan> unfinished =
      LoadUnfinishedScan(options.databasePath, project.id);
  if (!unfinished) {
    messages_.Inform("This project has no interrupted scan to resume.");
    return false;
  }
  resumeGuid_ = unfinished->scanGuid;
  // A stopped rescan of everything goes on as one, not as a scan that skips what it knows.
  ScanOptions resumed = options;
  if (unfinished->everything) resumed.skipRemembered = false;
  if (unfinished->linkIds.empty()) return StartProjectScan(project, resumed);
  return StartLinkScan(project, resumed, unfinished->linkIds, {},
                       static_cast<std::size_t>(std::max(0, unfinished->linkIndex)));
}

bool ScanController::StartProjectScan(const ProjectsRecord& project, const ScanOptions& options) {
  if (scanning_ || HasWorker()) return false;
  if (!PrepareScan(project, options)) return false;
  scanTimer_.Start();
  CreateCopyFolders();
  multiLink_ = false;
  ResetLinkState();
  if (StartEngine(project_.url)) return true;
  scanTimer_.Stop();
  idle_ = true;
  folderLock_.reset();
  return false;
}

bool ScanController::StartLinkScan(const ProjectsRecord& project, const ScanOptions& options,
                                   const std::vector<int>& linkIds, LinkOrder order,
                                   std::size_t firstLink) {
  if (scanning_ || HasWorker()) return false;
  if (!PrepareScan(project, options)) return false;
  linkQueue_.clear();
  for (const ProjectLinksRecord& link :
       LoadLinksForScan(options_.databasePath, linkIds, order, messages_))
    linkQueue_.push_back(
        {link.url, link.searchSubFolders, link.keywordMustExist, link.keywords, link.id});
  if (firstLink > 0) {
    // A resumed scan keeps the order its links had, as remembered.
    const auto position = [&linkIds](const ScanInfo& link) {
      return std::find(linkIds.begin(), linkIds.end(), link.id) - linkIds.begin();
    };
    std::stable_sort(
        linkQueue_.begin(), linkQueue_.end(),
        [&](const ScanInfo& a, const ScanInfo& b) { return position(a) < position(b); });
  }
  nextLink_ = std::min(firstLink, linkQueue_.size());
  multiLink_ = true;
  scanTimer_.Start();
  if (StartNextProjectLink()) return true;
  multiLink_ = false;
  idle_ = true;
  scanTimer_.Stop();
  folderLock_.reset();
  return false;
}

bool ScanController::StartNextProjectLink() {
  if (nextLink_ >= linkQueue_.size()) {
    currentLinkURL_.clear();
    return false;
  }
  const ScanInfo link = linkQueue_[nextLink_];
  const std::size_t number = ++nextLink_;
  if (!CheckFreeDiskSpace(project_.saveTo, messages_)) {
    currentLinkURL_.clear();
    return false;
  }
  CreateCopyFolders();
  project_.searchSubFolders = link.searchSubFolders;
  project_.keywordMustExist = link.keywordMustExist;
  project_.keywords = link.keywords;
  observer_.OnLinkStarted(Format("URL #%d of %d:  %s", static_cast<int>(number),
                                 static_cast<int>(linkQueue_.size()), link.url.c_str()));
  ResetLinkState();
  currentLinkURL_ = link.url;
  if (scanTimer_.IsPaused()) scanTimer_.Resume();
  linkTimer_.Start();
  return StartEngine(link.url);
}

bool ScanController::StartEngine(const std::string& startURL) {
  idle_ = false;
  SetPhase(ScanProgress::Phase::Starting);
  const std::string url = Trim(startURL);
  DetectSocialScan(url, scope_.social);
  const std::string resolved = ResolveURL("", url, scope_);
  scope_.start = UrlParts(resolved);
  resumedRun_ = !resumeGuid_.empty();
  runGuid_ = std::exchange(resumeGuid_, {});
  if (runGuid_.empty()) NewGUIDString(runGuid_);
  NoteUnfinished();
  relay_ = std::make_unique<EngineRelay>(*this, ++run_);
  EngineJob job{project_, options_, scope_, resolved, tempFolder_, multiLink_, runGuid_, cookies_};
  if (renderer_ != nullptr) {
    job.render = options_.render.value_or(RenderMode::Automatic);
    job.renderer = renderer_;
    job.ui = &ui_;
  }
  engine_ = std::make_unique<ScanEngine>(std::move(job), *relay_);
  engine_->SetPaused(paused_);
  if (!engine_->Start()) {
    engine_.reset();
    MessageRequest request{"Couldn't start ScanPage Thread..."};
    request.icon = MessageIcon::None;
    messages_.Show(request);
    return false;
  }
  scanning_ = true;
  observer_.OnScanStateChanged();
  return true;
}

// Until the run ends by itself, the project has a scan to resume: this run.
void ScanController::NoteUnfinished() {
  UnfinishedScan unfinished;
  unfinished.projectId = project_.id;
  unfinished.scanGuid = runGuid_;
  unfinished.everything = !options_.skipRemembered;
  if (multiLink_) {
    for (const ScanInfo& link : linkQueue_) unfinished.linkIds.push_back(link.id);
    unfinished.linkIndex = static_cast<int>(nextLink_) - 1;
  }
  SaveUnfinishedScan(options_.databasePath, unfinished);
}

void ScanController::EndEngine() {
  if (!engine_) return;
  engine_->Join();
  engine_.reset();
}

// ---------------------------------------------------------------------------------------------
// Pause and stop

void ScanController::TogglePause() {
  if (!HasWorker()) return;
  paused_ = !paused_;
  for (TaskTimer* timer : {&scanTimer_, &linkTimer_}) {
    if (timer == &linkTimer_ && !multiLink_) continue;
    if (paused_)
      timer->Pause();
    else
      timer->Resume();
  }
  engine_->SetPaused(paused_);
  ReportProgress();
  observer_.OnScanStateChanged();
}

void ScanController::Stop() {
  if (!HasWorker()) return;
  stopRequested_ = true;
  SetPhase(ScanProgress::Phase::Stopping);
  engine_->Stop();
}

// ---------------------------------------------------------------------------------------------
// Progress

ScanProgress ScanController::Progress() const {
  ScanProgress progress;
  progress.phase = phase_;
  if (paused_ && phase_ != ScanProgress::Phase::Stopping && phase_ != ScanProgress::Phase::Ended)
    progress.phase = ScanProgress::Phase::Paused;
  const ScanCounts& c = report_.counts;
  progress.pagesScanned = c.pagesScanned;
  progress.pagesRendered = c.pagesRendered;
  progress.pagesTotal = report_.pagesFound;
  progress.photosFound = report_.photosFound;
  progress.photosProcessed = c.photosProcessed;
  progress.photosSaved = c.photosSaved;
  progress.failed = c.pagesFailed + c.photosFailed + totals_.pagesFailed + totals_.photosFailed;
  progress.restingHost = report_.restingHost;
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

// ---------------------------------------------------------------------------------------------
// The end of a scan

std::string ScanController::ScannedURL() const {
  return multiLink_ ? currentLinkURL_ : Trim(project_.url);
}

void ScanController::FinishScan() {
  if (finished_) return;
  finished_ = true;
  TaskTimer& timer = multiLink_ ? linkTimer_ : scanTimer_;
  if (multiLink_) {
    scanTimer_.Pause();
    linkTimer_.Stop();
  } else {
    scanTimer_.Stop();
  }
  const ScanCounts counts = report_.counts;
  const std::string date = TodayDateText();
  WriteHistoryRow(counts, ScannedURL(), timer.ElapsedText(), timer.ElapsedSeconds(), date);
  WriteProjectLinkRow(counts, date);

  if (multiLink_) {
    totals_.pagesFound += report_.pagesFound;
    totals_.pagesRendered += counts.pagesRendered;
    totals_.photosProcessed += counts.photosProcessed;
    totals_.photosSkipped += counts.photosSkipped;
    totals_.photosSaved += counts.photosSaved;
    totals_.bytes += counts.bytes;
    totals_.seconds += counts.seconds;
    totals_.pagesFailed += counts.pagesFailed;
    totals_.photosFailed += counts.photosFailed;
    if (!stopped_ && !stopRequested_ && saveProblem_.empty() && StartNextProjectLink()) return;
  }
  ShowResultsAndEnd();
}

void ScanController::WriteHistoryRow(const ScanCounts& counts, const std::string& url,
                                     const std::string& time, std::int64_t elapsedSeconds,
                                     const std::string& date) {
  ScanHistoryRecord row;
  row.projectId = project_.id;
  row.scanDate = date;
  row.totalTime = time;
  row.url = url;
  row.pages = static_cast<int>(report_.pagesFound);
  row.totalImages = static_cast<int>(report_.photosFound);
  row.savedImages = static_cast<int>(counts.photosSaved);
  row.skippedImages = static_cast<int>(counts.photosSkipped);
  row.status = 1;
  row.type = 0;
  row.searchSubFolders = project_.searchSubFolders;
  row.totalTimeInSeconds = static_cast<int>(elapsedSeconds);
  row.transferTimeInSeconds = static_cast<int>(counts.seconds);
  row.totalBytes = counts.bytes;
  row.guid = runGuid_;
  // The row of the run this one resumed gives way, its times added to this one's.
  if (const std::optional<ScanHistoryRecord> before =
          resumedRun_ ? TakeHistoryRow(options_.databasePath, messages_, project_.id, runGuid_)
                      : std::nullopt) {
    row.totalTimeInSeconds += before->totalTimeInSeconds;
    row.transferTimeInSeconds += before->transferTimeInSeconds;
    row.totalTime = TaskTimer::FormatSeconds(row.totalTimeInSeconds);
  }
  const std::optional<ScanHistoryRecord> stored =
      AddScanHistory(options_.databasePath, messages_, row, options_.onlySuccessfulScansInHistory);
  if (stored) observer_.OnHistoryRowAdded(*stored);
  historyRows_.push_back(stored.value_or(row));
}

void ScanController::WriteProjectLinkRow(const ScanCounts& counts, const std::string& date) {
  const int saved = static_cast<int>(counts.photosSaved);
  if (multiLink_) {
    const ScanInfo& link = linkQueue_[nextLink_ - 1];
    SetLinkPhotos(options_.databasePath, link.id, project_.id, saved, messages_);
  } else {
    RecordScannedLink(options_.databasePath, project_, Trim(project_.url), date, saved, messages_);
  }
  observer_.OnProjectLinksChanged();
}

void ScanController::ShowResultsAndEnd() {
  scanTimer_.Stop();
  ScanResults results;
  results.title = project_.title;
  results.processingTime = scanTimer_.ElapsedText();
  if (multiLink_) {
    results.pages = totals_.pagesFound;
    results.processed = totals_.photosProcessed;
    results.saved = totals_.photosSaved;
    results.skipped = totals_.photosSkipped;
    results.bytes = totals_.bytes;
    results.seconds = totals_.seconds;
  } else {
    const ScanCounts& c = report_.counts;
    results.url = Trim(project_.url);
    results.pages = report_.pagesFound;
    results.processed = c.photosProcessed;
    results.saved = c.photosSaved;
    results.skipped = c.photosSkipped;
    results.bytes = c.bytes;
    results.seconds = c.seconds;
  }
  results.notes = notes_;
  results.failed = Progress().failed;
  results.firstFailures = firstFailures_;
  results.stopped = stopRequested_;
  resultsText_ = ResultsText(results, multiLink_);
  if (!stopped_ && !stopRequested_) ClearUnfinishedScan(options_.databasePath, project_.id);
  folderLock_.reset();
  SetPhase(ScanProgress::Phase::Ended);
  if (options_.showResults) observer_.ShowResults(resultsText_, EndedBadly());
  scanning_ = false;
  paused_ = false;
  idle_ = true;
  observer_.OnScanStateChanged();
  observer_.OnScanEnded(resultsText_);
}

}  // namespace trawlix
