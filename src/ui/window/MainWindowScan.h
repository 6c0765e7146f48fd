#pragma once

#include <memory>
#include <string>

#include "scan/engine/ScanObserver.h"
#include "ui/window/DesktopNotifier.h"
#include "ui/window/ScanDesktopReport.h"

namespace trawlix::ui {

class MainWindow;

// Hands the scan's reports to the main window; every call comes on the GUI thread.
class MainWindowScan final : public ScanObserver {
 public:
  explicit MainWindowScan(MainWindow& window);
  ~MainWindowScan() override;

  void OnProgress(const ScanProgress& progress) override;
  void OnPhotoSaved(const std::string& path) override;
  void OnScanStateChanged() override;
  void OnLinkStarted(const std::string& urlBoxText) override;
  void OnHistoryRowAdded(const ScanHistoryRecord& row) override;
  void OnProjectLinksChanged() override;
  void ShowResults(const std::string& text, bool warning) override;
  void OnScanEnded(const std::string& resultsText) override;

 private:
  // The desktop hears of the scan too: task bar progress, and a notification at its end.
  void ReportEnd(const std::string& resultsText);

  MainWindow& window_;
  std::unique_ptr<DesktopNotifier> notifier_;
  ScanDesktopReport desktop_;
};

}  // namespace trawlix::ui
