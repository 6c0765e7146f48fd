#include "ui/window/MainWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "base/Text.h"
#include "frontend/QtUiThread.h"
#include "frontend/Rendering.h"
#include "imaging/codec/PhotoCodec.h"
#include "operations/DataSession.h"
#include "scan/engine/ScanController.h"
#include "ui/Icons.h"
#include "ui/viewer/PhotoCommandsMenu.h"
#include "ui/viewer/PhotoInfoPanel.h"
#include "ui/viewer/PhotoViewer.h"
#include "ui/viewer/PhotoViewerLayout.h"
#include "ui/viewer/PhotoViewerTexts.h"
#include "ui/window/MainWindowProfile.h"
#include "ui/window/MainWindowScan.h"
#include "ui/window/MainWindowTexts.h"
#include "ui/window/Profile.h"
#include "ui/window/ProjectLinksList.h"
#include "ui/window/ScanHistoryList.h"
#include "ui/window/StatusPanel.h"
#include "ui/window/WelcomeDialog.h"

namespace trawlix::ui {

namespace {

constexpr int kSmallIcon = 24;
constexpr int kScanIcon = 32;
// The settings' untouched window size is the minimum: a first start opens roomier.
constexpr QSize kMinimumSize(793, 606);
constexpr QSize kFirstSize(1100, 720);

QToolButton* IconButton(IconName icon, const QString& toolTip, const char* objectName,
                        int iconSize = kSmallIcon) {
  auto* button = new QToolButton;
  button->setIcon(Icon(icon));
  button->setIconSize(QSize(iconSize, iconSize));
  button->setObjectName(QLatin1String(objectName));
  // The name stays when the tool tips are switched off: screen readers still need it.
  button->setAccessibleName(toolTip);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::StrongFocus);
  return button;
}

QPushButton* TextButton(IconName icon, const QString& caption, const char* objectName) {
  auto* button = new QPushButton(Icon(icon), caption);
  button->setIconSize(QSize(kSmallIcon, kSmallIcon));
  button->setObjectName(QLatin1String(objectName));
  button->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
  button->setAutoDefault(false);
  return button;
}

QHBoxLayout* Row() {
  auto* row = new QHBoxLayout;
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(4);
  return row;
}

}  // namespace

MainWindow::MainWindow(DataSession& session, MessageSink& messages, QWidget* parent)
    : QMainWindow(parent),
      session_(session),
      messages_(messages),
      uiThread_(std::make_unique<QtUiThread>()),
      renderer_(MakePageRenderer()),
      scanObserver_(std::make_unique<MainWindowScan>(*this)),
      scan_(std::make_unique<ScanController>(*uiThread_, messages_, *scanObserver_)) {
  scan_->SetRenderer(renderer_.get());
  setObjectName(QStringLiteral("MainWindow"));
  setWindowTitle(QStringLiteral("Trawlix() PRO"));
  setWindowIcon(Icon(IconName::Application));
  setMinimumSize(kMinimumSize);

  BuildControls();
  BuildMenus();
  BuildShortcuts();
  ApplyToolTips();
  for (StatusPanel* panel : {status_, historyPanel_, linksPanel_}) {
    panel->setPanelColor(session_.settings().Values().panelColor);
  }
  ApplyViewerOptions();
  historyPanel_->setDetail(QStringLiteral("No scanning sessions."));
  ShowPage(ViewerPage);
  RestorePlacement();

  FillCategories(kAllCategoriesId);
  RestoreSelection();

  startupTimer_ = new QTimer(this);
  startupTimer_->setSingleShot(true);
  connect(startupTimer_, &QTimer::timeout, this, &MainWindow::OnStartupTimer);
  startupTimer_->start(1000);
  importTimer_ = new QTimer(this);
  importTimer_->setSingleShot(true);
  connect(importTimer_, &QTimer::timeout, this, &MainWindow::OnImportTimer);

  UpdateControls();
  findBox_->setText(Profile().FindText());
  findBox_->setFocus();
  findBox_->end(false);
}

MainWindow::~MainWindow() {
  // The controller joins its workers while the widgets it reports to still exist.
  scan_.reset();
}

bool MainWindow::isScanning() const {
  return scan_ && scan_->IsScanning();
}

