#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "ui/window/DesktopNotifier.h"

namespace trawlix::ui {

// Notifications through org.freedesktop.Notifications and task bar progress through the
// com.canonical.Unity.LauncherEntry signal, on the session bus. Without a session bus
// (tests, CI, a bare console) every call does nothing.
class DBusDesktopNotifier final : public QObject, public DesktopNotifier {
  Q_OBJECT

 public:
  // `activate` runs when the user clicks a notification this object sent.
  explicit DBusDesktopNotifier(std::function<void()> activate, QObject* parent = nullptr);

  void Notify(const QString& summary, const QString& body) override;
  void ShowProgress(std::optional<double> fraction) override;

  // Whether a session bus can be reached without starting one.
  static bool SessionBusAvailable();

 private Q_SLOTS:
  void OnActionInvoked(uint id, const QString& action);

 private:
  std::function<void()> activate_;
  bool connected_ = false;
  QStringList capabilities_;
  uint lastId_ = 0;  // replaced by the next notification, so that only one stays
};

}  // namespace trawlix::ui
