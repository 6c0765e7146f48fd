#pragma once

#include <QString>

class QWidget;

namespace trawlix::ui {

// Why an options page cannot be left as it is: the message to show and the control to fix.
struct OptionsPageProblem {
  QString message;
  QWidget* focus = nullptr;
};

}  // namespace trawlix::ui
