#pragma once

#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "scan/engine/PageRenderer.h"
#include "storage/CategoriesRecord.h"
#include "storage/ProjectsRecord.h"
#include "ui/tools/PhotoToolDialog.h"
#include "ui/window/MainWindowState.h"

class QAbstractButton;
class QComboBox;
class QFrame;
class QLabel;
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

class MainWindowScan;
class PhotoInfoPanel;
class PhotoCommandsMenu;
class PhotoViewer;
class ProjectLinksList;
class ScanHistoryList;
class StatusPanel;

// The program's one window: the projects by category on the left, the address and the scan
// buttons on top, and the viewer, the project links and the scan history on three pages.
// Every command of the program starts here; what it changes is done by the operations layer.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  enum Page { ViewerPage = 0, LinksPage = 1, HistoryPage = 2 };

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
  PhotoViewer* photoViewer() const { return viewer_; }
  // The viewer's pop-up menu of photo commands (MainWindowPanels.cpp).
  PhotoCommandsMenu& photoCommands();
  void ShowPhotoMenu(const QPoint& globalPos);
  PhotoInfoPanel* photoInfo() const { return photoInfo_; }

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

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class MainWindowScan;

  enum class ScanStart { New, Resume, Everything };
  void BeginScan(ScanStart how);

  // Building (MainWindow.cpp).
  void BuildControls();
  QWidget* BuildProjectColumn();
  QWidget* BuildAddressRow();
  QWidget* BuildViewerPage();
  QWidget* BuildLinksPage();
  QWidget* BuildHistoryPage();
  QWidget* BuildCommandRow();
  void BuildShortcuts();
  void ApplyToolTips();
  void RestorePlacement();
  void RestoreSelection();
  void SaveOnExit();
  void OnStartupTimer();
  void OnImportTimer();
  void UpdateControls();
  void SetURLBoxText(const QString& text);
  void ShowNotYetAvailable();
  // Runs a photo tool on the project, then shows its photos as the tool left them.
  void OpenPhotoTool(PhotoTool tool);

  // Menus (MainWindowMenus.cpp).
  void BuildMenus();
  void RelabelSaveToMenu();
  void CheckThumbnailView();
  void SetThumbnailView(int index);
  void ShowProjectMenu(const QPoint& position);
  void OpenFolder(const std::string& folder);
  void OpenAllFolders();
  void OpenWebPage(const QString& address);

  // Projects (MainWindowProjects.cpp).
  void FillCategories(int selectId);
  void FillProjects();
  void OnFilterChanged();
  void OnProjectSelected();
  void SelectProjectRow(int row);
  bool SelectProjectById(int projectId);
  int RowOfProject(int projectId) const;
  void ClearProjectViews();
  void ReloadLists();
  void ReloadLinks();
  void ReloadHistory();
  bool AskUnlessSwitchedOff(const std::string& text, bool& option);
  void ProjectSaved(int projectId, int categoryId, bool categoriesChanged);
  std::vector<CategoriesRecord> Categories();

  // History and links pages (MainWindowPanels.cpp).
  void DeleteCheckedHistory();
  void DeleteCheckedLinks();
  void ShowScanResults(int row);
  void OpenLinkOfRow(int row);
  void AfterPhotoCommand(int current);

  // The viewer page (MainWindow.cpp).
  void LoadViewerPhotos();
  void OnViewerPageChanged();
  void OnViewerPageTurned();
  void OnViewerSelectionChanged(int index);
  void OnViewerHovered(int index);
  void OnPhotoDoubleClicked(int index);
  void OnPhotoSaved(const std::string& path);
  void ShowPhotoInfo(int index);
  void ShowViewerStatus(bool plainNumbers = false);
  void UpdatePagingButtons();
  void SetFollow(bool on);
  void PrepareViewerForScan();
  void ApplyViewerOptions();

  // The scan's reports (MainWindowScanCommands.cpp).
  void OnScanStateChanged();
  void OnScanEnded();
  void ShowScanLines(const QString& pageLine, const QString& photoLine);
  void RestoreAfterScan();
  // The results message's "don't show this again": the option goes off and is saved.
  void StopShowingScanResults();

  DataSession& session_;
  MessageSink& messages_;

  std::optional<ProjectsRecord> project_;
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

  // Viewer page.
  PhotoInfoPanel* photoInfo_ = nullptr;
  PhotoViewer* viewer_ = nullptr;
  PhotoCommandsMenu* photoCommands_ = nullptr;
  StatusPanel* status_ = nullptr;
  QToolButton* followButton_ = nullptr;
  QToolButton* viewButton_ = nullptr;
  QToolButton* firstButton_ = nullptr;
  QToolButton* previousButton_ = nullptr;
  QToolButton* nextButton_ = nullptr;
  QToolButton* lastButton_ = nullptr;
  QToolButton* renamePhotosButton_ = nullptr;
  QToolButton* deletePhotosButton_ = nullptr;
  QToolButton* thumbnailsButton_ = nullptr;
  QToolButton* resizeButton_ = nullptr;
  QToolButton* importExportButton_ = nullptr;

  // Links page.
  ProjectLinksList* links_ = nullptr;
  StatusPanel* linksPanel_ = nullptr;
  QToolButton* linksSelectButton_ = nullptr;
  QToolButton* linksDeleteButton_ = nullptr;
  QToolButton* rescanButton_ = nullptr;

  // History page.
  ScanHistoryList* history_ = nullptr;
  StatusPanel* historyPanel_ = nullptr;
  QToolButton* historySelectButton_ = nullptr;
  QToolButton* historyDeleteButton_ = nullptr;

  // Menus.
  QMenu* helpMenu_ = nullptr;
  QMenu* saveToMenu_ = nullptr;
  QMenu* viewMenu_ = nullptr;
  QMenu* importExportMenu_ = nullptr;
  QMenu* projectMenu_ = nullptr;
  QMenu* categoryMenu_ = nullptr;
  QMenu* startMenu_ = nullptr;
  QAction* openSaveToAction_ = nullptr;
  QAction* openThumbnailsAction_ = nullptr;
  QAction* openMobileAction_ = nullptr;
  QAction* openAllAction_ = nullptr;
};

}  // namespace trawlix::ui