// ---------------------------------------------------------------------------------------------
// Controls

void MainWindow::BuildControls() {
  auto* central = new QWidget;
  auto* outer = new QHBoxLayout(central);
  outer->setContentsMargins(9, 9, 9, 9);
  // The user decides how much room the project titles get.
  auto* columns = new QSplitter(Qt::Horizontal);
  columns->setChildrenCollapsible(false);
  columns->setHandleWidth(10);
  outer->addWidget(columns);
  columns->addWidget(BuildProjectColumn());

  auto* rightSide = new QWidget;
  auto* right = new QVBoxLayout(rightSide);
  right->setContentsMargins(0, 0, 0, 0);
  right->setSpacing(6);
  right->addWidget(BuildAddressRow());
  tabs_ = new QTabWidget;
  tabs_->setObjectName(QStringLiteral("pages"));
  tabs_->setAccessibleName(tr("Pages"));
  tabs_->setIconSize(QSize(16, 16));
  tabs_->addTab(BuildViewerPage(), Icon(IconName::TabViewer), tr("Photo Viewer && Scanner"));
  tabs_->addTab(BuildLinksPage(), Icon(IconName::TabLinks), tr("Project Links"));
  tabs_->addTab(BuildHistoryPage(), Icon(IconName::TabHistory), tr("Scan History"));
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int page) { ShowPage(page); });
  right->addWidget(tabs_, 1);
  columns->addWidget(rightSide);
  columns->setStretchFactor(0, 0);
  columns->setStretchFactor(1, 1);
  columns->setSizes({260, 840});
  setCentralWidget(central);

  setTabOrder(findBox_, findButton_);
  setTabOrder(findButton_, filter_);
  setTabOrder(filter_, projectList_);
  setTabOrder(projectList_, newButton_);
}

QWidget* MainWindow::BuildProjectColumn() {
  auto* column = new QWidget;
  column->setObjectName(QStringLiteral("projectColumn"));
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(6);

  auto* findRow = Row();
  findBox_ = new QLineEdit;
  findBox_->setObjectName(QStringLiteral("findBox"));
  findBox_->setAccessibleName(tr("Quick Find"));
  findBox_->setPlaceholderText(tr("Quick find (Enter)"));
  connect(findBox_, &QLineEdit::returnPressed, this, &MainWindow::QuickFind);
  findButton_ = IconButton(IconName::Find, tr("Find Project"), "findButton");
  connect(findButton_, &QToolButton::clicked, this, &MainWindow::FindProject);
  findRow->addWidget(findBox_, 1);
  findRow->addWidget(findButton_);
  layout->addLayout(findRow);

  filter_ = new QComboBox;
  filter_->setObjectName(QStringLiteral("categoryFilter"));
  filter_->setAccessibleName(tr("Category"));
  connect(filter_, &QComboBox::currentIndexChanged, this, [this] {
    if (!filling_) OnFilterChanged();
  });
  // On Linux a combo box is announced by its label relation, so the filter gets a real label.
  auto* filterRow = Row();
  auto* filterLabel = new QLabel(tr("Ca&tegory:"));
  filterLabel->setBuddy(filter_);
  filterRow->addWidget(filterLabel);
  filterRow->addWidget(filter_, 1);
  layout->addLayout(filterRow);

  projectList_ = new QListWidget;
  projectList_->setObjectName(QStringLiteral("projectList"));
  projectList_->setAccessibleName(tr("Projects"));
  projectList_->setSelectionMode(QAbstractItemView::SingleSelection);
  projectList_->setContextMenuPolicy(Qt::CustomContextMenu);
  projectList_->setUniformItemSizes(true);
  connect(projectList_, &QListWidget::currentRowChanged, this, [this] {
    if (!filling_) OnProjectSelected();
  });
  connect(projectList_, &QListWidget::itemDoubleClicked, this, [this] { EditProject(); });
  connect(projectList_, &QWidget::customContextMenuRequested, this, &MainWindow::ShowProjectMenu);
  layout->addWidget(projectList_, 1);

  newButton_ = TextButton(IconName::NewProject, tr("&New Project"), "newProjectButton");
  editButton_ = TextButton(IconName::EditProject, tr("&Edit Project"), "editProjectButton");
  deleteButton_ = TextButton(IconName::DeleteProject, tr("&Delete Project"), "deleteProjectButton");
  categoriesButton_ = TextButton(IconName::Categories, tr("&Categories"), "categoriesButton");
  optionsButton_ = TextButton(IconName::Options, tr("&Options"), "optionsButton");
  aboutButton_ = TextButton(IconName::About, tr("&About"), "aboutButton");
  helpButton_ = TextButton(IconName::Help, tr("&Help"), "helpButton");
  exitButton_ = TextButton(IconName::Exit, tr("E&xit"), "exitButton");
  connect(newButton_, &QPushButton::clicked, this, &MainWindow::NewProject);
  connect(editButton_, &QPushButton::clicked, this, &MainWindow::EditProject);
  connect(deleteButton_, &QPushButton::clicked, this, &MainWindow::DeleteProject);
  connect(categoriesButton_, &QPushButton::clicked, this, &MainWindow::ShowCategories);
  connect(optionsButton_, &QPushButton::clicked, this, &MainWindow::ShowOptions);
  connect(aboutButton_, &QPushButton::clicked, this, &MainWindow::ShowAbout);
  connect(exitButton_, &QPushButton::clicked, this, &MainWindow::Exit);

  auto* buttons = new QGridLayout;
  buttons->setSpacing(4);
  QPushButton* const order[] = {newButton_,     editButton_,  deleteButton_, categoriesButton_,
                                optionsButton_, aboutButton_, helpButton_,   exitButton_};
  for (int i = 0; i < 8; ++i) {
    QPushButton* button = order[i];
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    buttons->addWidget(button, i / 2, i % 2);
  }
  layout->addLayout(buttons);
  column->setMinimumWidth(210);
  return column;
}

