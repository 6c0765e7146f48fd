#include "ui/window/ViewerPage.h"

#include <QActionGroup>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>
#include <array>
#include <cstdint>
#include <vector>

#include "imaging/codec/PhotoCodec.h"
#include "operations/DataSession.h"
#include "ui/viewer/PhotoCommandsMenu.h"
#include "ui/viewer/PhotoInfoPanel.h"
#include "ui/viewer/PhotoViewer.h"
#include "ui/viewer/PhotoViewerLayout.h"
#include "ui/viewer/PhotoViewerTexts.h"
#include "ui/window/MainWindowState.h"
#include "ui/window/MainWindowTexts.h"
#include "ui/window/PageHost.h"
#include "ui/window/StatusPanel.h"
#include "ui/window/WindowControls.h"

namespace trawlix::ui {

namespace {

// The view menu's entries and the view index each one sets (index 5 has none).
struct ViewEntry {
  const char* label;
  int index;
};
constexpr std::array<ViewEntry, 11> kViews{{{"1 Photo", 0},
                                            {"2 Photos", 1},
                                            {"4 Photos", 2},
                                            {"6 Photos", 3},
                                            {"8 Photos", 4},
                                            {"12 Photos", 6},
                                            {"16 Photos", 7},
                                            {"20 Photos", 8},
                                            {"25 Photos", 9},
                                            {"30 Photos", 10},
                                            {"36 Photos", 11}}};
constexpr int kLastView = 11;

}  // namespace

ViewerPage::ViewerPage(DataSession& session, MessageSink& messages, const PageHost& host,
                       QWidget* parent)
    : QWidget(parent), session_(session), messages_(messages), host_(host) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(4);

  photoInfo_ = new PhotoInfoPanel;
  photoInfo_->setObjectName(QStringLiteral("photoInfo"));
  layout->addWidget(photoInfo_);

  viewer_ = new PhotoViewer;
  viewer_->SetViewIndex(session_.settings().Values().thumbnailView);
  connect(viewer_, &PhotoViewer::pageChanged, this, &ViewerPage::OnPageChanged);
  connect(viewer_, &PhotoViewer::pageTurned, this, &ViewerPage::OnPageTurned);
  connect(viewer_, &PhotoViewer::selectionChanged, this, &ViewerPage::OnSelectionChanged);
  connect(viewer_, &PhotoViewer::hoveredChanged, this, &ViewerPage::OnHovered);
  connect(viewer_, &PhotoViewer::photoDoubleClicked, this, &ViewerPage::OnPhotoDoubleClicked);
  connect(viewer_, &PhotoViewer::contextMenuRequested, this, [this](const QPoint& position) {
    // While a scan follows its photos the selection moves on by itself: no menu for it.
    if (host_.scanning() && viewer_->follow()) return;
    ShowPhotoMenu(position);
  });
  layout->addWidget(viewer_, 1);

  status_ = new StatusPanel;
  status_->setObjectName(QStringLiteral("statusPanel"));
  layout->addWidget(status_);

  layout->addLayout(BuildButtons());
  BuildViewMenu();
}

