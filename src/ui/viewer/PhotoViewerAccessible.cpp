#include "ui/viewer/PhotoViewerAccessible.h"

#include <QPointer>

#include "ui/viewer/PhotoViewer.h"

namespace trawlix::ui {

namespace {

// One photo of the viewer.
class PhotoItemAccessible : public QAccessibleInterface {
 public:
  PhotoItemAccessible(PhotoViewer* viewer, int index) : viewer_(viewer), index_(index) {}

  bool isValid() const override { return viewer_ != nullptr && index_ < viewer_->count(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return parent()->window(); }
  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(viewer_.data());
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessible::Role role() const override { return QAccessible::ListItem; }

  QString text(QAccessible::Text type) const override {
    if (type != QAccessible::Name || !isValid()) return {};
    return QString::fromStdString(viewer_->photo(index_).name);
  }
  void setText(QAccessible::Text, const QString&) override {}

  QRect rect() const override {
    if (!isValid()) return {};
    const QRect cell = viewer_->CellRect(index_);
    return cell.isEmpty() ? QRect() : QRect(viewer_->mapToGlobal(cell.topLeft()), cell.size());
  }

  QAccessible::State state() const override {
    QAccessible::State state;
    state.selectable = state.focusable = true;
    if (!isValid()) return state;
    state.invisible = viewer_->CellRect(index_).isEmpty();
    state.selected = viewer_->selectedIndex() == index_;
    state.focused = state.selected && viewer_->hasFocus();
    return state;
  }

 private:
  QPointer<PhotoViewer> viewer_;
  int index_;
};

}  // namespace

PhotoViewerAccessible::PhotoViewerAccessible(PhotoViewer* viewer)
    : QAccessibleWidget(viewer, QAccessible::List) {}

PhotoViewerAccessible::~PhotoViewerAccessible() {
  for (const auto& [index, id] : items_) QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface* PhotoViewerAccessible::Factory(const QString& className, QObject* object) {
  auto* viewer = qobject_cast<PhotoViewer*>(object);
  if (className != QLatin1String("trawlix::ui::PhotoViewer") || viewer == nullptr) return nullptr;
  return new PhotoViewerAccessible(viewer);
}

PhotoViewer* PhotoViewerAccessible::viewer() const {
  return static_cast<PhotoViewer*>(widget());
}

int PhotoViewerAccessible::childCount() const {
  return viewer()->count();
}

QAccessibleInterface* PhotoViewerAccessible::child(int index) const {
  if (index < 0 || index >= childCount()) return nullptr;
  const auto known = items_.find(index);
  if (known != items_.end()) return QAccessible::accessibleInterface(known->second);
  auto* item = new PhotoItemAccessible(viewer(), index);
  items_.emplace(index, QAccessible::registerAccessibleInterface(item));
  return item;
}

int PhotoViewerAccessible::indexOfChild(const QAccessibleInterface* child) const {
  for (const auto& [index, id] : items_) {
    if (QAccessible::accessibleInterface(id) == child) return index < childCount() ? index : -1;
  }
  return -1;
}

QAccessibleInterface* PhotoViewerAccessible::childAt(int x, int y) const {
  const int index = viewer()->PhotoAt(viewer()->mapFromGlobal(QPoint(x, y)));
  return index >= 0 ? child(index) : nullptr;
}

QAccessibleInterface* PhotoViewerAccessible::focusChild() const {
  return viewer()->hasFocus() ? child(viewer()->selectedIndex()) : nullptr;
}

void AnnounceCurrentPhoto(PhotoViewer* viewer, int index) {
  if (index < 0 || !QAccessible::isActive()) return;
  QAccessibleEvent selection(viewer, QAccessible::Selection);
  selection.setChild(index);
  QAccessible::updateAccessibility(&selection);
  if (!viewer->hasFocus()) return;
  QAccessibleEvent focus(viewer, QAccessible::Focus);
  focus.setChild(index);
  QAccessible::updateAccessibility(&focus);
}

}  // namespace trawlix::ui
