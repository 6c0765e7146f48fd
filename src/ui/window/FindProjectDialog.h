#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace trawlix {
class DataSession;
}

namespace trawlix::ui {

// Finds projects by title as the user types and hands the chosen one back to the main window.
class FindProjectDialog : public QDialog {
  Q_OBJECT

 public:
  FindProjectDialog(DataSession& session, const QString& lastText, QWidget* parent = nullptr);

  // The chosen project after "Go To", else -1.
  int projectId() const { return projectId_; }
  QString findText() const;

  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Search();
  void GoTo();

  DataSession& session_;
  QLineEdit* findEdit_;
  QRadioButton* startsWith_;
  QRadioButton* contains_;
  QTreeWidget* list_;
  QLabel* countLabel_;
  QPushButton* goToButton_;
  int projectId_ = -1;
};

}  // namespace trawlix::ui
