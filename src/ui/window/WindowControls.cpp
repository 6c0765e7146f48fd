#include "ui/window/WindowControls.h"

#include <QHBoxLayout>
#include <QShortcut>
#include <QToolButton>

namespace trawlix::ui {

QToolButton* IconButton(IconName icon, const QString& toolTip, const char* objectName,
                        int iconSize) {
  auto* button = new QToolButton;
  button->setIcon(Icon(icon));
  button->setIconSize(QSize(iconSize, iconSize));
  button->setObjectName(QLatin1String(objectName));
  // The name stays when the tool tips are switched off: screen readers still need it.
  button->setAccessibleName(toolTip);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::StrongFocus);
  return button;
}

QHBoxLayout* ButtonRow() {
  auto* row = new QHBoxLayout;
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(4);
  return row;
}

void AddWindowKey(QWidget& window, const QKeySequence& keys, const std::function<void()>& run) {
  auto* shortcut = new QShortcut(keys, &window);
  QObject::connect(shortcut, &QShortcut::activated, &window, run);
  // Alt+H is also the Help button's mnemonic: the page wins, the button only takes focus.
  QObject::connect(shortcut, &QShortcut::activatedAmbiguously, &window, run);
}

}  // namespace trawlix::ui
