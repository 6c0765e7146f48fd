#include "ui/window/MainWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "base/Text.h"
#include "frontend/QtUiThread.h"
#include "frontend/Rendering.h"
#include "operations/DataSession.h"
#include "scan/engine/ScanController.h"
#include "ui/ConfirmQuestion.h"
#include "ui/Icons.h"
#include "ui/viewer/PhotoViewer.h"
#include "ui/window/HistoryPage.h"
#include "ui/window/LinksPage.h"
#include "ui/window/MainWindowProfile.h"
#include "ui/window/MainWindowScan.h"
#include "ui/window/MainWindowTexts.h"
#include "ui/window/Profile.h"
#include "ui/window/ProjectLinksList.h"
#include "ui/window/ScanHistoryList.h"
#include "ui/window/ViewerPage.h"
#include "ui/window/WelcomeDialog.h"
#include "ui/window/WindowControls.h"

namespace trawlix::ui {

namespace {

constexpr int kScanIcon = 32;
// The settings' untouched window size is the minimum: a first start opens roomier.
constexpr QSize kMinimumSize(793, 606);
constexpr QSize kFirstSize(1100, 720);

QPushButton* TextButton(IconName icon, const QString& caption, const char* objectName) {
  auto* button = new QPushButton(Icon(icon), caption);
  button->setIconSize(QSize(kSmallIcon, kSmallIcon));
  button->setObjectName(QLatin1String(objectName));
  button->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

MainWindow::MainWindow(DataSession& session, MessageSink& messages, QWidget* parent)
    : QMainWindow(parent),
      session_(session),
      messages_(messages),
      uiThread_(std::make_unique<QtUiThread>()),
      renderer_(MakePageRenderer()),
      scanObserver_(std::make_unique<MainWindowScan>(*this, messages_)),
      scan_(std::make_unique<ScanController>(*uiThread_, messages_, *scanObserver_)) {
  scan_->SetRenderer(renderer_.get());
  setObjectName(QStringLiteral("MainWindow"));
  setWindowTitle(QStringLiteral("Trawlix() PRO"));
  setWindowIcon(Icon(IconName::Application));
  setMinimumSize(kMinimumSize);

  BuildControls();
  BuildMenus();
  ConnectScanReports();
  BuildShortcuts();
  ApplyToolTips();
  ApplyPanelOptions();
  ShowPage(ViewerTab);
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

bool MainWindow::scanPaused() const {
  return scan_ && scan_->IsPaused();
}

const ProjectsRecord* MainWindow::shownProject() const {
  return project_ ? &*project_ : nullptr;
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
  right->addWidget(BuildPages(), 1);
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

  auto* findRow = ButtonRow();
  findBox_ = new QLineEdit;
  findBox_->setObjectName(QStringLiteral("findBox"));
  findBox_->setAccessibleName(tr("Quick Find"));
  findBox_->setPlaceholderText(tr("Quick find (Enter)"));
  connect(findBox_, &QLineEdit::returnPressed, this, &MainWindow::QuickFind);
  connect(findBox_, &QLineEdit::textEdited, this, [this] { ShowFindMiss({}); });
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
  auto* filterRow = ButtonRow();
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

QWidget* MainWindow::BuildPages() {
  tabs_ = new QTabWidget;
  tabs_->setObjectName(QStringLiteral("pages"));
  tabs_->setAccessibleName(tr("Pages"));
  tabs_->setIconSize(QSize(16, 16));
  const PageHost& host = *this;
  viewerPage_ = new ViewerPage(session_, messages_, host);
  linksPage_ = new LinksPage(session_, messages_, host);
  historyPage_ = new HistoryPage(session_, messages_, host);
  tabs_->addTab(viewerPage_, Icon(IconName::TabViewer), tr("Photo Viewer && Scanner"));
  tabs_->addTab(linksPage_, Icon(IconName::TabLinks), tr("Project Links"));
  tabs_->addTab(historyPage_, Icon(IconName::TabHistory), tr("Scan History"));
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int page) { ShowPage(page); });
  connect(viewerPage_, &ViewerPage::photosShown, this, [this] {
    // The photo tools follow the number of photos.
    if (enabled_.photoTools != (viewerPage_->viewer().count() > 0)) UpdateControls();
  });
  connect(viewerPage_, &ViewerPage::photoToolRequested, this, &MainWindow::OpenPhotoTool);
  connect(linksPage_, &LinksPage::rowsChanged, this, &MainWindow::UpdateControls);
  connect(linksPage_, &LinksPage::rescanRequested, this, &MainWindow::RescanSelectedLinks);
  connect(historyPage_, &HistoryPage::rowsChanged, this, &MainWindow::UpdateControls);
  return tabs_;
}

void MainWindow::ConnectScanReports() {
  const MainWindowScan* reports = scanObserver_.get();
  connect(reports, &MainWindowScan::progressShown, viewerPage_, &ViewerPage::ShowScanLines);
  connect(reports, &MainWindowScan::photoSaved, viewerPage_, &ViewerPage::AddScannedPhoto);
  connect(reports, &MainWindowScan::stateChanged, this, &MainWindow::OnScanStateChanged);
  connect(reports, &MainWindowScan::linkStarted, this, &MainWindow::SetURLBoxText);
  connect(reports, &MainWindowScan::historyRowAdded, historyPage_, &HistoryPage::Reload);
  connect(reports, &MainWindowScan::linksChanged, linksPage_, &LinksPage::Reload);
  connect(reports, &MainWindowScan::resultsComing, this, &MainWindow::RestoreAfterScan);
  connect(reports, &MainWindowScan::ended, this, &MainWindow::OnScanEnded);
}

QWidget* MainWindow::BuildAddressRow() {
  auto* row = new QWidget;
  auto* layout = ButtonRow();
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

void MainWindow::BuildShortcuts() {
  viewerPage_->AddKeys(*this);
  const auto add = [this](QKeySequence keys, std::function<void()> run) {
    AddWindowKey(*this, keys, run);
  };
  add(QKeySequence(Qt::CTRL | Qt::Key_Up), [this] { SelectPreviousCategory(); });
  add(QKeySequence(Qt::CTRL | Qt::Key_Down), [this] { SelectNextCategory(); });
  add(QKeySequence(Qt::ALT | Qt::Key_S), [this] { ShowPage(ViewerTab); });
  add(QKeySequence(Qt::ALT | Qt::Key_L), [this] { ShowPage(LinksTab); });
  add(QKeySequence(Qt::ALT | Qt::Key_H), [this] { ShowPage(HistoryTab); });
  projectList_->installEventFilter(this);
  findBox_->installEventFilter(this);
  urlBox_->installEventFilter(this);
  // Buttons and one-line boxes have no use for Up and Down: there the keys walk the project
  // list too.
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
  const bool listOrButton = watched == projectList_ || watched == findBox_ || watched == urlBox_ ||
                            qobject_cast<QAbstractButton*>(watched) != nullptr;
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
       {findButton_, startButton_, stopButton_, saveToButton_, visitButton_}) {
    set(button, button->accessibleName());
  }
  viewerPage_->ApplyToolTips(on);
  linksPage_->ApplyToolTips(on);
  historyPage_->ApplyToolTips(on);
  pasteButton_->setAccessibleName(PasteToolTip(session_.settings().Values().pasteAndGo));
  set(pasteButton_, pasteButton_->accessibleName());
  set(pauseButton_, scanPaused() ? tr("Click to resume...") : tr("Pause Scan"));
}

void MainWindow::ApplyPanelOptions() {
  const int color = session_.settings().Values().panelColor;
  viewerPage_->ApplyOptions();
  linksPage_->SetPanelColor(color);
  historyPage_->SetPanelColor(color);
}

void MainWindow::UpdateControls() {
  MainWindowFacts facts;
  facts.hasProject = project_.has_value();
  facts.scanning = isScanning();
  facts.paused = scanPaused();
  facts.urlBoxEmpty = urlBox_->text().trimmed().isEmpty();
  facts.viewerHasPhotos = viewerPage_->viewer().count() > 0;
  facts.historyRows = historyPage_->list().rowCount();
  facts.checkedHistoryRows = historyPage_->list().checkedCount();
  facts.linkRows = linksPage_->list().rowCount();
  facts.checkedLinkRows = linksPage_->list().checkedCount();
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
  optionsButton_->setEnabled(enabled_.options);
  viewerPage_->ApplyEnabled(enabled_);
  linksPage_->ApplyEnabled(enabled_);
  historyPage_->ApplyEnabled(enabled_);
  projectMenu_->setEnabled(!facts.scanning);
}

void MainWindow::SetURLBoxText(const QString& text) {
  urlBox_->setText(text);
  urlBox_->setCursorPosition(0);  // the host tells more than the end of a long address
}

void MainWindow::OpenPhotoTool(PhotoTool tool) {
  if (isScanning() || !project_) return;
  const std::unique_ptr<BatchToolDialog> dialog =
      MakePhotoToolDialog(tool, session_, *project_, messages_, this);
  dialog->exec();
  project_ = dialog->project();  // the tool may have stored its options with the project
  if (session_.settings().Values().reloadViewerAfterChanges) viewerPage_->LoadPhotos();
}

void MainWindow::ShowPage(int page) {
  if (page < ViewerTab || page > HistoryTab) return;
  if (tabs_->currentIndex() != page) {
    tabs_->setCurrentIndex(page);  // comes back here through currentChanged
    return;
  }
  if (page == LinksTab) linksPage_->FocusList();
  if (page == HistoryTab) historyPage_->FocusList();
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
  Profile profile;
  // The command line may have made the data folder: the window's own first start counts.
  if (session_.isNewDatabase() || !profile.WelcomeShown()) {
    profile.SetWelcomeShown();
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
  linksPage_->SaveColumnWidths(profile);
  historyPage_->SaveColumnWidths(profile);
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
    if (!AskUnlessSwitchedOff(messages_, session_.settings(),
                              "Trawlix() PRO is scanning for the project '" + title +
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
