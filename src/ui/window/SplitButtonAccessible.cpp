#include "ui/window/SplitButtonAccessible.h"

#include <QToolButton>

namespace trawlix::ui {

SplitButtonAccessible::SplitButtonAccessible(QToolButton* button)
    : QAccessibleWidget(button, QAccessible::ButtonMenu) {}

QAccessibleInterface* SplitButtonAccessible::Factory(const QString& className, QObject* object) {
  auto* button = qobject_cast<QToolButton*>(object);
  if (className != QLatin1String("QToolButton") || button == nullptr ||
      button->popupMode() != QToolButton::MenuButtonPopup) {
    return nullptr;
  }
  return new SplitButtonAccessible(button);
}

QToolButton* SplitButtonAccessible::button() const {
  return static_cast<QToolButton*>(widget());
}

QStringList SplitButtonAccessible::actionNames() const {
  if (!button()->isEnabled()) return {};
  QStringList names{pressAction()};
  if (button()->menu() != nullptr) names << showMenuAction();
  return names;
}

void SplitButtonAccessible::doAction(const QString& actionName) {
  if (!button()->isEnabled()) return;
  if (actionName == pressAction())
    button()->click();
  else if (actionName == showMenuAction())
    button()->showMenu();
}

QStringList SplitButtonAccessible::keyBindingsForAction(const QString&) const {
  return {};
}

QAccessible::State SplitButtonAccessible::state() const {
  QAccessible::State state = QAccessibleWidget::state();
  state.hasPopup = button()->menu() != nullptr;
  return state;
}

}  // namespace trawlix::ui
