#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/MessageBox.h"
#include "base/TaskTimer.h"
#include "platform/FolderLock.h"
#include "scan/engine/LinkLists.h"
#include "scan/engine/PageRenderer.h"
#include "scan/engine/ScanCounters.h"
#include "scan/engine/ScanEngine.h"
#include "scan/engine/ScanObserver.h"
#include "scan/engine/ScanOptions.h"
#include "scan/engine/ScanProgress.h"
#include "scan/engine/ScanScope.h"
#include "scan/engine/UiThread.h"
#include "storage/ProjectLinksRecord.h"
#include "storage/ProjectLinksTable.h"
#include "storage/ProjectsRecord.h"
#include "storage/ScanHistoryRecord.h"

namespace trawlix {

// One project link of a multi-link scan.
struct ScanInfo {
  std::string url;
  int searchSubFolders = 0;
  int keywordMustExist = 0;
  std::string keywords;
  int id = -1;
};

// Owns a scan on the UI thread: starts the engine for the scan (or for each link of a
// multi-link scan), pauses and stops it, shows its progress, writes the history rows and the
// results. The engine never waits for this thread: it posts what happened, and the posts are
// handled here in order.
class ScanController {
 public:
  ScanController(UiThread& ui, MessageSink& messages, ScanObserver& observer);
  ~ScanController();
  ScanController(const ScanController&) = delete;
  ScanController& operator=(const ScanController&) = delete;

  // The Scan command: scans the project's URL. False when the scan did not start.
  bool StartScan(const ProjectsRecord& project, const ScanOptions& options);
  // Scans the project links with these ids one after the other, in the links list's order.
  bool StartMultiLinkScan(const ProjectsRecord& project, const ScanOptions& options,
                          const std::vector<int>& linkIds, LinkOrder order = {});
  // Goes on with the project's scan that was stopped, killed or crashed: what it fetched is
  // not fetched again, and its history row comes to cover the whole. False when there is
  // none, or the scan did not start.
  bool ResumeScan(const ProjectsRecord& project, const ScanOptions& options);
  void TogglePause();
  void Stop();
  // Pages are rendered through this renderer (on the UI thread) when the scan's mode says
  // so; without one, none is. It must outlive the controller.
  void SetRenderer(PageRenderer* renderer) { renderer_ = renderer; }

  bool IsScanning() const { return scanning_; }
  // The cookie store of the scan running or last run; none before the first scan.
  std::shared_ptr<CookieJar> Cookies() const { return cookies_; }
  bool IsPaused() const { return paused_; }
  bool IsIdle() const { return idle_; }
  bool IsMultiLink() const { return multiLink_; }
  bool IsFollowing() const { return follow_; }
  bool HasWorker() const { return engine_ != nullptr; }

  // The counters of the scan (or of the current link) and, in a multi-link scan, the totals
  // of the links finished before it.
  ScanCounts Counters() const { return report_.counts; }
  ScanCounts RunningTotals() const { return totals_; }
  // The scan-history rows this scan made (one per link), whether or not they were stored.
  const std::vector<ScanHistoryRecord>& HistoryRows() const { return historyRows_; }
  const std::string& LastResultsText() const { return resultsText_; }
  // Whether a start page (or a link's page) could not be downloaded.
  bool StartPageFailed() const { return startPageFailed_; }
  // The results deserve a warning: the start page failed or photos could not be saved.
  bool EndedBadly() const { return startPageFailed_ || !saveProblem_.empty(); }
  // Why the scan stopped when Save To could not be written; empty otherwise.
  const std::string& SaveProblem() const { return saveProblem_; }
  const ProjectsRecord& Project() const { return project_; }
  ScanProgress Progress() const;

 private:
  // Carries the engine's calls to the UI thread, each tagged with the run it belongs to.
  class EngineRelay : public EngineEvents {
   public:
    EngineRelay(ScanController& controller, std::uint64_t run)
        : controller_(controller), run_(run) {}
    void OnEngineProgress(const EngineReport& report) override;
    void OnEnginePhotoSaved(const std::string& path) override;
    void OnEngineFailure(const ScanFailure& failure) override;
    void OnEnginePagesDone() override;
    void OnEngineEnded(bool stopped, const EngineReport& report) override;

   private:
    void Post(std::function<void(ScanController&)> call);
    ScanController& controller_;
    const std::uint64_t run_;
  };

  bool IsCurrent(std::uint64_t run) const;
  void OnEngineProgress(const EngineReport& report);
  void OnEnginePagesDone();
  void OnEngineEnded(bool stopped, const EngineReport& report);

  bool PrepareScan(const ProjectsRecord& project, const ScanOptions& options);
  bool LoadCookies();
  bool StartProjectScan(const ProjectsRecord& project, const ScanOptions& options);
  bool StartLinkScan(const ProjectsRecord& project, const ScanOptions& options,
                     const std::vector<int>& linkIds, LinkOrder order, std::size_t firstLink);
  void NoteUnfinished();
  void CreateCopyFolders();
  void ResetLinkState();
  bool StartEngine(const std::string& startURL);
  void EndEngine();
  bool StartNextProjectLink();
  void FinishScan();
  void WriteHistoryRow(const ScanCounts& counts, const std::string& url, const std::string& time,
                       std::int64_t elapsedSeconds, const std::string& date);
  void WriteProjectLinkRow(const ScanCounts& counts, const std::string& date);
  void ShowResultsAndEnd();
  void SetPhase(ScanProgress::Phase phase);
  void ReportProgress();
  std::string ScannedURL() const;

  UiThread& ui_;
  MessageSink& messages_;
  ScanObserver& observer_;
  PageRenderer* renderer_ = nullptr;

  ProjectsRecord project_;
  ScanOptions options_;
  std::string tempFolder_;                // this process's own
  std::optional<FolderLock> folderLock_;  // on Save To while the scan runs
  ScanScope scope_;                       // start parts, keyword and skip lists, social state
  std::unique_ptr<EngineRelay> relay_;
  std::shared_ptr<CookieJar> cookies_;  // of the scan; every run of it sends and keeps them
  std::unique_ptr<ScanEngine> engine_;
  std::uint64_t run_ = 0;  // counts engine runs; posts of an earlier one are ignored
  EngineReport report_;
  ScanCounts totals_;
  std::vector<std::string> notes_;          // of every link so far
  std::vector<ScanFailure> firstFailures_;  // of every link so far, the first few
  bool startPageFailed_ = false;
  std::string saveProblem_;
  TaskTimer scanTimer_;
  TaskTimer linkTimer_;

  ScanProgress::Phase phase_ = ScanProgress::Phase::Ended;
  bool scanning_ = false;
  bool paused_ = false;
  bool idle_ = true;
  bool multiLink_ = false;
  bool follow_ = false;
  bool stopRequested_ = false;
  bool stopped_ = false;   // the engine ended stopped
  bool finished_ = false;  // FinishScan ran for this scan or link
  bool destroying_ = false;

  std::vector<ScanInfo> linkQueue_;
  std::size_t nextLink_ = 0;
  std::string currentLinkURL_;

  // Names the engine run in the rows it writes; a resumed run keeps the name of the one it
  // goes on with.
  std::string runGuid_;
  std::string resumeGuid_;  // for the next run to start
  bool resumedRun_ = false;

  std::vector<ScanHistoryRecord> historyRows_;
  std::string resultsText_;
};

}  // namespace trawlix
