#pragma once

#include <QString>
#include <optional>

namespace trawlix::ui {

// What the desktop shows of the program outside its window: notifications and the progress
// on its task bar entry. Both are best effort: without a desktop session nothing happens.
class DesktopNotifier {
 public:
  virtual ~DesktopNotifier() = default;

  // A notification; clicking it brings the program's window to the front.
  virtual void Notify(const QString& summary, const QString& body) = 0;
  // Progress from 0 to 1 on the task bar entry; no value hides it.
  virtual void ShowProgress(std::optional<double> fraction) = 0;
};

}  // namespace trawlix::ui