QWidget* MainWindow::BuildAddressRow() {
  auto* row = new QWidget;
  auto* layout = Row();
  row->setLayout(layout);
  urlBox_ = new QLineEdit;
  urlBox_->setObjectName(QStringLiteral("urlBox"));
  urlBox_->setAccessibleName(tr("Project URL"));
  urlBox_->setPlaceholderText(QStringLiteral("https://"));
  connect(urlBox_, &QLineEdit::textChanged, this, [this] {
    if (urlBox_->text().isEmpty() != lastURLBoxText_.empty()) UpdateControls();
    lastURLBoxText_ = urlBox_->text().toStdString();
  });
  visitButton_ = IconButton(IconName::VisitURL, tr("Visit URL"), "visitButton");
  pasteButton_ = IconButton(IconName::Paste, PasteToolTip(session_.settings().Values().pasteAndGo),
                            "pasteButton");
  startButton_ = IconButton(IconName::Start, tr("Start Scanning"), "startButton", kScanIcon);
  pauseButton_ = IconButton(IconName::Pause, tr("Pause Scan"), "pauseButton", kScanIcon);
  stopButton_ = IconButton(IconName::Stop, tr("Stop Scan"), "stopButton", kScanIcon);
  saveToButton_ = IconButton(IconName::OpenFolder, tr("Open 'Save To' Folder"), "saveToButton");
  saveToButton_->setPopupMode(QToolButton::InstantPopup);
  connect(visitButton_, &QToolButton::clicked, this, &MainWindow::VisitURL);
  connect(pasteButton_, &QToolButton::clicked, this, &MainWindow::PasteAndGo);
  connect(startButton_, &QToolButton::clicked, this, &MainWindow::StartScan);
  connect(pauseButton_, &QToolButton::clicked, this, &MainWindow::TogglePause);
  connect(stopButton_, &QToolButton::clicked, this, &MainWindow::StopScan);
  layout->addWidget(urlBox_, 1);
  layout->addWidget(visitButton_);
  layout->addSpacing(8);
  for (QToolButton* button :
       {pasteButton_, startButton_, pauseButton_, stopButton_, saveToButton_}) {
    layout->addWidget(button);
  }
  return row;
}

