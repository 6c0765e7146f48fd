#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "scan/PipelineTestSite.h"
#include "scan/engine/ScanController.h"
#include "scan/engine/ScanObserver.h"
#include "storage/ProjectLinksRecord.h"
#include "storage/ScanHistoryRecord.h"
#include "support/ManualUiThread.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

namespace trawlix::testing {

// Records what a scan tells its front end.
class RecordingObserver : public ScanObserver {
 public:
  // Keeps the two status lines as the front ends show them.
  void OnProgress(const ScanProgress& progress) override;
  void OnPhotoSaved(const std::string& path) override { saved.push_back(path); }
  void OnLinkStarted(const std::string& text) override { linkTexts.push_back(text); }
  void OnFailure(const ScanFailure& failure) override { failures.push_back(failure); }
  void OnHistoryRowAdded(const ScanHistoryRecord& row) override { rows.push_back(row); }
  void ShowResults(const std::string& text, bool warning) override {
    shownResults.push_back(text);
    resultsWarned = warning;
  }
  void OnScanEnded(const std::string& text) override {
    ++ended;
    results = text;
  }

  std::vector<std::string> saved;
  std::vector<std::string> linkTexts;
  std::vector<ScanFailure> failures;
  std::vector<ScanHistoryRecord> rows;
  std::vector<std::string> shownResults;
  bool resultsWarned = false;
  std::vector<std::string> pageLines;
  std::vector<std::string> photoLines;
  int ended = 0;
  std::string results;
};

// The photos of the standard site, as the scan should file them.
struct SitePhoto {
  std::string path;  // on the site
  std::string savedName;
  int width;
  int height;
};

// A scan of a generated site into a fresh folder, driven on the test's thread.
class PipelineTest : public ::testing::Test {
 protected:
  PipelineTest();

  // The standard site: pages in folders, photos of every format and orientation, small and
  // large, a duplicate in other letter case, a base tag, a link in a comment, an onclick photo,
  // a missing photo and an HTML error page served as a photo.
  void BuildStandardSite();
  static const std::vector<SitePhoto>& StandardSavedPhotos();

  // Starts the scan and runs until it has ended; false when it did not start or end.
  bool RunScan();
  bool RunMultiLinkScan(const std::vector<int>& linkIds);
  bool RunUntilEnded();

  std::string SaveTo() const { return project.saveTo; }
  std::string InSaveTo(const std::string& name) const { return SaveTo() + "/" + name; }
  // File names in a folder (not recursive), sorted.
  static std::set<std::string> FilesIn(const std::string& folder);
  // Every photo file below Save To, as paths relative to it.
  std::set<std::string> PhotoTree() const;
  std::vector<ScanHistoryRecord> StoredHistory();
  std::vector<ProjectLinksRecord> StoredLinks();
  int AddLink(const std::string& url, int searchSubFolders, const std::string& keywords = "");

  TempDir dir;
  TestSite site;
  ManualUiThread ui;
  RecordingMessageSink messages;
  RecordingObserver observer;
  ScanController controller{ui, messages, observer};
  ProjectsRecord project;
  ScanOptions options;
};

}  // namespace trawlix::testing
