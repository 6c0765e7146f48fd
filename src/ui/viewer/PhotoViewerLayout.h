#pragma once

#include <QPoint>
#include <QRect>
#include <vector>

namespace trawlix::ui {

// One of the viewer's twelve layouts.
struct PhotoViewerView {
  int perPage = 1;
  int columns = 1;
  int rows = 1;
};

// The viewer's layouts and the cells of its grid, without a widget.
class PhotoViewerLayout {
 public:
  static constexpr int kSingleView = 0;
  static constexpr int kLastView = 11;

  // The layout of a view index; indexes out of range are brought into it.
  static PhotoViewerView View(int index);

  // The grid inside the client rectangle: a 6-pixel margin, equal cells (integer
  // division), the remainder split on both sides so the grid is centred; row by row.
  static std::vector<QRect> Cells(const QRect& client, int columns, int rows);

  // The cell under the point, each cell shrunk by 2 pixels on every side; only the first
  // `photoCells` cells hold photos. -1 when none.
  static int CellAt(const std::vector<QRect>& cells, QPoint point, int photoCells);

  // Where a photo of the given size is drawn in the rectangle: shrunk to fit with its
  // aspect kept (never enlarged), centred. An empty rectangle for no size.
  static QRect FitCentered(int photoWidth, int photoHeight, const QRect& box);
};

}  // namespace trawlix::ui
