#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

namespace trawlix::ui {

// Asks for the name of a new category or the new name of an existing one. The caller checks
// the name and opens the dialog again with the typed text when it is refused.
class CategoryNameDialog : public QDialog {
  Q_OBJECT

 public:
  enum class Mode { New, Edit };

  CategoryNameDialog(Mode mode, const QString& name, QWidget* parent = nullptr);

  QString name() const;

 private:
  QLineEdit* nameEdit_;
};

}  // namespace trawlix::ui