QWidget* MainWindow::BuildViewerPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(4);

  photoInfo_ = new PhotoInfoPanel;
  photoInfo_->setObjectName(QStringLiteral("photoInfo"));
  layout->addWidget(photoInfo_);

  viewer_ = new PhotoViewer;
  viewer_->SetViewIndex(session_.settings().Values().thumbnailView);
  connect(viewer_, &PhotoViewer::pageChanged, this, &MainWindow::OnViewerPageChanged);
  connect(viewer_, &PhotoViewer::pageTurned, this, &MainWindow::OnViewerPageTurned);
  connect(viewer_, &PhotoViewer::selectionChanged, this, &MainWindow::OnViewerSelectionChanged);
  connect(viewer_, &PhotoViewer::hoveredChanged, this, &MainWindow::OnViewerHovered);
  connect(viewer_, &PhotoViewer::photoDoubleClicked, this, &MainWindow::OnPhotoDoubleClicked);
  connect(viewer_, &PhotoViewer::contextMenuRequested, this, [this](const QPoint& position) {
    // While a scan follows its photos the selection moves on by itself: no menu for it.
    if (isScanning() && viewer_->follow()) return;
    ShowPhotoMenu(position);
  });
  layout->addWidget(viewer_, 1);

  status_ = new StatusPanel;
  status_->setObjectName(QStringLiteral("statusPanel"));
  layout->addWidget(status_);

  auto* buttons = Row();
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
  connect(followButton_, &QToolButton::toggled, this, &MainWindow::SetFollow);
  connect(firstButton_, &QToolButton::clicked, viewer_, &PhotoViewer::FirstPage);
  connect(previousButton_, &QToolButton::clicked, viewer_, &PhotoViewer::PreviousPage);
  connect(nextButton_, &QToolButton::clicked, viewer_, &PhotoViewer::NextPage);
  connect(lastButton_, &QToolButton::clicked, viewer_, &PhotoViewer::LastPage);
  connect(renamePhotosButton_, &QToolButton::clicked, this,
          [this] { OpenPhotoTool(PhotoTool::Rename); });
  connect(deletePhotosButton_, &QToolButton::clicked, this,
          [this] { OpenPhotoTool(PhotoTool::DeletePhotos); });
  connect(thumbnailsButton_, &QToolButton::clicked, this,
          [this] { OpenPhotoTool(PhotoTool::Thumbnails); });
  connect(resizeButton_, &QToolButton::clicked, this, [this] { OpenPhotoTool(PhotoTool::Resize); });
  for (QToolButton* button :
       {followButton_, viewButton_, firstButton_, previousButton_, nextButton_, lastButton_}) {
    buttons->addWidget(button);
  }
  buttons->addStretch(1);
  for (QToolButton* button : {renamePhotosButton_, deletePhotosButton_, thumbnailsButton_,
                              resizeButton_, importExportButton_}) {
    buttons->addWidget(button);
  }
  layout->addLayout(buttons);
  return page;
}

QWidget* MainWindow::BuildLinksPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(4);
  links_ = new ProjectLinksList;
  links_->setObjectName(QStringLiteral("linksList"));
  links_->RestoreColumnWidths(Profile());
  connect(links_, &ProjectLinksList::checksChanged, this, &MainWindow::UpdateControls);
  connect(links_, &ProjectLinksList::orderChanged, this, &MainWindow::ReloadLinks);
  connect(links_, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { OpenLinkOfRow(links_->indexOfTopLevelItem(item)); });
  layout->addWidget(links_, 1);
  linksPanel_ = new StatusPanel;
  linksPanel_->setObjectName(QStringLiteral("linksPanel"));
  linksPanel_->setAccessibleName(tr("Project Links Summary"));
  layout->addWidget(linksPanel_);

  auto* buttons = Row();
  linksSelectButton_ = IconButton(IconName::SelectAll, tr("Select/Deselect All"), "linksSelect");
  linksSelectButton_->setPopupMode(QToolButton::InstantPopup);
  linksDeleteButton_ =
      IconButton(IconName::DeleteSelected, tr("Delete Selected Project Links"), "linksDelete");
  rescanButton_ = IconButton(IconName::Rescan, tr("Rescan Selected URLs"), "rescanButton");
  connect(linksDeleteButton_, &QToolButton::clicked, this, &MainWindow::DeleteCheckedLinks);
  connect(rescanButton_, &QToolButton::clicked, this, &MainWindow::RescanSelectedLinks);
  buttons->addWidget(linksSelectButton_);
  buttons->addWidget(linksDeleteButton_);
  buttons->addStretch(1);
  buttons->addWidget(rescanButton_);
  layout->addLayout(buttons);
  return page;
}

