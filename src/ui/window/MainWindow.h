#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "operations/ProjectOperations.h"
#include "scan/engine/PageRenderer.h"
#include "storage/CategoriesRecord.h"
#include "storage/ProjectRendering.h"
#include "storage/ProjectsRecord.h"
#include "ui/tools/PhotoToolDialog.h"
#include "ui/window/MainWindowState.h"
#include "ui/window/PageHost.h"

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTabWidget;
class QTimer;
class QToolButton;
class QWidget;

namespace trawlix {
class DataSession;
class MessageSink;
class QtUiThread;
class ScanController;
}  // namespace trawlix

namespace trawlix::ui {

class HistoryPage;
class LinksPage;
class MainWindowScan;
class ViewerPage;

// The program's one window: the projects by category on the left, the address and the scan
// buttons on top, and three pages (the viewer, the project links and the scan history), each
// a widget of its own. Every command of the program starts here; what it changes is done by
// the operations layer.
class MainWindow : public QMainWindow, private PageHost {
  Q_OBJECT

 public:
  enum Page { ViewerTab = 0, LinksTab = 1, HistoryTab = 2 };

  MainWindow(DataSession& session, MessageSink& messages, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The first start named an exchange file: it is imported once the window is up.
  void SetStartupImport(const std::string& path);
  // A second start named one: imported a second later unless a scan is running.
  void HandOver(const std::string& importPath);
  // Restores a minimised window, raises and activates it.
  void BringToFront();

  // What the window shows, for the program's tests and tools.
  int currentProjectId() const { return project_ ? project_->id : -1; }
  const std::optional<ProjectsRecord>& currentProject() const { return project_; }
  int filterCategoryId() const;
  bool isScanning() const;
  const MainWindowEnabled& enabledState() const { return enabled_; }
  ViewerPage& viewerPage() const { return *viewerPage_; }

  // Commands, as the buttons, menus and keys run them.
  void NewProject();
  void EditProject();
  void DeleteProject();
  void RenameProject();
  void MoveProjectToCategory(int categoryId);
  void ShowCategories();
  void ShowOptions();
  void ShowAbout();
  void FindProject();
  void QuickFind();
  void PasteAndGo();
  void VisitURL();
  void StartScan();
  // Goes on with the project's scan that was stopped or killed.
  void ResumeScan();
  // Fetches every page and photo again, as a first scan would.
  void RescanEverything();
  void TogglePause();
  void StopScan();
  void RescanSelectedLinks();
  void SelectPreviousProject();
  void SelectNextProject();
  void SelectPreviousCategory();
  void SelectNextCategory();
  void ShowPage(int page);
  void ImportProjects();
  // Opens the import dialog on an exchange file (a file that cannot be read is reported).
  void ImportFile(const std::string& path);
  void ExportProject();
  void ExportMultipleProjects();
  void Exit();

  // The results message's "don't show this again": the option goes off and is saved.
  void StopShowingScanResults();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class ScanStart { New, Resume, Everything };
  void BeginScan(ScanStart how);

  // PageHost.
  const ProjectsRecord* shownProject() const override;
  bool scanning() const override { return isScanning(); }
  bool scanPaused() const override;

  // The frame.
  void BuildControls();
  QWidget* BuildProjectColumn();
  QWidget* BuildAddressRow();
  QWidget* BuildPages();
  void ConnectScanReports();
  void BuildShortcuts();
  void ApplyToolTips();
  void ApplyPanelOptions();
  void RestorePlacement();
  void RestoreSelection();
  void SaveOnExit();
  void OnStartupTimer();
  void OnImportTimer();
  void UpdateControls();
  void SetURLBoxText(const QString& text);
  // Runs a photo tool on the project, then shows its photos as the tool left them.
  void OpenPhotoTool(PhotoTool tool);

  // Menus.
  void BuildMenus();
  void BuildStartMenu();
  void BuildHelpMenu();
  void BuildSaveToMenu();
  void BuildProjectMenu();
  QMenu* BuildImportExportMenu();
  void AddImportExportEntries(QMenu* menu);
  void RelabelSaveToMenu();
  void ShowProjectMenu(const QPoint& position);
  void OpenFolder(const std::string& folder);
  void OpenAllFolders();

  // Projects.
  void FillCategories(int selectId);
  void FillProjects();
  void OnFilterChanged();
  void OnProjectSelected();
  void SelectProjectRow(int row);
  bool SelectProjectById(int projectId);
  int RowOfProject(int projectId) const;
  void ClearProjectViews();
  void ReloadLists();
  // Shows the project sheet until `save` stores its values or the user cancels; `rendering`
  // is the sheet's first rendering choice.
  void RunProjectSheet(ProjectsRecord record, const QString& caption,
                       std::optional<RenderMode> rendering,
                       const std::function<ProjectSaveResult(ProjectsRecord&)>& save);
  void ProjectSaved(int projectId, int categoryId, bool categoriesChanged);
  std::vector<CategoriesRecord> Categories();

  void ShowFindMiss(const QString& text);
  void ScrollProjectToTop();

  // The scan's reports.
  void OnScanStateChanged();
  void OnScanEnded();
  void RestoreAfterScan();

  DataSession& session_;
  MessageSink& messages_;

  std::optional<ProjectsRecord> project_;
  bool keepViewer_ = false;  // while an edited project is selected again
  MainWindowEnabled enabled_;
  bool exiting_ = false;
  bool filling_ = false;  // list and combo signals are the window's own doing
  std::string pendingImport_;
  std::string lastURLBoxText_;

  std::unique_ptr<QtUiThread> uiThread_;
  std::unique_ptr<PageRenderer> renderer_;  // null without rendering; outlives the scan
  std::unique_ptr<MainWindowScan> scanObserver_;
  std::unique_ptr<ScanController> scan_;

  QTimer* startupTimer_ = nullptr;
  QTimer* importTimer_ = nullptr;

  // Project column.
  QComboBox* filter_ = nullptr;
  QLineEdit* findBox_ = nullptr;
  QToolButton* findButton_ = nullptr;
  QListWidget* projectList_ = nullptr;
  QPushButton* newButton_ = nullptr;
  QPushButton* editButton_ = nullptr;
  QPushButton* deleteButton_ = nullptr;
  QPushButton* categoriesButton_ = nullptr;
  QPushButton* optionsButton_ = nullptr;
  QPushButton* aboutButton_ = nullptr;
  QPushButton* helpButton_ = nullptr;
  QPushButton* exitButton_ = nullptr;

  // Address row.
  QLineEdit* urlBox_ = nullptr;
  QToolButton* visitButton_ = nullptr;
  QToolButton* pasteButton_ = nullptr;
  QToolButton* startButton_ = nullptr;
  QToolButton* pauseButton_ = nullptr;
  QToolButton* stopButton_ = nullptr;
  QToolButton* saveToButton_ = nullptr;

  QTabWidget* tabs_ = nullptr;
  ViewerPage* viewerPage_ = nullptr;
  LinksPage* linksPage_ = nullptr;
  HistoryPage* historyPage_ = nullptr;

  // Menus.
  QMenu* startMenu_ = nullptr;
  QMenu* projectMenu_ = nullptr;
  QMenu* categoryMenu_ = nullptr;
  QAction* openSaveToAction_ = nullptr;
  QAction* openThumbnailsAction_ = nullptr;
  QAction* openMobileAction_ = nullptr;
  QAction* openAllAction_ = nullptr;
};

}  // namespace trawlix::ui
