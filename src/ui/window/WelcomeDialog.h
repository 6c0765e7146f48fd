#pragma once

#include <QDialog>

namespace trawlix::ui {

// Shown once, on the first run with a new database: introduces the sample projects that the
// database was seeded with and says where to start.
class WelcomeDialog : public QDialog {
  Q_OBJECT

 public:
  explicit WelcomeDialog(QWidget* parent = nullptr);

  // The page's rich text.
  static QString PageText();
};

}  // namespace trawlix::ui