QHBoxLayout* ViewerPage::BuildButtons() {
  auto* buttons = ButtonRow();
  followButton_ = IconButton(IconName::Follow, tr("Follow Added Photos"), "followButton");
  followButton_->setCheckable(true);
  viewButton_ = IconButton(IconName::ThumbnailView, tr("Change Thumbnail View"), "viewButton");
  viewButton_->setPopupMode(QToolButton::InstantPopup);
  firstButton_ = IconButton(IconName::FirstPage, tr("First Page"), "firstPageButton");
  previousButton_ = IconButton(IconName::PreviousPage, tr("Previous Page"), "previousPageButton");
  nextButton_ = IconButton(IconName::NextPage, tr("Next Page"), "nextPageButton");
  lastButton_ = IconButton(IconName::LastPage, tr("Last Page"), "lastPageButton");
  renamePhotosButton_ = IconButton(IconName::RenamePhotos, tr("Rename Photos"), "renamePhotos");
  deletePhotosButton_ = IconButton(IconName::DeletePhotos, tr("Delete Photos"), "deletePhotos");
  thumbnailsButton_ = IconButton(
      IconName::Thumbnails, PlainText("Create Thumbnails && Mobile Photos"), "thumbnailsButton");
  resizeButton_ = IconButton(IconName::ResizeConvert, tr("Resize/Convert Photos"), "resizeButton");
  importExportButton_ =
      IconButton(IconName::ImportExport, tr("Import/Export Projects"), "importExportButton");
  importExportButton_->setPopupMode(QToolButton::InstantPopup);
  connect(followButton_, &QToolButton::toggled, this, &ViewerPage::SetFollow);
  connect(firstButton_, &QToolButton::clicked, viewer_, &PhotoViewer::FirstPage);
  connect(previousButton_, &QToolButton::clicked, viewer_, &PhotoViewer::PreviousPage);
  connect(nextButton_, &QToolButton::clicked, viewer_, &PhotoViewer::NextPage);
  connect(lastButton_, &QToolButton::clicked, viewer_, &PhotoViewer::LastPage);
  const std::pair<QToolButton*, PhotoTool> tools[] = {
      {renamePhotosButton_, PhotoTool::Rename},
      {deletePhotosButton_, PhotoTool::DeletePhotos},
      {thumbnailsButton_, PhotoTool::Thumbnails},
      {resizeButton_, PhotoTool::Resize}};
  for (const auto& [button, tool] : tools) {
    connect(button, &QToolButton::clicked, this,
            [this, which = tool] { Q_EMIT photoToolRequested(which); });
  }
  for (QToolButton* button :
       {followButton_, viewButton_, firstButton_, previousButton_, nextButton_, lastButton_}) {
    buttons->addWidget(button);
  }
  buttons->addStretch(1);
  for (QToolButton* button : {renamePhotosButton_, deletePhotosButton_, thumbnailsButton_,
                              resizeButton_, importExportButton_}) {
    buttons->addWidget(button);
  }
  return buttons;
}

void ViewerPage::BuildViewMenu() {
  viewMenu_ = new QMenu(this);
  auto* views = new QActionGroup(viewMenu_);
  for (const ViewEntry& entry : kViews) {
    QAction* action = viewMenu_->addAction(tr(entry.label));
    action->setCheckable(true);
    action->setData(entry.index);
    views->addAction(action);
    connect(action, &QAction::triggered, this,
            [this, index = entry.index] { SetThumbnailView(index); });
  }
  connect(viewMenu_, &QMenu::aboutToShow, this, &ViewerPage::CheckThumbnailView);
  viewButton_->setMenu(viewMenu_);
}

void ViewerPage::AddKeys(QWidget& window) {
  const auto step = [this](int by) {
    return [this, by] { SetThumbnailView(session_.settings().Values().thumbnailView + by); };
  };
  AddWindowKey(window, QKeySequence(Qt::CTRL | Qt::Key_Minus), step(-1));
  AddWindowKey(window, QKeySequence(Qt::CTRL | Qt::Key_Plus), step(1));
  AddWindowKey(window, QKeySequence(Qt::CTRL | Qt::Key_Equal), step(1));
  // The keys page as the buttons do, and not while the buttons refuse (follow mode).
  const std::pair<Qt::Key, QToolButton*> paging[] = {{Qt::Key_Home, firstButton_},
                                                     {Qt::Key_Left, previousButton_},
                                                     {Qt::Key_Right, nextButton_},
                                                     {Qt::Key_End, lastButton_}};
  for (const auto& [key, button] : paging) {
    AddWindowKey(window, QKeySequence(Qt::CTRL | key), [target = button] {
      if (target->isEnabled()) target->click();
    });
  }
  AddWindowKey(window, QKeySequence(Qt::ALT | Qt::Key_F), [this] { followButton_->click(); });
}

void ViewerPage::ApplyToolTips(bool on) {
  for (QToolButton* button : {followButton_, viewButton_, firstButton_, previousButton_,
                              nextButton_, lastButton_, renamePhotosButton_, deletePhotosButton_,
                              thumbnailsButton_, resizeButton_, importExportButton_}) {
    button->setToolTip(on ? button->accessibleName() : QString());
  }
}

