// The main window's project links and scan history pages (deleting checked rows, what a
// double click opens) and the viewer's pop-up menu of photo commands.
#include <QTreeWidget>
#include <vector>

#include "operations/DataSession.h"
#include "operations/PanelOperations.h"
#include "ui/viewer/PhotoCommandsMenu.h"
#include "ui/viewer/PhotoInfoPanel.h"
#include "ui/viewer/PhotoViewer.h"
#include "ui/window/MainWindow.h"
#include "ui/window/ProjectLinksList.h"
#include "ui/window/ScanHistoryList.h"
#include "ui/window/ScanResultsDialog.h"
#include "ui/window/StatusPanel.h"

namespace trawlix::ui {

void MainWindow::DeleteCheckedHistory() {
  if (!project_ || isScanning()) return;
  const std::vector<int> ids = history_->checkedIds();
  if (ids.empty()) return;
  const int count = static_cast<int>(ids.size());
  if (!AskUnlessSwitchedOff(DeleteRowsQuestion(count, project_->title),
                            session_.settings().Values().confirmDeleteHistory)) {
    return;
  }
  const int top = history_->topRow();
  DeleteScanHistoryRows(session_, project_->id, ids);
  ReloadHistory();
  history_->scrollToTopRow(top);
}

void MainWindow::DeleteCheckedLinks() {
  if (!project_ || isScanning()) return;
  const std::vector<int> ids = links_->checkedIds();
  if (ids.empty()) return;
  const int count = static_cast<int>(ids.size());
  if (!AskUnlessSwitchedOff(DeleteRowsQuestion(count, project_->title),
                            session_.settings().Values().confirmDeleteProjectLinks)) {
    return;
  }
  const int top = links_->topRow();
  DeleteProjectLinkRows(session_, project_->id, ids);
  ReloadLinks();
  links_->scrollToTopRow(top);
}

void MainWindow::ShowScanResults(int row) {
  if (!project_ || row < 0 || row >= static_cast<int>(history_->records().size())) return;
  auto* dialog = new ScanResultsDialog(project_->title,
                                       history_->records()[static_cast<std::size_t>(row)], this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->open();
}

void MainWindow::OpenLinkOfRow(int row) {
  // The row may be older than the table: the stored link decides.
  const auto link = LoadProjectLink(session_, links_->idAt(row));
  if (link && !link->url.empty()) OpenWebPage(QString::fromStdString(link->url));
}

PhotoCommandsMenu& MainWindow::photoCommands() {
  if (photoCommands_ != nullptr) return *photoCommands_;
  photoCommands_ = new PhotoCommandsMenu(session_, messages_, this);
  // The viewer looks at the file again: a deleted one leaves its list, a changed one is drawn
  // anew.
  connect(photoCommands_, &PhotoCommandsMenu::photoRemoved, this,
          [this](int, const QString& path) { viewer_->PhotoChanged(path.toStdString()); });
  connect(photoCommands_, &PhotoCommandsMenu::photoChanged, this, [this](const QString& path) {
    viewer_->PhotoChanged(path.toStdString());
    ShowPhotoInfo(viewer_->currentIndex());
  });
  connect(photoCommands_, &PhotoCommandsMenu::photoAdded, this, [this](int, const QString& path) {
    const int index = viewer_->AddPhoto(path.toStdString());
    if (index >= 0) viewer_->SelectIndex(index);
  });
  // A copy into the project's folder is one of its photos now (elsewhere the viewer ignores it).
  connect(photoCommands_, &PhotoCommandsMenu::photoCopied, this,
          [this](const QString& path) { viewer_->AddPhoto(path.toStdString()); });
  connect(photoCommands_, &PhotoCommandsMenu::currentChanged, this, &MainWindow::AfterPhotoCommand);
  return *photoCommands_;
}

void MainWindow::ShowPhotoMenu(const QPoint& globalPos) {
  std::vector<std::string> paths;
  paths.reserve(static_cast<std::size_t>(viewer_->count()));
  for (int i = 0; i < viewer_->count(); ++i) paths.push_back(viewer_->photo(i).path);
  const VisibleRows visible{viewer_->firstShown(), viewer_->firstShown() + viewer_->perPage() - 1};
  photoCommands().SetPhotos(std::move(paths), viewer_->currentIndex(), visible);
  photoCommands().Popup(globalPos);
}

void MainWindow::AfterPhotoCommand(int current) {
  if (current < 0 || viewer_->count() == 0) {
    viewer_->update();
    status_->clear();
    photoInfo_->clear();
    return;
  }
  // The menu's list is the viewer's, so the index is the viewer's too, unless the viewer
  // placed an added photo elsewhere (it selected that one itself).
  if (current < viewer_->count() && viewer_->photo(current).path == photoCommands_->currentPath()) {
    viewer_->SelectIndex(current);
  }
}

}  // namespace trawlix::ui
