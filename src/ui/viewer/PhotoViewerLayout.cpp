#include "ui/viewer/PhotoViewerLayout.h"

#include <algorithm>
#include <array>

namespace trawlix::ui {

namespace {

constexpr std::array<PhotoViewerView, 12> kViews{{{1, 1, 1},
                                                  {2, 2, 1},
                                                  {4, 2, 2},
                                                  {6, 3, 2},
                                                  {8, 4, 2},
                                                  {10, 5, 2},
                                                  {12, 4, 3},
                                                  {16, 4, 4},
                                                  {20, 5, 4},
                                                  {25, 5, 5},
                                                  {30, 6, 5},
                                                  {36, 6, 6}}};
constexpr int kGridMargin = 6;
constexpr int kHitInset = 2;

}  // namespace

PhotoViewerView PhotoViewerLayout::View(int index) {
  return kViews[static_cast<std::size_t>(std::clamp(index, kSingleView, kLastView))];
}

std::vector<QRect> PhotoViewerLayout::Cells(const QRect& client, int columns, int rows) {
  std::vector<QRect> cells;
  if (columns <= 0 || rows <= 0) return cells;
  QRect area = client.adjusted(kGridMargin, kGridMargin, -kGridMargin, -kGridMargin);
  const int width = std::max(area.width(), 0);
  const int height = std::max(area.height(), 0);
  const int cellWidth = width / columns;
  const int cellHeight = height / rows;
  const int left = area.left() + (width % columns) / 2;
  const int top = area.top() + (height % rows) / 2;
  cells.reserve(static_cast<std::size_t>(columns * rows));
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      cells.emplace_back(left + column * cellWidth, top + row * cellHeight, cellWidth, cellHeight);
    }
  }
  return cells;
}

int PhotoViewerLayout::CellAt(const std::vector<QRect>& cells, QPoint point, int photoCells) {
  const int limit = std::min(photoCells, static_cast<int>(cells.size()));
  for (int i = 0; i < limit; ++i) {
    const QRect inner =
        cells[static_cast<std::size_t>(i)].adjusted(kHitInset, kHitInset, -kHitInset, -kHitInset);
    if (inner.contains(point)) return i;
  }
  return -1;
}

QRect PhotoViewerLayout::FitCentered(int photoWidth, int photoHeight, const QRect& box) {
  if (photoWidth <= 0 || photoHeight <= 0 || box.width() <= 0 || box.height() <= 0) return {};
  const long long byWidth = static_cast<long long>(photoHeight) * box.width();
  const long long byHeight = static_cast<long long>(photoWidth) * box.height();
  int width = box.width();
  int height = box.height();
  if (photoWidth <= box.width() && photoHeight <= box.height()) {
    width = photoWidth;  // a small photo is shown as it is, never enlarged
    height = photoHeight;
  } else if (byWidth > byHeight) {
    width = static_cast<int>(byHeight / photoHeight);  // the height limits
  } else {
    height = static_cast<int>(byWidth / photoWidth);
  }
  width = std::clamp(width, 1, box.width());
  height = std::clamp(height, 1, box.height());
  return {box.left() + (box.width() - width) / 2, box.top() + (box.height() - height) / 2, width,
          height};
}

}  // namespace trawlix::ui
