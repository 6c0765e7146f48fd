#include "ui/MainWindowScan.h"

#include <QLabel>
#include <QLineEdit>

#include "base/MessageBox.h"
#include "scan/ScanTexts.h"
#include "ui/MainWindow.h"
#include "ui/MainWindowTexts.h"
#include "ui/StatusPanel.h"

namespace trawlix::ui {

void MainWindowScan::OnProgress(const ScanProgress& progress) {
  window_.ShowScanLines(PlainText(PageLineText(progress)), PlainText(PhotoLineText(progress)));
}

void MainWindowScan::OnPhotoSaved(const std::string& path) {
  window_.OnPhotoSaved(path);
}

void MainWindowScan::OnScanStateChanged() {
  window_.OnScanStateChanged();
}

void MainWindowScan::OnLinkStarted(const std::string& urlBoxText) {
  window_.SetURLBoxText(QString::fromStdString(urlBoxText));
}

void MainWindowScan::OnHistoryRowAdded(const CScanHistoryRecord& /*row*/) {
  window_.ReloadHistory();
}

void MainWindowScan::OnProjectLinksChanged() {
  window_.ReloadLinks();
}

void MainWindowScan::ShowResults(const std::string& text) {
  window_.RestoreAfterScan();
  window_.messages_.Inform(text);
}

void MainWindowScan::OnScanEnded(const std::string& /*resultsText*/) {
  window_.OnScanEnded();
}

}  // namespace trawlix::ui
