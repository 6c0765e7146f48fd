#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <string>
#include <vector>

#include "ui/viewer/PhotoViewerList.h"
#include "ui/viewer/PhotoViewerPaging.h"
#include "ui/viewer/ThumbnailCache.h"

namespace trawlix::ui {

// The photos of the selected project, one at a time or as a grid of 2 to 36 per page,
// with paging, a selection, hover reports and a follow mode for photos added by a scan.
// Thumbnails come from a cache filled in the background: a cell whose picture is not
// ready shows its frame and fills in when it is.
class PhotoViewer : public QWidget {
  Q_OBJECT

 public:
  explicit PhotoViewer(QWidget* parent = nullptr);
  ~PhotoViewer() override;

  // The photos under the folder, leaving out the excluded folders; the first page, the
  // first photo selected.
  void LoadFolder(const std::string& folder, const std::vector<std::string>& excludedFolders);
  void Clear();

  // Selecting the view in use returns to the first page.
  void SetViewIndex(int index);
  void FirstPage();
  void PreviousPage();
  void NextPage();
  void LastPage();
  void SelectIndex(int index);

  // A photo saved while the viewer shows its folder. Returns its index, -1 when it is not
  // listed (not a photo, an excluded folder). A photo listed already is shown anew. In follow
  // mode it becomes the selection and its page is shown.
  int AddPhoto(const std::string& path);
  // A command changed, replaced or deleted the file: its thumbnail is made again, or the
  // photo leaves the list.
  void PhotoChanged(const std::string& path);
  // Every listed file is looked at again (after tools that change many photos).
  void Refresh();

  // Follow mode: the last page and the last photo, and every added photo selected.
  void SetFollow(bool on);
  bool follow() const { return follow_; }

  void SetDropShadow(bool on);
  void SetHighlightSelection(bool on);
  void SetBackground(const QColor& color);

  int viewIndex() const { return paging_.viewIndex(); }
  int perPage() const { return paging_.perPage(); }
  int count() const { return paging_.count(); }
  int firstShown() const { return paging_.firstShown(); }
  int selectedIndex() const { return paging_.selected(); }
  int hoveredIndex() const { return hovered_; }
  bool atFirstPage() const { return paging_.atFirstPage(); }
  bool atLastPage() const { return paging_.atLastPage(); }
  const PhotoViewerPaging& paging() const { return paging_; }
  const PhotoViewerEntry& photo(int index) const { return list_.At(index); }
  // Empty when nothing is selected.
  std::string selectedPath() const;
  // The selected photo when it is on the page, else the first photo shown; -1 when none.
  int currentIndex() const;

  // The rectangle of the cell that shows the photo; empty when it is not on the page.
  QRect CellRect(int index) const;
  // The photo under a point of the widget; -1 when none.
  int PhotoAt(QPoint point) const;
  // True when every photo on the page has its picture (or is known to have none).
  bool PageReady();
  // What the viewer says while it lists no photo; empty when it shows no folder.
  const QString& emptyHint() const { return emptyHint_; }

  ThumbnailCache& cache() { return cache_; }

 Q_SIGNALS:
  // The page, the view or the number of photos changed.
  void pageChanged();
  // The view, the folder or the user's paging changed the page shown.
  void pageTurned();
  void selectionChanged(int index);
  // The photo under the pointer; -1 when the pointer leaves the photos.
  void hoveredChanged(int index);
  void photoDoubleClicked(int index);
  // A right click (after selecting the photo under it) or the menu key.
  void contextMenuRequested(QPoint globalPos);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  std::vector<QRect> Cells() const;
  QRect PictureBox(const QRect& cell) const;
  ThumbnailKey KeyFor(int index, const QRect& box) const;
  void RequestThumbnails();
  // False while the picture is not ready.
  bool PaintPhoto(QPainter& painter, int index, const QRect& box);
  void OnThumbnailReady(const QString& path);
  void SetHovered(int index);
  void ChangeSelection(int index);
  void AfterPaging(bool moved);
  void MoveSelection(int step);
  QString EmptyFolderHint(const std::string& folder) const;
  void SetEmptyHint(const QString& hint);

  PhotoViewerList list_;
  PhotoViewerPaging paging_;
  ThumbnailCache cache_;
  int hovered_ = -1;
  bool follow_ = false;
  bool dropShadow_ = false;
  bool highlight_ = true;
  QColor background_ = Qt::white;
  QString emptyHint_;  // shown while no photo is listed
};

}  // namespace trawlix::ui