QWidget* MainWindow::BuildHistoryPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(4);
  history_ = new ScanHistoryList;
  history_->setObjectName(QStringLiteral("historyList"));
  history_->RestoreColumnWidths(Profile());
  connect(history_, &ScanHistoryList::checksChanged, this, &MainWindow::UpdateControls);
  connect(history_, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { ShowScanResults(history_->indexOfTopLevelItem(item)); });
  layout->addWidget(history_, 1);
  historyPanel_ = new StatusPanel;
  historyPanel_->setObjectName(QStringLiteral("historyPanel"));
  historyPanel_->setAccessibleName(tr("Scan History Summary"));
  layout->addWidget(historyPanel_);

  auto* buttons = Row();
  historySelectButton_ =
      IconButton(IconName::SelectAll, tr("Select/Deselect All"), "historySelect");
  historySelectButton_->setPopupMode(QToolButton::InstantPopup);
  historyDeleteButton_ =
      IconButton(IconName::DeleteSelected, tr("Delete Selected Scan History"), "historyDelete");
  connect(historyDeleteButton_, &QToolButton::clicked, this, &MainWindow::DeleteCheckedHistory);
  buttons->addWidget(historySelectButton_);
  buttons->addWidget(historyDeleteButton_);
  buttons->addStretch(1);
  layout->addLayout(buttons);
  return page;
}

