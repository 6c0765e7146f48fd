#pragma once

#include <QAccessibleWidget>
#include <QString>
#include <map>

class QObject;

namespace trawlix::ui {

class PhotoViewer;

// Screen readers and UI automation see the viewer as a list: one item per photo, named by
// its file name, the current photo selected and focused.
class PhotoViewerAccessible : public QAccessibleWidget {
 public:
  explicit PhotoViewerAccessible(PhotoViewer* viewer);
  ~PhotoViewerAccessible() override;

  // The factory Qt asks for a widget's interface: the viewer gets this one.
  static QAccessibleInterface* Factory(const QString& className, QObject* object);

  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override;
  QAccessibleInterface* focusChild() const override;

  PhotoViewer* viewer() const;

 private:
  // Items are made when first asked for and kept, so that each keeps its identity.
  mutable std::map<int, QAccessible::Id> items_;
};

// Tells assistive tools which photo became current: focus and selection moved to its item.
void AnnounceCurrentPhoto(PhotoViewer* viewer, int index);

}  // namespace trawlix::ui
