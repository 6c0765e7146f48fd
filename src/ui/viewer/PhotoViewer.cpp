#include "ui/viewer/PhotoViewer.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "ui/viewer/PhotoViewerAccessible.h"
#include "ui/viewer/PhotoViewerLayout.h"

namespace trawlix::ui {

namespace {

const QColor kSelectedFrame(192, 0, 192);
const QColor kFrame(0xC0, 0xC0, 0xC0);
const QColor kShadow(0x80, 0x80, 0x80);
constexpr int kFrameInset = 2;
constexpr int kFrameWidth = 2;
constexpr int kMatWidth = 4;
constexpr int kShadowInset = 6;
constexpr int kPlainInset = 2;
constexpr int kShadowOffset = 2;

}  // namespace

PhotoViewer::PhotoViewer(QWidget* parent) : QWidget(parent) {
  // Before anything asks for the viewer's interface (naming it does).
  static const bool accessible =
      (QAccessible::installFactory(&PhotoViewerAccessible::Factory), true);
  (void)accessible;
  setObjectName(QStringLiteral("viewer"));
  setAccessibleName(tr("Photo Viewer"));
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setMinimumSize(120, 90);
  connect(&cache_, &ThumbnailCache::ready, this, &PhotoViewer::OnThumbnailReady);
  connect(this, &PhotoViewer::selectionChanged, this,
          [this](int index) { AnnounceCurrentPhoto(this, index); });
}

PhotoViewer::~PhotoViewer() = default;

// What an empty viewer says instead of showing nothing.
QString PhotoViewer::EmptyFolderHint(const std::string& folder) const {
  if (list_.Count() > 0) return {};
  std::error_code error;
  const QString name = QString::fromStdString(folder);
  if (!std::filesystem::is_directory(folder, error))
    return tr("The folder %1 does not exist yet: a scan of the project creates it.").arg(name);
  return tr("No photos in %1 yet: start a scan to harvest some.").arg(name);
}

void PhotoViewer::SetEmptyHint(const QString& hint) {
  emptyHint_ = hint;
  setAccessibleDescription(hint);
}

// ---------------------------------------------------------------------------------------------
// The list

void PhotoViewer::LoadFolder(const std::string& folder,
                             const std::vector<std::string>& excludedFolders) {
  list_.SetExcludedFolders(excludedFolders);
  list_.Load(folder);
  paging_.Reset(list_.Count());
  SetEmptyHint(EmptyFolderHint(folder));
  hovered_ = -1;
  update();
  Q_EMIT pageChanged();
  Q_EMIT pageTurned();
  Q_EMIT selectionChanged(paging_.selected());
}

void PhotoViewer::Clear() {
  list_.Clear();
  list_.SetExcludedFolders({});
  paging_.Reset(0);
  SetEmptyHint({});
  hovered_ = -1;
  update();
  Q_EMIT pageChanged();
  Q_EMIT pageTurned();
  Q_EMIT selectionChanged(-1);
}

int PhotoViewer::AddPhoto(const std::string& path) {
  if (const int listed = list_.IndexOf(path); listed >= 0) {
    // Saved again under its name (an overwrite): the new picture, not the old one.
    PhotoChanged(path);
    const int now = list_.IndexOf(path);
    if (follow_ && now >= 0) SelectIndex(now);
    return now;
  }
  const int index = list_.Add(path);
  if (index < 0) return -1;
  const bool onOrBeforePage = index < paging_.firstShown() + paging_.perPage();
  paging_.Inserted(index);
  if (hovered_ >= index) ++hovered_;
  if (follow_) {
    paging_.Select(index);
    paging_.ShowPageOf(index);
    update();
  } else if (onOrBeforePage) {
    update();
  }
  Q_EMIT pageChanged();
  if (follow_) Q_EMIT selectionChanged(index);
  return index;
}

void PhotoViewer::PhotoChanged(const std::string& path) {
  cache_.Forget(path);
  const int index = list_.IndexOf(path);
  if (index < 0) {
    AddPhoto(path);  // a new file, such as a transform's copy
    return;
  }
  cache_.Forget(list_.At(index).path);  // as listed, which may differ in letter case
  if (list_.Refresh(index)) {
    update(CellRect(index));
    if (index == paging_.selected()) Q_EMIT selectionChanged(index);
    return;
  }
  const int selected = paging_.selected();
  list_.Remove(index);
  paging_.Removed(index);
  hovered_ = -1;
  update();
  Q_EMIT pageChanged();
  if (selected == index || paging_.selected() != selected) {
    Q_EMIT selectionChanged(paging_.selected());
  }
}

void PhotoViewer::Refresh() {
  for (int index = list_.Count() - 1; index >= 0; --index) {
    const PhotoViewerEntry before = list_.At(index);
    if (!list_.Refresh(index)) {
      cache_.Forget(before.path);
      list_.Remove(index);
      paging_.Removed(index);
    } else if (list_.At(index).fileSize != before.fileSize ||
               list_.At(index).lastWrite != before.lastWrite) {
      cache_.Forget(before.path);
    }
  }
  hovered_ = -1;
  update();
  Q_EMIT pageChanged();
  Q_EMIT selectionChanged(paging_.selected());
}

// ---------------------------------------------------------------------------------------------
// Views, pages and the selection

void PhotoViewer::SetViewIndex(int index) {
  paging_.SetViewIndex(index);
  hovered_ = -1;
  update();
  Q_EMIT pageChanged();
  Q_EMIT pageTurned();
}

void PhotoViewer::AfterPaging(bool moved) {
  if (moved) {
    hovered_ = -1;
    update();
    if (paging_.singleView()) Q_EMIT selectionChanged(paging_.selected());
  }
  Q_EMIT pageChanged();
  if (moved) Q_EMIT pageTurned();
}

void PhotoViewer::FirstPage() {
  AfterPaging(paging_.FirstPage());
}

void PhotoViewer::PreviousPage() {
  AfterPaging(paging_.PreviousPage());
}

void PhotoViewer::NextPage() {
  AfterPaging(paging_.NextPage());
}

void PhotoViewer::LastPage() {
  AfterPaging(paging_.LastPage());
}

void PhotoViewer::SelectIndex(int index) {
  if (index < 0 || index >= paging_.count()) return;
  ChangeSelection(index);
  if (!paging_.IsShown(index)) AfterPaging(paging_.ShowPageOf(index));
}

void PhotoViewer::ChangeSelection(int index) {
  if (index == paging_.selected()) return;
  const QRect before = CellRect(paging_.selected());
  paging_.Select(index);
  bool moved = false;
  if (paging_.singleView()) {
    moved = paging_.ShowPageOf(index);  // one photo a page: the selection is the page
    update();
  } else {
    update(before);
    update(CellRect(index));
  }
  setAccessibleDescription(index >= 0 ? QString::fromStdString(list_.At(index).name) : QString());
  Q_EMIT selectionChanged(index);
  if (moved) Q_EMIT pageChanged();
}

void PhotoViewer::SetFollow(bool on) {
  follow_ = on;
  if (!on) {
    Q_EMIT pageChanged();
    return;
  }
  paging_.LastPage();
  if (paging_.count() > 0) paging_.Select(paging_.count() - 1);
  hovered_ = -1;
  update();
  Q_EMIT pageChanged();
  Q_EMIT selectionChanged(paging_.selected());
}

void PhotoViewer::MoveSelection(int step) {
  if (paging_.count() == 0) return;
  const int from = paging_.selected() >= 0 ? paging_.selected() : paging_.firstShown();
  SelectIndex(std::clamp(from + step, 0, paging_.count() - 1));
}

std::string PhotoViewer::selectedPath() const {
  const int index = paging_.selected();
  return index >= 0 && index < list_.Count() ? list_.At(index).path : std::string();
}

int PhotoViewer::currentIndex() const {
  if (paging_.count() == 0) return -1;
  return paging_.IsShown(paging_.selected()) ? paging_.selected() : paging_.firstShown();
}

// ---------------------------------------------------------------------------------------------
// Appearance

void PhotoViewer::SetDropShadow(bool on) {
  if (dropShadow_ == on) return;
  dropShadow_ = on;
  update();
}

void PhotoViewer::SetHighlightSelection(bool on) {
  if (highlight_ == on) return;
  highlight_ = on;
  update();
}

void PhotoViewer::SetBackground(const QColor& color) {
  background_ = color;
  update();
}

// ---------------------------------------------------------------------------------------------
// Geometry

std::vector<QRect> PhotoViewer::Cells() const {
  if (paging_.singleView()) return {rect()};
  return PhotoViewerLayout::Cells(rect(), paging_.columns(), paging_.rows());
}

QRect PhotoViewer::CellRect(int index) const {
  if (!paging_.IsShown(index)) return {};
  const std::vector<QRect> cells = Cells();
  const auto cell = static_cast<std::size_t>(index - paging_.firstShown());
  return cell < cells.size() ? cells[cell] : QRect();
}

int PhotoViewer::PhotoAt(QPoint point) const {
  const int cell = PhotoViewerLayout::CellAt(Cells(), point, paging_.shownCount());
  return cell < 0 ? -1 : paging_.firstShown() + cell;
}

QRect PhotoViewer::PictureBox(const QRect& cell) const {
  const int inset = dropShadow_ ? kShadowInset : kPlainInset;
  const int frame = paging_.singleView() ? 0 : kFrameInset + kFrameWidth + kMatWidth;
  return cell.adjusted(frame + inset, frame + inset, -frame - inset, -frame - inset);
}

ThumbnailKey PhotoViewer::KeyFor(int index, const QRect& box) const {
  const PhotoViewerEntry& entry = list_.At(index);
  const qreal ratio = devicePixelRatioF();
  return {entry.path, entry.fileSize,
          static_cast<std::int64_t>(entry.lastWrite.time_since_epoch().count()),
          ThumbnailCache::BoxFor(static_cast<int>(box.width() * ratio),
                                 static_cast<int>(box.height() * ratio))};
}

bool PhotoViewer::PageReady() {
  const std::vector<QRect> cells = Cells();
  for (int i = 0; i < paging_.shownCount(); ++i) {
    const int index = paging_.firstShown() + i;
    if (cache_.Find(KeyFor(index, PictureBox(cells[static_cast<std::size_t>(i)]))) == nullptr) {
      return false;
    }
  }
  return true;
}

void PhotoViewer::RequestThumbnails() {
  const std::vector<QRect> cells = Cells();
  if (cells.empty() || paging_.count() == 0) return;
  const QRect box = PictureBox(cells.front());
  if (box.width() <= 0 || box.height() <= 0) return;
  std::vector<ThumbnailKey> keys;
  // The page first, then the next one, so that paging on is instant.
  const int last = std::min(paging_.count(), paging_.firstShown() + 2 * paging_.perPage());
  for (int index = paging_.firstShown(); index < last; ++index) {
    keys.push_back(KeyFor(index, box));
  }
  cache_.Request(keys);
}

void PhotoViewer::OnThumbnailReady(const QString& path) {
  const int index = list_.IndexOf(path.toStdString());
  if (index >= 0 && paging_.IsShown(index)) update(CellRect(index));
}

// ---------------------------------------------------------------------------------------------
// Painting

void PhotoViewer::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), background_);
  if (paging_.count() == 0) {
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(rect().adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap,
                     emptyHint_);
    return;
  }
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  const std::vector<QRect> cells = Cells();
  bool missing = false;
  for (std::size_t cell = 0; cell < cells.size(); ++cell) {
    const int index = paging_.firstShown() + static_cast<int>(cell);
    if (index >= paging_.count()) break;
    const QRect& area = cells[cell];
    // A picture that came in repaints its own cell only.
    if (!event->region().intersects(area)) {
      missing = missing || cache_.Find(KeyFor(index, PictureBox(area))) == nullptr;
      continue;
    }
    if (!paging_.singleView()) {
      QRect frame = area.adjusted(kFrameInset, kFrameInset, -kFrameInset, -kFrameInset);
      const bool selected = highlight_ && index == paging_.selected();
      painter.fillRect(frame, selected ? kSelectedFrame : kFrame);
      frame.adjust(kFrameWidth, kFrameWidth, -kFrameWidth, -kFrameWidth);
      painter.fillRect(frame, Qt::white);
      if (hasFocus() && index == paging_.selected()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(area.adjusted(0, 0, -1, -1));
      }
    }
    if (!PaintPhoto(painter, index, PictureBox(area))) missing = true;
  }
  if (missing) RequestThumbnails();
}

