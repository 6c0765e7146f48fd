#pragma once

#include <QString>
#include <QWidget>
#include <string>

#include "ui/tools/PhotoToolDialog.h"

namespace trawlix {
class DataSession;
class MessageSink;
}  // namespace trawlix

class QHBoxLayout;
class QMenu;
class QToolButton;

namespace trawlix::ui {

class PageHost;
class PhotoCommandsMenu;
class PhotoInfoPanel;
class PhotoViewer;
class StatusPanel;
struct MainWindowEnabled;

// The main window's "Photo Viewer & Scanner" page: the shown project's photos, the panel that
// describes one, the status line (the scan's while it runs), the paging and view buttons and
// the photo tools' buttons.
class ViewerPage : public QWidget {
  Q_OBJECT

 public:
  ViewerPage(DataSession& session, MessageSink& messages, const PageHost& host,
             QWidget* parent = nullptr);

  PhotoViewer& viewer() const { return *viewer_; }
  PhotoInfoPanel& photoInfo() const { return *photoInfo_; }
  // The pop-up menu of photo commands, made on first use.
  PhotoCommandsMenu& photoCommands();
  void ShowPhotoMenu(const QPoint& globalPos);

  // Another project is shown: its photos, the panels empty.
  void ShowProject();
  // The photos of the host's project again (none without one).
  void LoadPhotos();
  void Clear();

  // A scan starts: an empty status line, and follow mode when the options want it.
  void PrepareForScan();
  void FollowAddedPhotos();
  void AddScannedPhoto(const std::string& path);
  void ShowScanLines(const QString& pageLine, const QString& photoLine);
  // The paging line, unless a running scan owns the status line.
  void ShowStatus(bool plainNumbers = false);

  // Sets the view (0 to 11), remembered in the settings.
  void SetThumbnailView(int index);
  void ApplyOptions();
  void ApplyToolTips(bool on);
  void ApplyEnabled(const MainWindowEnabled& enabled);
  void SetImportExportMenu(QMenu* menu);
  // The paging, view and follow keys, on every page of `window`.
  void AddKeys(QWidget& window);

 Q_SIGNALS:
  // The viewer turned to another page or its photos changed in number.
  void photosShown();
  void photoToolRequested(PhotoTool tool);

 private:
  QHBoxLayout* BuildButtons();
  void BuildViewMenu();
  void CheckThumbnailView();
  void OnPageChanged();
  void OnPageTurned();
  void OnSelectionChanged(int index);
  void OnHovered(int index);
  void OnPhotoDoubleClicked(int index);
  void AfterPhotoCommand(int current);
  void ShowPhotoInfo(int index);
  void UpdatePagingButtons();
  void SetFollow(bool on);

  DataSession& session_;
  MessageSink& messages_;
  const PageHost& host_;

  PhotoInfoPanel* photoInfo_ = nullptr;
  PhotoViewer* viewer_ = nullptr;
  PhotoCommandsMenu* photoCommands_ = nullptr;
  StatusPanel* status_ = nullptr;
  QMenu* viewMenu_ = nullptr;
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
};

}  // namespace trawlix::ui
