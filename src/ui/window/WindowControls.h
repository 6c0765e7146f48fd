#pragma once

#include <QKeySequence>
#include <QString>
#include <functional>

#include "ui/Icons.h"

class QHBoxLayout;
class QToolButton;
class QWidget;

namespace trawlix::ui {

inline constexpr int kSmallIcon = 24;

// A flat icon button of the main window and its pages; `toolTip` is its accessible name and,
// while tool tips are on, its tool tip.
QToolButton* IconButton(IconName icon, const QString& toolTip, const char* objectName,
                        int iconSize = kSmallIcon);

// A row of buttons without margins.
QHBoxLayout* ButtonRow();

// A key of the main window: it works on every page, whichever has the focus.
void AddWindowKey(QWidget& window, const QKeySequence& keys, const std::function<void()>& run);

}  // namespace trawlix::ui