void ViewerPage::ApplyEnabled(const MainWindowEnabled& enabled) {
  // A scan that ended leaves the follow box as it was; paging works again.
  if (!host_.scanning()) UpdatePagingButtons();
  importExportButton_->setEnabled(enabled.importExport);
  for (QToolButton* tool :
       {renamePhotosButton_, deletePhotosButton_, thumbnailsButton_, resizeButton_}) {
    tool->setEnabled(enabled.photoTools);
  }
}

void ViewerPage::SetImportExportMenu(QMenu* menu) {
  importExportButton_->setMenu(menu);
}

void ViewerPage::ApplyOptions() {
  const SettingsValues& values = session_.settings().Values();
  status_->setPanelColor(values.panelColor);
  photoInfo_->setPanelColor(values.panelColor);
  viewer_->SetDropShadow(values.viewerDropShadow);
  if (viewer_->viewIndex() != values.thumbnailView) viewer_->SetViewIndex(values.thumbnailView);
}

void ViewerPage::CheckThumbnailView() {
  const int current = session_.settings().Values().thumbnailView;
  for (QAction* action : viewMenu_->actions()) {
    action->setChecked(action->data().toInt() == current);
  }
}

void ViewerPage::SetThumbnailView(int index) {
  if (index < 0 || index > kLastView) return;
  SettingsValues& values = session_.settings().Values();
  viewer_->SetViewIndex(index);  // the view in use goes back to its first page
  if (values.thumbnailView == index) return;
  values.thumbnailView = index;
  session_.settings().SaveSettings();
}

// ---------------------------------------------------------------------------------------------
// Photos

void ViewerPage::ShowProject() {
  photoInfo_->clear();
  status_->clear();
  LoadPhotos();
}

void ViewerPage::LoadPhotos() {
  const ProjectsRecord* project = host_.shownProject();
  if (project == nullptr || project->saveTo.empty()) {
    viewer_->Clear();
    return;
  }
  std::vector<std::string> excluded;
  if (project->excludeThumbnailFolder && !project->thumbnailSaveTo.empty()) {
    excluded.push_back(project->thumbnailSaveTo);
  }
  if (project->excludeMobileFolder && !project->mobileSaveTo.empty()) {
    excluded.push_back(project->mobileSaveTo);
  }
  viewer_->LoadFolder(project->saveTo, excluded);
}

void ViewerPage::Clear() {
  status_->clear();
  photoInfo_->clear();
  viewer_->Clear();
}

void ViewerPage::OnPageChanged() {
  UpdatePagingButtons();
  ShowStatus();
  Q_EMIT photosShown();
}

void ViewerPage::OnPageTurned() {
  // In a grid the panel describes the page; otherwise the selection when it is on it.
  const bool grid = viewer_->viewIndex() != PhotoViewerLayout::kSingleView;
  ShowPhotoInfo(grid && !host_.scanning() ? (viewer_->count() > 0 ? viewer_->firstShown() : -1)
                                          : viewer_->currentIndex());
}

void ViewerPage::OnSelectionChanged(int index) {
  ShowStatus(viewer_->viewIndex() == PhotoViewerLayout::kSingleView);
  ShowPhotoInfo(index);
}

void ViewerPage::OnHovered(int index) {
  const bool scanning = host_.scanning();
  if (scanning && viewer_->follow()) return;  // the panel shows the newest photo
  if (index < 0 && scanning) return;
  ShowPhotoInfo(index);
}

void ViewerPage::ShowPhotoInfo(int index) {
  if (index < 0 || index >= viewer_->count()) {
    photoInfo_->clear();
    return;
  }
  const PhotoViewerEntry& entry = viewer_->photo(index);
  PhotoInfoPanel::Photo photo;
  photo.path = QString::fromStdString(entry.path);
  photo.name = QString::fromStdString(entry.name);
  photo.width = entry.width;
  photo.height = entry.height;
  if (photo.width < 0) {
    // Not drawn yet: the header tells the size without decoding the photo.
    const PhotoSize size = ReadPhotoSize(entry.path);
    photo.width = size.width;
    photo.height = size.height;
  }
  photo.bytes = static_cast<std::int64_t>(entry.fileSize);
  photo.time = QFileInfo(photo.path).lastModified();
  photoInfo_->setPhoto(photo);
}

