// The main window's project links and scan history pages: deleting checked rows and what a
// double click opens.
#include <QTreeWidget>
#include <vector>

#include "operations/DataSession.h"
#include "operations/PanelOperations.h"
#include "ui/MainWindow.h"
#include "ui/ProjectLinksList.h"
#include "ui/ScanHistoryList.h"
#include "ui/ScanResultsDialog.h"

namespace trawlix::ui {

void MainWindow::DeleteCheckedHistory() {
  if (!project_ || isScanning()) return;
  const std::vector<int> ids = history_->checkedIds();
  if (ids.empty()) return;
  const int count = static_cast<int>(ids.size());
  if (!AskUnlessSwitchedOff(DeleteRowsQuestion(count, project_->m_lpszTitle),
                            session_.settings().Values().confirmDeleteHistory)) {
    return;
  }
  const int top = history_->topRow();
  DeleteScanHistoryRows(session_, project_->m_nId, ids);
  ReloadHistory();
  history_->scrollToTopRow(top);
}

void MainWindow::DeleteCheckedLinks() {
  if (!project_ || isScanning()) return;
  const std::vector<int> ids = links_->checkedIds();
  if (ids.empty()) return;
  const int count = static_cast<int>(ids.size());
  if (!AskUnlessSwitchedOff(DeleteRowsQuestion(count, project_->m_lpszTitle),
                            session_.settings().Values().confirmDeleteProjectLinks)) {
    return;
  }
  const int top = links_->topRow();
  DeleteProjectLinkRows(session_, project_->m_nId, ids);
  ReloadLinks();
  links_->scrollToTopRow(top);
}

void MainWindow::ShowScanResults(int row) {
  if (!project_ || row < 0 || row >= static_cast<int>(history_->records().size())) return;
  auto* dialog = new ScanResultsDialog(project_->m_lpszTitle,
                                       history_->records()[static_cast<std::size_t>(row)], this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->open();
}

void MainWindow::OpenLinkOfRow(int row) {
  // The row may be older than the table: the stored link decides.
  const auto link = LoadProjectLink(session_, links_->idAt(row));
  if (link && !link->m_lpszURL.empty()) OpenWebPage(QString::fromStdString(link->m_lpszURL));
}

}  // namespace trawlix::ui
