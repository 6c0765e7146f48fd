// The main window's menus: scan, help, save-to folders, import/export and the project list's
// context menu; and import and export.
#include <QDesktopServices>
#include <QFileDialog>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>

#include "base/Text.h"
#include "exchange/ProjectImporter.h"
#include "operations/DataSession.h"
#include "operations/ProjectOperations.h"
#include "operations/ScanPreferences.h"
#include "ui/HelpGuide.h"
#include "ui/WebPageOpener.h"
#include "ui/exchange/ExportProjectDialog.h"
#include "ui/exchange/ExportProjectsDialog.h"
#include "ui/exchange/ImportDialog.h"
#include "ui/window/MainWindow.h"
#include "ui/window/MainWindowTexts.h"
#include "ui/window/SplitButtonAccessible.h"
#include "ui/window/ViewerPage.h"

namespace trawlix::ui {

void MainWindow::BuildMenus() {
  BuildStartMenu();
  BuildHelpMenu();
  BuildSaveToMenu();
  viewerPage_->SetImportExportMenu(BuildImportExportMenu());
  BuildProjectMenu();
}

void MainWindow::BuildStartMenu() {
  // The start button's arrow: the other ways to scan.
  startMenu_ = new QMenu(this);
  connect(startMenu_->addAction(tr("&Start Scanning")), &QAction::triggered, this,
          &MainWindow::StartScan);
  QAction* resume = startMenu_->addAction(tr("&Resume Interrupted Scan"));
  connect(resume, &QAction::triggered, this, &MainWindow::ResumeScan);
  connect(startMenu_->addAction(tr("Rescan &Everything")), &QAction::triggered, this,
          &MainWindow::RescanEverything);
  connect(startMenu_, &QMenu::aboutToShow, resume, [this, resume] {
    resume->setEnabled(project_ && HasUnfinishedScan(session_, project_->id));
  });
  startButton_->setMenu(startMenu_);
  startButton_->setPopupMode(QToolButton::MenuButtonPopup);
  // Naming the button made its plain interface already; the split one replaces it, so that
  // the default action starts the scan.
  static const bool factory = (QAccessible::installFactory(&SplitButtonAccessible::Factory), true);
  (void)factory;
  if (QAccessibleInterface* plain = QAccessible::queryAccessibleInterface(startButton_))
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(plain));
}

void MainWindow::BuildHelpMenu() {
  auto* menu = new QMenu(this);
  QAction* guide = menu->addAction(tr("User Guide"));
  guide->setShortcut(QKeySequence::HelpContents);
  guide->setShortcutContext(Qt::WindowShortcut);
  addAction(guide);  // F1 works with the menu closed
  connect(guide, &QAction::triggered, this, [this] { OpenHelp(HelpTopic::Contents, messages_); });
  connect(menu->addAction(tr("QuickStart Guide")), &QAction::triggered, this,
          [this] { OpenHelp(HelpTopic::GettingStarted, messages_); });
  connect(menu->addAction(tr("Download Sample Projects")), &QAction::triggered, this,
          [] { OpenWebPage(QString::fromLatin1(kSampleProjectsPage)); });
  connect(menu->addAction(tr("Contact Me")), &QAction::triggered, this,
          [] { OpenWebPage(QString::fromLatin1(kContactPage)); });
  helpButton_->setMenu(menu);
}

void MainWindow::BuildSaveToMenu() {
  auto* menu = new QMenu(this);
  openSaveToAction_ = menu->addAction(tr("Open 'Save To' Folder"));
  openThumbnailsAction_ = menu->addAction(tr("Open THUMBS Folder"));
  openMobileAction_ = menu->addAction(tr("Open MOBILE Folder"));
  menu->addSeparator();
  openAllAction_ = menu->addAction(tr("Open All Project Folders"));
  connect(menu, &QMenu::aboutToShow, this, &MainWindow::RelabelSaveToMenu);
  connect(openSaveToAction_, &QAction::triggered, this, [this] {
    if (project_) OpenFolder(project_->saveTo);
  });
  connect(openThumbnailsAction_, &QAction::triggered, this, [this] {
    if (project_) OpenFolder(project_->thumbnailSaveTo);
  });
  connect(openMobileAction_, &QAction::triggered, this, [this] {
    if (project_) OpenFolder(project_->mobileSaveTo);
  });
  connect(openAllAction_, &QAction::triggered, this, &MainWindow::OpenAllFolders);
  saveToButton_->setMenu(menu);
}

void MainWindow::AddImportExportEntries(QMenu* menu) {
  connect(menu->addAction(tr("Import Project(s)")), &QAction::triggered, this,
          &MainWindow::ImportProjects);
  QAction* exportOne = menu->addAction(tr("Export Project"));
  connect(exportOne, &QAction::triggered, this, &MainWindow::ExportProject);
  connect(menu->addAction(tr("Export Multiple Projects")), &QAction::triggered, this,
          &MainWindow::ExportMultipleProjects);
  // Exporting one project needs one selected.
  connect(menu, &QMenu::aboutToShow, exportOne,
          [this, exportOne] { exportOne->setEnabled(project_.has_value()); });
}