void ViewerPage::ShowStatus(bool plainNumbers) {
  // While the scan runs the panel reports the scan.
  if (host_.scanning() && !host_.scanPaused()) return;
  status_->setStatus(PhotoViewerTexts::StatusLine(
      viewer_->paging(),
      plainNumbers ? PhotoViewerTexts::Numbers::Plain : PhotoViewerTexts::Numbers::Grouped));
}

void ViewerPage::UpdatePagingButtons() {
  // While a scan runs, forward paging is follow mode's business; after it, the box only
  // waits for the next scan.
  const bool follow = followButton_->isChecked() && host_.scanning();
  firstButton_->setEnabled(!viewer_->atFirstPage());
  previousButton_->setEnabled(!viewer_->atFirstPage());
  nextButton_->setEnabled(!follow && !viewer_->atLastPage());
  lastButton_->setEnabled(!follow && !viewer_->atLastPage());
}

// ---------------------------------------------------------------------------------------------
// Scans

void ViewerPage::PrepareForScan() {
  status_->clear();
  if (session_.settings().Values().autoFollow) followButton_->setChecked(true);
}

void ViewerPage::FollowAddedPhotos() {
  followButton_->setChecked(true);
}

void ViewerPage::SetFollow(bool on) {
  viewer_->SetFollow(on);
  if (!on) return;
  // Until the next photo arrives the last page is the place to be.
  for (QToolButton* button : {firstButton_, previousButton_, nextButton_, lastButton_}) {
    button->setEnabled(false);
  }
}

void ViewerPage::AddScannedPhoto(const std::string& path) {
  viewer_->AddPhoto(path);
}

void ViewerPage::ShowScanLines(const QString& pageLine, const QString& photoLine) {
  status_->setStatus(pageLine);
  status_->setDetail(photoLine);
}

// ---------------------------------------------------------------------------------------------
// Photo commands

void ViewerPage::OnPhotoDoubleClicked(int index) {
  if (index < 0 || index >= viewer_->count()) return;
  const int behaviour = session_.settings().Values().viewerDoubleClick;
  if (behaviour == 1 && viewer_->viewIndex() != PhotoViewerLayout::kSingleView) {
    SetThumbnailView(PhotoViewerLayout::kSingleView);
    return;
  }
  // The photo commands act on the photo clicked.
  std::vector<std::string> paths;
  paths.reserve(static_cast<std::size_t>(viewer_->count()));
  for (int i = 0; i < viewer_->count(); ++i) paths.push_back(viewer_->photo(i).path);
  const int first = viewer_->firstShown();
  photoCommands().SetPhotos(std::move(paths), index, {first, first + viewer_->perPage() - 1});
  switch (behaviour) {
    case 2:
      photoCommands().EditPhoto();
      break;
    case 3:
      photoCommands().ViewPhoto();
      break;
    default:
      photoCommands().ShowProperties();
      break;
  }
}

PhotoCommandsMenu& ViewerPage::photoCommands() {
  if (photoCommands_ != nullptr) return *photoCommands_;
  // The window is the parent of the menu's dialogs.
  photoCommands_ = new PhotoCommandsMenu(session_, messages_, window());
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
  connect(photoCommands_, &PhotoCommandsMenu::currentChanged, this, &ViewerPage::AfterPhotoCommand);
  return *photoCommands_;
}

void ViewerPage::ShowPhotoMenu(const QPoint& globalPos) {
  std::vector<std::string> paths;
  paths.reserve(static_cast<std::size_t>(viewer_->count()));
  for (int i = 0; i < viewer_->count(); ++i) paths.push_back(viewer_->photo(i).path);
  const VisibleRows visible{viewer_->firstShown(), viewer_->firstShown() + viewer_->perPage() - 1};
  photoCommands().SetPhotos(std::move(paths), viewer_->currentIndex(), visible);
  const ProjectsRecord* project = host_.shownProject();
  photoCommands().SetDeleteAllowed(!host_.scanning() || viewer_->follow() ||
                                   (project != nullptr && project->autoRename));
  photoCommands().Popup(globalPos);
}

void ViewerPage::AfterPhotoCommand(int current) {
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
