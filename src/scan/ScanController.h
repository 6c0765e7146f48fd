#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/MessageBox.h"
#include "base/TaskTimer.h"
#include "scan/LinkExtractor.h"
#include "scan/LinkLists.h"
#include "scan/PhotoProcessor.h"
#include "scan/ScanCounters.h"
#include "scan/ScanHost.h"
#include "scan/ScanObserver.h"
#include "scan/ScanOptions.h"
#include "scan/ScanProgress.h"
#include "scan/ScanScope.h"
#include "scan/ScanThreadBlock.h"
#include "scan/UiThread.h"
#include "scan/WebFile.h"
#include "storage/ProjectLinksRecord.h"
#include "storage/ProjectLinksTable.h"
#include "storage/ProjectsRecord.h"
#include "storage/ScanHistoryRecord.h"

namespace trawlix {

// One project link of a multi-link scan.
struct CScanInfo {
  std::string url;
  int searchSubFolders = 0;
  int keywordMustExist = 0;
  std::string keywords;
  int id = -1;
};

// Owns everything a scan keeps: the link lists, counters, flags, the keyword and skip lists,
// the start parts, the timers, the multi-link queue and both workers. Lives on the UI thread;
// the workers reach it only through the UI thread (ScanHost calls and the link messages).
class ScanController : private ScanHost, private LinkReceiver {
 public:
  ScanController(UiThread& ui, MessageSink& messages, ScanObserver& observer);
  ~ScanController() override;
  ScanController(const ScanController&) = delete;
  ScanController& operator=(const ScanController&) = delete;

  // The Scan command: scans the project's URL. False when the scan did not start.
  bool StartScan(const CProjectsRecord& project, const ScanOptions& options);
  // Scans the project links with these ids one after the other, in the links list's order.
  bool StartMultiLinkScan(const CProjectsRecord& project, const ScanOptions& options,
                          const std::vector<int>& linkIds, LinkOrder order = {});
  void TogglePause();
  void Stop();

  bool IsScanning() const { return scanning_; }
  bool IsPaused() const { return paused_; }
  bool IsIdle() const { return idle_; }
  bool IsMultiLink() const { return multiLink_; }
  bool IsFollowing() const { return follow_; }
  bool HasWorker() const { return pageBlock_.HasThread() || photoBlock_.HasThread(); }

  // The counters of the scan (or of the current link) and, in a multi-link scan, the totals
  // of the links finished before it.
  ScanCounts Counters() const { return counters_.Snapshot(); }
  ScanCounts RunningTotals() const { return totals_; }
  // The scan-history rows this scan made (one per link), whether or not they were stored.
  const std::vector<CScanHistoryRecord>& HistoryRows() const { return historyRows_; }
  const std::string& LastResultsText() const { return resultsText_; }
  const CProjectsRecord& Project() const { return project_; }
  ScanProgress Progress() const;

 private:
  // The scan's messages, handled on the UI thread.
  int OnStartPhotoProcessor();                                   // WM_USER+1
  int FilePageLink(const LinkMessage* message);                  // WM_USER+100
  int FilePhotoLink(const LinkMessage* message);                 // WM_USER+101
  int OnNextPage(int requestIndex, std::string& url);            // WM_USER+102
  int OnNextPhoto(int requestIndex, NextPhotoRequest& request);  // WM_USER+103
  int OnPhotoSaved(const std::string* path);                     // WM_USER+104
  int OnPhotoProgress();                                         // WM_USER+105
  int OnPageProgress();                                          // WM_USER+106
  int OnTransfer(std::int64_t seconds, std::int64_t bytes);      // WM_USER+107
  void OnTimer(int timerId, std::uint64_t workerId);

  // ScanHost: the workers' side, each call sent to the UI thread.
  int NextPage(int requestIndex, std::string& url) override;
  int NextPhoto(int requestIndex, NextPhotoRequest& request) override;
  int PhotoSaved(const std::string& path) override;
  int RefreshPhotoProgress() override;
  int RefreshPageProgress() override;
  int ReportTransfer(std::int64_t seconds, std::int64_t bytes) override;
  bool StartPhotoProcessorIfPhotosWait() override;
  void ArmWorkerTimer(int timerId, std::uint64_t workerId) override;
  // LinkReceiver: links found by the page scanner.
  void OnPageLink(const LinkMessage& link) override;
  void OnPhotoLink(const LinkMessage& link) override;
  void OnBaseHref(std::string_view href) override;

  bool PrepareFolders();
  void CreateWebFiles();
  void ResetLinkState();
  bool StartPageScanner(const std::string& startURL);
  bool StartNextProjectLink();
  void FinishScan();
  void WriteHistoryRow(const ScanCounts& counts, const std::string& url, const std::string& time,
                       std::int64_t elapsedSeconds, const std::string& date);
  void WriteProjectLinkRow(const ScanCounts& counts, const std::string& date);
  void ShowResultsAndEnd();
  void WaitForWorker(ScanThreadBlock& block, bool askToStop);
  void KillScanTimers();
  bool PhotosWait() const;
  bool PhotoProcessorRuns() const;
  void SetPhase(ScanProgress::Phase phase);
  void ReportProgress();
  std::string ScannedURL() const;

  UiThread& ui_;
  MessageSink& messages_;
  ScanObserver& observer_;

  CProjectsRecord project_;
  ScanOptions options_;
  std::unique_ptr<CXWebFile> pageWeb_;
  std::unique_ptr<CXWebFile> photoWeb_;
  ScanThreadBlock pageBlock_;
  ScanThreadBlock photoBlock_;
  // Every worker started gets a new id; a timer counts only when armed by the current page or
  // photo worker, so a late one of a finished worker or an earlier link changes nothing.
  std::uint64_t lastWorkerId_ = 0;
  std::uint64_t pageWorkerId_ = 0;
  std::uint64_t photoWorkerId_ = 0;

  ScanScope scope_;  // start parts, keyword and skip lists, social state
  LinkLists links_;
  std::string baseHref_;
  ScanCounters counters_;
  ScanCounts totals_;
  CXTaskTimer scanTimer_;
  CXTaskTimer linkTimer_;

  ScanProgress::Phase phase_ = ScanProgress::Phase::Ended;
  bool scanning_ = false;
  bool paused_ = false;
  bool idle_ = true;
  bool multiLink_ = false;
  bool follow_ = false;
  bool stopRequested_ = false;
  bool stopped_ = false;   // the stop timer was handled
  bool finished_ = false;  // FinishScan ran for this scan or link
  bool inTimer_ = false;
  bool destroying_ = false;

  std::vector<CScanInfo> linkQueue_;
  std::size_t nextLink_ = 0;
  std::string currentLinkURL_;

  std::vector<CScanHistoryRecord> historyRows_;
  std::string resultsText_;
};

}  // namespace trawlix