bool PhotoViewer::PaintPhoto(QPainter& painter, int index, const QRect& box) {
  const ThumbnailCache::Entry* entry = cache_.Find(KeyFor(index, box));
  if (entry == nullptr) return false;
  if (entry->image.isNull()) return true;  // a damaged photo shows its frame only
  PhotoViewerEntry& photo = list_.At(index);
  const QSize size = entry->photoSize.isValid() ? entry->photoSize : entry->image.size();
  photo.width = size.width();
  photo.height = size.height();
  const QRect target = PhotoViewerLayout::FitCentered(size.width(), size.height(), box);
  if (target.isEmpty()) return true;
  if (dropShadow_) painter.fillRect(target.translated(kShadowOffset, kShadowOffset), kShadow);
  painter.drawImage(target, entry->image);
  return true;
}

// ---------------------------------------------------------------------------------------------
// Mouse and keys

void PhotoViewer::resizeEvent(QResizeEvent* event) {
  hovered_ = -1;
  QWidget::resizeEvent(event);
}

void PhotoViewer::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    const int index = PhotoAt(event->position().toPoint());
    if (index >= 0) ChangeSelection(index);
  }
  QWidget::mousePressEvent(event);
}

void PhotoViewer::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const int index = PhotoAt(event->position().toPoint());
  if (index < 0) return;
  ChangeSelection(index);
  Q_EMIT photoDoubleClicked(index);
}

