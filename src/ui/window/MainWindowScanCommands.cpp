// The main window's scan commands and what it does with the scan's reports.
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>

#include "operations/DataSession.h"
#include "operations/ProjectOperations.h"
#include "operations/ScanPreferences.h"
#include "scan/engine/ScanController.h"
#include "scan/engine/ScanOptions.h"
#include "ui/window/LinksPage.h"
#include "ui/window/MainWindow.h"
#include "ui/window/ProjectLinksList.h"
#include "ui/window/ViewerPage.h"

namespace trawlix::ui {

void MainWindow::StartScan() {
  BeginScan(ScanStart::New);
}

void MainWindow::ResumeScan() {
  BeginScan(ScanStart::Resume);
}

void MainWindow::RescanEverything() {
  BeginScan(ScanStart::Everything);
}

// The project being scanned stands at the top of the list for the whole scan.
void MainWindow::ScrollProjectToTop() {
  if (QListWidgetItem* current = projectList_->currentItem())
    projectList_->scrollToItem(current, QAbstractItemView::PositionAtTop);
}

void MainWindow::BeginScan(ScanStart how) {
  if (!project_ || isScanning() || !scan_) return;
  // The row as stored now: the editor or a paste may have changed it since it was selected.
  if (auto fresh = LoadProject(session_, project_->id)) project_ = std::move(*fresh);
  ScrollProjectToTop();
  viewerPage_->PrepareForScan();
  ScanOptions options = CurrentScanOptions(session_);
  if (how == ScanStart::Everything) options.skipRemembered = false;
  if (how == ScanStart::Resume)
    scan_->ResumeScan(*project_, options);
  else
    scan_->StartScan(*project_, options);
  UpdateControls();
}

void MainWindow::RescanSelectedLinks() {
  if (!project_ || isScanning() || !scan_) return;
  const ProjectLinksList& links = linksPage_->list();
  const std::vector<int> ids = links.checkedIds();
  if (ids.empty()) return;
  if (auto fresh = LoadProject(session_, project_->id)) project_ = std::move(*fresh);
  ScrollProjectToTop();
  viewerPage_->PrepareForScan();
  scan_->StartMultiLinkScan(*project_, CurrentScanOptions(session_), ids, links.order());
  UpdateControls();
}

void MainWindow::TogglePause() {
  if (isScanning()) scan_->TogglePause();
}

void MainWindow::StopScan() {
  if (isScanning()) scan_->Stop();
}

void MainWindow::OnScanStateChanged() {
  const bool on = session_.settings().Values().showTooltips;
  const bool paused = scanPaused();
  pauseButton_->setToolTip(on ? (paused ? tr("Click to resume...") : tr("Pause Scan")) : QString());
  UpdateControls();
}

void MainWindow::RestoreAfterScan() {
  if (session_.settings().Values().restoreWindowAfterScan && isMinimized()) BringToFront();
}

void MainWindow::OnScanEnded() {
  RestoreAfterScan();
  // A multi-link scan showed each link's address in the box.
  if (project_) SetURLBoxText(QString::fromStdString(project_->url));
  ReloadLists();
  viewerPage_->ShowStatus();
  UpdateControls();
}

}  // namespace trawlix::ui
