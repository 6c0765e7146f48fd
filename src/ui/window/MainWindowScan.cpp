#include "ui/window/MainWindowScan.h"

#include "base/MessageBox.h"
#include "scan/engine/ScanTexts.h"
#include "ui/window/DBusDesktopNotifier.h"
#include "ui/window/MainWindow.h"
#include "ui/window/MainWindowTexts.h"

namespace trawlix::ui {

MainWindowScan::MainWindowScan(MainWindow& window, MessageSink& messages)
    : window_(window),
      messages_(messages),
      notifier_(std::make_unique<DBusDesktopNotifier>([&window] { window.BringToFront(); })),
      desktop_(*notifier_) {}

MainWindowScan::~MainWindowScan() = default;

void MainWindowScan::ReportEnd(const std::string& resultsText) {
  desktop_.Ended(resultsText, window_.isActiveWindow(), ScanDesktopReport::Clock::now());
}

void MainWindowScan::OnProgress(const ScanProgress& progress) {
  desktop_.Progress(progress);
  Q_EMIT progressShown(PlainText(PageLineText(progress)), PlainText(PhotoLineText(progress)));
}

void MainWindowScan::OnPhotoSaved(const std::string& path) {
  Q_EMIT photoSaved(path);
}

void MainWindowScan::OnScanStateChanged() {
  if (window_.isScanning() && !desktop_.running()) {
    desktop_.Started(ScanDesktopReport::Clock::now());
  }
  Q_EMIT stateChanged();
}

void MainWindowScan::OnLinkStarted(const std::string& urlBoxText) {
  Q_EMIT linkStarted(QString::fromStdString(urlBoxText));
}

void MainWindowScan::OnHistoryRowAdded(const ScanHistoryRecord& /*row*/) {
  Q_EMIT historyRowAdded();
}

void MainWindowScan::OnProjectLinksChanged() {
  Q_EMIT linksChanged();
}

void MainWindowScan::ShowResults(const std::string& text, bool warning) {
  // Before the window comes back and the message waits for an answer.
  ReportEnd(text);
  Q_EMIT resultsComing();
  MessageRequest request{text};
  request.icon = warning ? MessageIcon::Warning : MessageIcon::Information;
  request.offerDontAskAgain = true;
  if (messages_.Show(request).dontAskAgain) window_.StopShowingScanResults();
}

void MainWindowScan::OnScanEnded(const std::string& resultsText) {
  ReportEnd(resultsText);
  Q_EMIT ended();
}

}  // namespace trawlix::ui
