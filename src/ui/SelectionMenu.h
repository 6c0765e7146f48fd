#pragma once

#include <QMenu>
#include <QObject>

namespace trawlix::ui {

// The "Select All / Deselect All / Invert Selection" menu of a check list: any list with
// those three functions.
template <typename CheckList>
QMenu* SelectionMenu(QWidget* parent, CheckList* list) {
  auto* menu = new QMenu(parent);
  QObject::connect(menu->addAction(QObject::tr("Select All")), &QAction::triggered, list,
                   [list] { list->SelectAll(); });
  QObject::connect(menu->addAction(QObject::tr("Deselect All")), &QAction::triggered, list,
                   [list] { list->DeselectAll(); });
  QObject::connect(menu->addAction(QObject::tr("Invert Selection")), &QAction::triggered, list,
                   [list] { list->InvertSelection(); });
  return menu;
}

}  // namespace trawlix::ui
