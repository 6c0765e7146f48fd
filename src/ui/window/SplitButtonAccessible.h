#pragma once

#include <QAccessibleWidget>
#include <QString>

class QObject;
class QToolButton;

namespace trawlix::ui {

// A tool button with a main action and a menu beside it ("Start Scanning"): assistive tools
// get pressing as its first, default action and opening the menu as the second.
class SplitButtonAccessible : public QAccessibleWidget {
 public:
  explicit SplitButtonAccessible(QToolButton* button);

  // The factory Qt asks for a widget's interface: split tool buttons get this one.
  static QAccessibleInterface* Factory(const QString& className, QObject* object);

  QStringList actionNames() const override;
  void doAction(const QString& actionName) override;
  QStringList keyBindingsForAction(const QString& actionName) const override;
  QAccessible::State state() const override;

 private:
  QToolButton* button() const;
};

}  // namespace trawlix::ui