void PhotoViewer::mouseMoveEvent(QMouseEvent* event) {
  SetHovered(PhotoAt(event->position().toPoint()));
  QWidget::mouseMoveEvent(event);
}

void PhotoViewer::leaveEvent(QEvent* event) {
  if (!paging_.singleView()) SetHovered(-1);
  QWidget::leaveEvent(event);
}

void PhotoViewer::SetHovered(int index) {
  if (index == hovered_) return;
  // In the single view the photo stays described when the pointer leaves it.
  if (index < 0 && paging_.singleView()) return;
  hovered_ = index;
  Q_EMIT hoveredChanged(index);
}

void PhotoViewer::contextMenuEvent(QContextMenuEvent* event) {
  if (event->reason() == QContextMenuEvent::Mouse) {
    const int index = PhotoAt(event->pos());
    if (index < 0) return;
    ChangeSelection(index);
    Q_EMIT contextMenuRequested(event->globalPos());
    return;
  }
  const QRect cell = CellRect(paging_.selected());
  if (cell.isEmpty()) return;
  Q_EMIT contextMenuRequested(mapToGlobal(cell.center()));
}

void PhotoViewer::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
    QWidget::keyPressEvent(event);
    return;
  }
  const int columns = paging_.singleView() ? 1 : paging_.columns();
  switch (event->key()) {
    case Qt::Key_Left:
      MoveSelection(-1);
      break;
    case Qt::Key_Right:
      MoveSelection(1);
      break;
    case Qt::Key_Up:
      MoveSelection(-columns);
      break;
    case Qt::Key_Down:
      MoveSelection(columns);
      break;
    case Qt::Key_Home:
      SelectIndex(0);
      break;
    case Qt::Key_End:
      SelectIndex(paging_.count() - 1);
      break;
    case Qt::Key_PageUp:
      PreviousPage();
      break;
    case Qt::Key_PageDown:
      NextPage();
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (paging_.selected() >= 0) Q_EMIT photoDoubleClicked(paging_.selected());
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  event->accept();
}

}  // namespace trawlix::ui
