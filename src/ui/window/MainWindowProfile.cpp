#include "ui/window/MainWindowProfile.h"

#include <QSettings>

namespace trawlix::ui::main_window_profile {

namespace {

QSettings Store() {
  return QSettings(QStringLiteral("Quillmoor"), QStringLiteral("Trawlix() PRO"));
}

}  // namespace

bool Maximized() {
  return Store().value(QStringLiteral("Window/Maximized"), false).toBool();
}

void SetMaximized(bool maximized) {
  Store().setValue(QStringLiteral("Window/Maximized"), maximized);
}

int LastCategoryId() {
  return Store().value(QStringLiteral("Window/LastCategory"), -1).toInt();
}

int LastProjectId() {
  return Store().value(QStringLiteral("Window/LastProject"), -1).toInt();
}

void SetLastSelection(int categoryId, int projectId) {
  QSettings profile = Store();
  profile.setValue(QStringLiteral("Window/LastCategory"), categoryId);
  profile.setValue(QStringLiteral("Window/LastProject"), projectId);
}

}  // namespace trawlix::ui::main_window_profile
