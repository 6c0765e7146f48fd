#include "ui/window/DBusDesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDir>
#include <QFileInfo>
#include <QVariantMap>

namespace trawlix::ui {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kDesktopId = QStringLiteral("com.quillmoor.Trawlix");
const QString kLauncherPath = QStringLiteral("/com/quillmoor/Trawlix");
const QString kLauncherInterface = QStringLiteral("com.canonical.Unity.LauncherEntry");
const QString kDefaultAction = QStringLiteral("default");

}  // namespace

bool DBusDesktopNotifier::SessionBusAvailable() {
  // Without an address the bus library would try to start a bus of its own: never wanted.
  if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return true;
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  return !runtime.isEmpty() && QFileInfo::exists(QDir(runtime).filePath(QStringLiteral("bus")));
}

DBusDesktopNotifier::DBusDesktopNotifier(std::function<void()> activate, QObject* parent)
    : QObject(parent), activate_(std::move(activate)) {
  if (!SessionBusAvailable()) return;
  QDBusConnection bus = QDBusConnection::sessionBus();
  connected_ = bus.isConnected();
  if (!connected_) return;
  bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
              SLOT(OnActionInvoked(uint, QString)));
  // Whether the server reads markup in the body decides how the results' text is sent.
  const QDBusMessage query = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                            QStringLiteral("GetCapabilities"));
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(query), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
    const QDBusPendingReply<QStringList> reply = *call;
    if (reply.isValid()) capabilities_ = reply.value();
    call->deleteLater();
  });
}

void DBusDesktopNotifier::Notify(const QString& summary, const QString& body) {
  if (!connected_) return;
  QDBusMessage call =
      QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
  const bool markup = capabilities_.contains(QStringLiteral("body-markup"));
  QStringList actions;
  if (capabilities_.isEmpty() || capabilities_.contains(QStringLiteral("actions"))) {
    actions << kDefaultAction << tr("Show");
  }
  const QVariantMap hints{{QStringLiteral("desktop-entry"), kDesktopId},
                          {QStringLiteral("category"), QStringLiteral("transfer.complete")}};
  call << QStringLiteral("Trawlix() PRO") << lastId_ << kDesktopId << summary
       << (markup ? body.toHtmlEscaped() : body) << actions << hints << qint32{-1};
  auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this,
          [this](QDBusPendingCallWatcher* pending) {
            const QDBusPendingReply<uint> reply = *pending;
            if (reply.isValid()) lastId_ = reply.value();
            pending->deleteLater();
          });
}

void DBusDesktopNotifier::ShowProgress(std::optional<double> fraction) {
  if (!connected_) return;
  QDBusMessage signal =
      QDBusMessage::createSignal(kLauncherPath, kLauncherInterface, QStringLiteral("Update"));
  QVariantMap properties{{QStringLiteral("progress-visible"), fraction.has_value()}};
  if (fraction) properties.insert(QStringLiteral("progress"), *fraction);
  signal << QStringLiteral("application://%1.desktop").arg(kDesktopId) << properties;
  QDBusConnection::sessionBus().send(signal);
}

void DBusDesktopNotifier::OnActionInvoked(uint id, const QString& action) {
  // The server tells every client about every click: only ours count.
  if (id == 0 || id != lastId_ || action != kDefaultAction) return;
  if (activate_) activate_();
}

}  // namespace trawlix::ui