QMenu* MainWindow::BuildImportExportMenu() {
  auto* menu = new QMenu(this);
  AddImportExportEntries(menu);
  return menu;
}

void MainWindow::BuildProjectMenu() {
  projectMenu_ = new QMenu(this);
  // The start button's menu again, for the keyboard: the project list's menu key opens it.
  startMenu_->setTitle(tr("S&can"));
  projectMenu_->addMenu(startMenu_);
  projectMenu_->addSeparator();
  connect(projectMenu_->addAction(tr("Properties")), &QAction::triggered, this,
          &MainWindow::EditProject);
  connect(projectMenu_->addAction(tr("Rename Project")), &QAction::triggered, this,
          &MainWindow::RenameProject);
  connect(projectMenu_->addAction(tr("Delete Project")), &QAction::triggered, this,
          &MainWindow::DeleteProject);
  projectMenu_->addSeparator();
  const std::pair<QString, PhotoTool> tools[] = {
      {tr("Rename Photos"), PhotoTool::Rename},
      {tr("Thumbnails && Mobile Photos"), PhotoTool::Thumbnails},
      {tr("Resize/Convert Photos"), PhotoTool::Resize},
      {tr("Convert to Grayscale"), PhotoTool::Grayscale},
      {tr("Delete Photos"), PhotoTool::DeletePhotos}};
  for (const auto& [label, tool] : tools) {
    QAction* action = projectMenu_->addAction(label);
    connect(action, &QAction::triggered, this, [this, which = tool] { OpenPhotoTool(which); });
    // The photo tools need photos, as their buttons do.
    connect(projectMenu_, &QMenu::aboutToShow, action,
            [this, action] { action->setEnabled(enabled_.photoTools); });
  }
  projectMenu_->addSeparator();
  AddImportExportEntries(projectMenu_);
  projectMenu_->addSeparator();
  categoryMenu_ = projectMenu_->addMenu(tr("Category"));
}

void MainWindow::ShowProjectMenu(const QPoint& position) {
  if (isScanning()) return;
  if (QListWidgetItem* item = projectList_->itemAt(position)) {
    SelectProjectRow(projectList_->row(item));
  }
  if (!project_) return;
  categoryMenu_->clear();
  for (const CategoriesRecord& category : Categories()) {
    QAction* action = categoryMenu_->addAction(MenuItemText(category.name));
    action->setCheckable(true);
    action->setChecked(category.id == project_->catId);
    connect(action, &QAction::triggered, this,
            [this, id = category.id] { MoveProjectToCategory(id); });
  }
  projectMenu_->popup(projectList_->viewport()->mapToGlobal(position));
}

void MainWindow::RelabelSaveToMenu() {
  const bool has = project_.has_value();
  const SaveToMenuTexts texts = has ? SaveToMenuLabels(*project_) : SaveToMenuTexts{};
  openSaveToAction_->setEnabled(texts.saveToSet);
  openThumbnailsAction_->setText(has ? texts.thumbnails : tr("Open THUMBS Folder"));
  openThumbnailsAction_->setEnabled(texts.thumbnailsSet);
  openMobileAction_->setText(has ? texts.mobile : tr("Open MOBILE Folder"));
  openMobileAction_->setEnabled(texts.mobileSet);
  openAllAction_->setText(has ? texts.all : tr("Open All Project Folders"));
  openAllAction_->setEnabled(texts.saveToSet);
}

void MainWindow::OpenFolder(const std::string& folder) {
  if (folder.empty()) return;
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder)))) {
    messages_.Inform("The folder '" + folder + "' could not be opened.");
  }
}

void MainWindow::OpenAllFolders() {
  if (!project_) return;
  for (const std::string* folder :
       {&project_->mobileSaveTo, &project_->thumbnailSaveTo, &project_->saveTo}) {
    OpenFolder(*folder);
  }
}

// ---------------------------------------------------------------------------------------------
// Import

void MainWindow::ImportProjects() {
  if (isScanning()) return;
  const QString path = QFileDialog::getOpenFileName(
      this, tr("Import Project(s)"), QString(), tr("Trawlix() PRO Exported Projects (*.txexport)"));
  if (!path.isEmpty()) ImportFile(path.toStdString());
}

void MainWindow::ImportFile(const std::string& path) {
  if (isScanning()) return;
  auto file = exchange::OpenImportFile(path, messages_);
  if (!file) return;
  auto* dialog = new ImportDialog(session_, path, std::move(*file), messages_, this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &ImportDialog::ProjectsImported, this, [this](bool categoriesCreated) {
    const int selected = currentProjectId();
    if (categoriesCreated) FillCategories(filterCategoryId());
    FillProjects();
    project_.reset();
    if (!SelectProjectById(selected)) SelectProjectRow(0);
  });
  dialog->open();
}

// ---------------------------------------------------------------------------------------------
// Export

void MainWindow::ExportProject() {
  if (isScanning() || !project_) return;
  auto* dialog = new ExportProjectDialog(session_, *project_, messages_, this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->open();
}

void MainWindow::ExportMultipleProjects() {
  if (isScanning()) return;
  auto* dialog =
      new ExportProjectsDialog(session_, messages_, filterCategoryId(), currentProjectId(), this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->open();
}

}  // namespace trawlix::ui
