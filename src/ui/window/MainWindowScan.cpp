#include "ui/window/MainWindowScan.h"

#include <QLabel>
#include <QLineEdit>

#include "base/MessageBox.h"
#include "scan/engine/ScanTexts.h"
#include "ui/window/DBusDesktopNotifier.h"
#include "ui/window/MainWindow.h"
#include "ui/window/MainWindowTexts.h"
#include "ui/window/StatusPanel.h"

namespace trawlix::ui {

MainWindowScan::MainWindowScan(MainWindow& window)
    : window_(window),
      notifier_(std::make_unique<DBusDesktopNotifier>([&window] { window.BringToFront(); })),
      desktop_(*notifier_) {}

MainWindowScan::~MainWindowScan() = default;

void MainWindowScan::ReportEnd(const std::string& resultsText) {
  desktop_.Ended(resultsText, window_.isActiveWindow(), ScanDesktopReport::Clock::now());
}

void MainWindowScan::OnProgress(const ScanProgress& progress) {
  desktop_.Progress(progress);
  window_.ShowScanLines(PlainText(PageLineText(progress)), PlainText(PhotoLineText(progress)));
}

void MainWindowScan::OnPhotoSaved(const std::string& path) {
  window_.OnPhotoSaved(path);
}

void MainWindowScan::OnScanStateChanged() {
  if (window_.isScanning() && !desktop_.running()) {
    desktop_.Started(ScanDesktopReport::Clock::now());
  }
  window_.OnScanStateChanged();
}

void MainWindowScan::OnLinkStarted(const std::string& urlBoxText) {
  window_.SetURLBoxText(QString::fromStdString(urlBoxText));
}

void MainWindowScan::OnHistoryRowAdded(const ScanHistoryRecord& /*row*/) {
  window_.ReloadHistory();
}

void MainWindowScan::OnProjectLinksChanged() {
  window_.ReloadLinks();
}

void MainWindowScan::ShowResults(const std::string& text, bool warning) {
  // Before the window comes back and the message waits for an answer.
  ReportEnd(text);
  window_.RestoreAfterScan();
  MessageRequest request{text};
  request.icon = warning ? MessageIcon::Warning : MessageIcon::Information;
  request.offerDontAskAgain = true;
  if (window_.messages_.Show(request).dontAskAgain) window_.StopShowingScanResults();
}

void MainWindowScan::OnScanEnded(const std::string& resultsText) {
  ReportEnd(resultsText);
  window_.OnScanEnded();
}

}  // namespace trawlix::ui
