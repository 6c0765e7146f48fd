#pragma once

#include <string>

#include "scan/ScanObserver.h"

namespace trawlix::ui {

class MainWindow;

// Hands the scan's reports to the main window; every call comes on the GUI thread.
class MainWindowScan final : public ScanObserver {
 public:
  explicit MainWindowScan(MainWindow& window) : window_(window) {}

  void OnProgress(const ScanProgress& progress) override;
  void OnPhotoSaved(const std::string& path) override;
  void OnScanStateChanged() override;
  void OnLinkStarted(const std::string& urlBoxText) override;
  void OnHistoryRowAdded(const CScanHistoryRecord& row) override;
  void OnProjectLinksChanged() override;
  void ShowResults(const std::string& text) override;
  void OnScanEnded(const std::string& resultsText) override;

 private:
  MainWindow& window_;
};

}  // namespace trawlix::ui