void MainWindow::BuildShortcuts() {
  const auto add = [this](QKeySequence keys, auto slot) {
    auto* shortcut = new QShortcut(keys, this);
    connect(shortcut, &QShortcut::activated, this, slot);
    // Alt+H is also the Help button's mnemonic: the page wins, the button only takes focus.
    connect(shortcut, &QShortcut::activatedAmbiguously, this, slot);
    return shortcut;
  };
  add(QKeySequence(Qt::CTRL | Qt::Key_Minus),
      [this] { SetThumbnailView(session_.settings().Values().thumbnailView - 1); });
  add(QKeySequence(Qt::CTRL | Qt::Key_Plus),
      [this] { SetThumbnailView(session_.settings().Values().thumbnailView + 1); });
  add(QKeySequence(Qt::CTRL | Qt::Key_Equal),
      [this] { SetThumbnailView(session_.settings().Values().thumbnailView + 1); });
  // The keys page as the buttons do, and not while the buttons refuse (follow mode).
  for (QToolButton* button : {firstButton_, previousButton_, nextButton_, lastButton_}) {
    const Qt::Key key = button == firstButton_      ? Qt::Key_Home
                        : button == previousButton_ ? Qt::Key_Left
                        : button == nextButton_     ? Qt::Key_Right
                                                    : Qt::Key_End;
    add(QKeySequence(Qt::CTRL | key), [button] {
      if (button->isEnabled()) button->click();
    });
  }
  add(QKeySequence(Qt::ALT | Qt::Key_F), [this] { followButton_->click(); });
  add(QKeySequence(Qt::CTRL | Qt::Key_Up), [this] { SelectPreviousCategory(); });
  add(QKeySequence(Qt::CTRL | Qt::Key_Down), [this] { SelectNextCategory(); });
  add(QKeySequence(Qt::ALT | Qt::Key_S), [this] { ShowPage(ViewerPage); });
  add(QKeySequence(Qt::ALT | Qt::Key_L), [this] { ShowPage(LinksPage); });
  add(QKeySequence(Qt::ALT | Qt::Key_H), [this] { ShowPage(HistoryPage); });
  projectList_->installEventFilter(this);
  // Buttons have no use for Up and Down: there the keys walk the project list too.
  // Menu buttons keep Down for opening their menu.
  for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
    const auto* tool = qobject_cast<QToolButton*>(button);
    const auto* push = qobject_cast<QPushButton*>(button);
    if ((tool != nullptr && tool->menu() != nullptr) ||
        (push != nullptr && push->menu() != nullptr)) {
      continue;
    }
    button->installEventFilter(this);
  }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // Up and Down go through the commands, which refuse while scanning.
  const bool listOrButton =
      watched == projectList_ || qobject_cast<QAbstractButton*>(watched) != nullptr;
  if (listOrButton && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() == Qt::NoModifier && key->key() == Qt::Key_Up) {
      SelectPreviousProject();
      return true;
    }
    if (key->modifiers() == Qt::NoModifier && key->key() == Qt::Key_Down) {
      SelectNextProject();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::ApplyToolTips() {
  const bool on = session_.settings().Values().showTooltips;
  const auto set = [on](QWidget* widget, const QString& text) {
    widget->setToolTip(on ? text : QString());
  };
  for (QToolButton* button :
       {findButton_,          startButton_,        stopButton_,         saveToButton_,
        followButton_,        viewButton_,         firstButton_,        previousButton_,
        nextButton_,          lastButton_,         linksSelectButton_,  historySelectButton_,
        historyDeleteButton_, linksDeleteButton_,  importExportButton_, rescanButton_,
        renamePhotosButton_,  deletePhotosButton_, thumbnailsButton_,   resizeButton_,
        visitButton_}) {
    set(button, button->accessibleName());
  }
  pasteButton_->setAccessibleName(PasteToolTip(session_.settings().Values().pasteAndGo));
  set(pasteButton_, pasteButton_->accessibleName());
  set(pauseButton_, scan_ && scan_->IsPaused() ? tr("Click to resume...") : tr("Pause Scan"));
}

void MainWindow::UpdateControls() {
  MainWindowFacts facts;
  facts.hasProject = project_.has_value();
  facts.scanning = isScanning();
  facts.paused = scan_ && scan_->IsPaused();
  facts.urlBoxEmpty = urlBox_->text().trimmed().isEmpty();
  facts.viewerHasPhotos = viewer_->count() > 0;
  facts.historyRows = history_->rowCount();
  facts.checkedHistoryRows = history_->checkedCount();
  facts.linkRows = links_->rowCount();
  facts.checkedLinkRows = links_->checkedCount();
  enabled_ = EnabledControls(facts);

  findButton_->setEnabled(enabled_.find);
  startButton_->setEnabled(enabled_.start);
  pauseButton_->setEnabled(enabled_.pause);
  stopButton_->setEnabled(enabled_.stop);
  saveToButton_->setEnabled(enabled_.saveTo);
  pasteButton_->setEnabled(enabled_.paste);
  urlBox_->setEnabled(enabled_.urlBox);
  visitButton_->setEnabled(enabled_.visitURL);
  newButton_->setEnabled(enabled_.newProject);
  editButton_->setEnabled(enabled_.editProject);
  deleteButton_->setEnabled(enabled_.deleteProject);
  categoriesButton_->setEnabled(enabled_.categories);
  filter_->setEnabled(enabled_.filter);
  projectList_->setEnabled(enabled_.projectList);
  importExportButton_->setEnabled(enabled_.importExport);
  optionsButton_->setEnabled(enabled_.options);
  historySelectButton_->setEnabled(enabled_.selectHistory);
  historyDeleteButton_->setEnabled(enabled_.deleteHistory);
  linksSelectButton_->setEnabled(enabled_.selectLinks);
  linksDeleteButton_->setEnabled(enabled_.deleteLinks);
  rescanButton_->setEnabled(enabled_.rescan);
  for (QToolButton* tool :
       {renamePhotosButton_, deletePhotosButton_, thumbnailsButton_, resizeButton_}) {
    tool->setEnabled(enabled_.photoTools);
  }
  projectMenu_->setEnabled(!facts.scanning);
}

void MainWindow::SetURLBoxText(const QString& text) {
  urlBox_->setText(text);
  urlBox_->setCursorPosition(0);  // the host tells more than the end of a long address
}

void MainWindow::ShowNotYetAvailable() {
  messages_.Inform("This tool is not available yet.");
}

void MainWindow::OpenPhotoTool(PhotoTool tool) {
  if (isScanning() || !project_) return;
  const std::unique_ptr<BatchToolDialog> dialog =
      MakePhotoToolDialog(tool, session_, *project_, messages_, this);
  dialog->exec();
  project_ = dialog->project();  // the tool may have stored its options with the project
  LoadViewerPhotos();
}

void MainWindow::ShowPage(int page) {
  if (page < ViewerPage || page > HistoryPage) return;
  if (tabs_->currentIndex() != page) {
    tabs_->setCurrentIndex(page);  // comes back here through currentChanged
    return;
  }
  if (page == LinksPage) links_->setFocus();
  if (page == HistoryPage) history_->setFocus();
}

// ---------------------------------------------------------------------------------------------
// Viewer page

void MainWindow::LoadViewerPhotos() {
  if (!project_ || project_->saveTo.empty()) {
    viewer_->Clear();
    return;
  }
  std::vector<std::string> excluded;
  if (project_->excludeThumbnailFolder && !project_->thumbnailSaveTo.empty()) {
    excluded.push_back(project_->thumbnailSaveTo);
  }
  if (project_->excludeMobileFolder && !project_->mobileSaveTo.empty()) {
    excluded.push_back(project_->mobileSaveTo);
  }
  viewer_->LoadFolder(project_->saveTo, excluded);
}

void MainWindow::OnViewerPageChanged() {
  UpdatePagingButtons();
  ShowViewerStatus();
  // The photo tools follow the number of photos.
  if (enabled_.photoTools != (viewer_->count() > 0)) UpdateControls();
}

void MainWindow::OnViewerPageTurned() {
  // In a grid the panel describes the page; otherwise the selection when it is on it.
  const bool grid = viewer_->viewIndex() != PhotoViewerLayout::kSingleView;
  ShowPhotoInfo(grid && !isScanning() ? (viewer_->count() > 0 ? viewer_->firstShown() : -1)
                                      : viewer_->currentIndex());
}

void MainWindow::OnViewerSelectionChanged(int index) {
  ShowViewerStatus(viewer_->viewIndex() == PhotoViewerLayout::kSingleView);
  ShowPhotoInfo(index);
}

void MainWindow::OnViewerHovered(int index) {
  const bool scanning = isScanning();
  if (scanning && viewer_->follow()) return;  // the panel shows the newest photo
  if (index < 0 && scanning) return;
  ShowPhotoInfo(index);
}

void MainWindow::ShowPhotoInfo(int index) {
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

void MainWindow::ShowViewerStatus(bool plainNumbers) {
  // While the scan runs the panel reports the scan.
  if (isScanning() && !(scan_ && scan_->IsPaused())) return;
  status_->setStatus(PhotoViewerTexts::StatusLine(
      viewer_->paging(),
      plainNumbers ? PhotoViewerTexts::Numbers::Plain : PhotoViewerTexts::Numbers::Grouped));
}

void MainWindow::UpdatePagingButtons() {
  // Forward paging is follow mode's business.
  const bool follow = followButton_->isChecked();
  firstButton_->setEnabled(!viewer_->atFirstPage());
  previousButton_->setEnabled(!viewer_->atFirstPage());
  nextButton_->setEnabled(!follow && !viewer_->atLastPage());
  lastButton_->setEnabled(!follow && !viewer_->atLastPage());
}

void MainWindow::SetFollow(bool on) {
  viewer_->SetFollow(on);
  if (!on) return;
  // Until the next photo arrives the last page is the place to be.
  for (QToolButton* button : {firstButton_, previousButton_, nextButton_, lastButton_}) {
    button->setEnabled(false);
  }
}

void MainWindow::PrepareViewerForScan() {
  if (session_.settings().Values().autoFollow) followButton_->setChecked(true);
}

void MainWindow::OnPhotoSaved(const std::string& path) {
  viewer_->AddPhoto(path);
}

void MainWindow::OnPhotoDoubleClicked(int index) {
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

void MainWindow::ApplyViewerOptions() {
  const SettingsValues& values = session_.settings().Values();
  photoInfo_->setPanelColor(values.panelColor);
  viewer_->SetDropShadow(values.viewerDropShadow);
  if (viewer_->viewIndex() != values.thumbnailView) viewer_->SetViewIndex(values.thumbnailView);
}

// ---------------------------------------------------------------------------------------------
// Placement, start-up and exit

void MainWindow::RestorePlacement() {
  const SettingsValues& values = session_.settings().Values();
  QSize size(values.windowWidth, values.windowHeight);
  if (size == kMinimumSize || size.width() < kMinimumSize.width() ||
      size.height() < kMinimumSize.height()) {
    size = kFirstSize;
  }
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    size = size.boundedTo(area.size()).expandedTo(kMinimumSize);
    resize(size);
    move(area.center() - QPoint(size.width() / 2, size.height() / 2));
  } else {
    resize(size);
  }
  if (main_window_profile::Maximized()) setWindowState(windowState() | Qt::WindowMaximized);
}

void MainWindow::RestoreSelection() {
  const SettingsValues& values = session_.settings().Values();
  int categoryId = kAllCategoriesId;
  int projectId = -1;
  if (!session_.isNewDatabase()) {
    if (values.rememberLastProject) {
      categoryId = main_window_profile::LastCategoryId();
      projectId = main_window_profile::LastProjectId();
    } else if (!EqualsNoCase(values.startupCategory, "All")) {
      for (const CategoriesRecord& category : Categories()) {
        if (EqualsNoCase(category.name, values.startupCategory)) categoryId = category.id;
      }
    }
  }
  const int index = filter_->findData(categoryId);
  filling_ = true;
  filter_->setCurrentIndex(index >= 0 ? index : 0);
  filling_ = false;
  FillProjects();
  if (!SelectProjectById(projectId)) SelectProjectRow(0);
  if (QListWidgetItem* current = projectList_->currentItem()) {
    projectList_->scrollToItem(current, QAbstractItemView::PositionAtTop);
  }
}

void MainWindow::OnStartupTimer() {
  const auto afterWelcome = [this] {
    if (!pendingImport_.empty()) importTimer_->start(1000);
  };
  if (session_.isNewDatabase()) {
    auto* welcome = new WelcomeDialog(this);
    welcome->setAttribute(Qt::WA_DeleteOnClose);
    connect(welcome, &QDialog::finished, this, afterWelcome);
    welcome->open();
    return;
  }
  afterWelcome();
}

void MainWindow::OnImportTimer() {
  if (pendingImport_.empty()) return;
  // A hand-over during a scan is dropped: importing would change the lists under the scan.
  if (isScanning()) {
    pendingImport_.clear();
    return;
  }
  // An open dialog (an editor, another import) is finished first; the import waits for it.
  if (QApplication::activeModalWidget() != nullptr) {
    importTimer_->start(1000);
    return;
  }
  const std::string path = std::move(pendingImport_);
  pendingImport_.clear();
  ImportFile(path);
}

void MainWindow::SetStartupImport(const std::string& path) {
  pendingImport_ = path;
}

void MainWindow::HandOver(const std::string& importPath) {
  if (importPath.empty()) return;
  pendingImport_ = importPath;
  importTimer_->start(1000);
}

void MainWindow::BringToFront() {
  if (isMinimized()) setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  show();
  raise();
  activateWindow();
}

void MainWindow::SaveOnExit() {
  SettingsValues& values = session_.settings().Values();
  const bool maximized = isMaximized();
  main_window_profile::SetMaximized(maximized);
  if (!maximized && !isMinimized()) {
    values.windowWidth = width();
    values.windowHeight = height();
  }
  Profile profile;
  links_->SaveColumnWidths(profile);
  history_->SaveColumnWidths(profile);
  profile.SetFindText(findBox_->text());
  if (values.rememberLastProject) {
    main_window_profile::SetLastSelection(filterCategoryId(), currentProjectId());
  }
  session_.settings().SaveSettings();
}

void MainWindow::StopShowingScanResults() {
  session_.settings().Values().displayScanResults = false;
  session_.settings().SaveSettings();
}

void MainWindow::Exit() {
  if (exiting_) return;
  if (isScanning()) {
    const std::string title = project_ ? project_->title : scan_->Project().title;
    if (!AskUnlessSwitchedOff("Trawlix() PRO is scanning for the project '" + title +
                                  "'\nAre you sure you want to cancel and exit?",
                              session_.settings().Values().confirmExitWhileScanning)) {
      return;
    }
  }
  exiting_ = true;
  if (isMinimized()) showNormal();
  SaveOnExit();
  // Ends the workers without recording the scan; the controller keeps events flowing meanwhile.
  scan_.reset();
  close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (exiting_) {
    event->accept();
    return;
  }
  event->ignore();
  // Closing from the window frame during a scan only gets the window out of the way.
  if (isScanning()) {
    showMinimized();
    return;
  }
  Exit();
}

}  // namespace trawlix::ui
