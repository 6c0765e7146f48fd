#pragma once

#include <QString>
#include <QWidget>
#include <functional>

class QLineEdit;
class QToolButton;

namespace trawlix::ui {

// A folder path box with a "..." button that opens a folder chooser. The box takes the
// focus for the whole control, so a label's buddy and a check's focus land in the text.
class FolderBrowser : public QWidget {
  Q_OBJECT

 public:
  // Asks for a folder: the dialog title and the folder to start in; empty when cancelled.
  using Chooser =
      std::function<QString(QWidget* parent, const QString& title, const QString& start)>;

  // `chooserTitle` titles the folder chooser; `toolTip` names the button.
  FolderBrowser(const QString& chooserTitle, const QString& toolTip, QWidget* parent = nullptr);

  QString path() const;
  void setPath(const QString& path);

  QLineEdit* edit() const { return edit_; }
  QToolButton* button() const { return button_; }

  // Replaces the system folder chooser (tests answer without a modal dialog).
  void SetChooser(Chooser chooser) { chooser_ = std::move(chooser); }

  // Opens the chooser and takes its folder, as the button does.
  void Browse();

 Q_SIGNALS:
  void pathChanged(const QString& path);

 private:
  QString chooserTitle_;
  QLineEdit* edit_;
  QToolButton* button_;
  Chooser chooser_;
};

}  // namespace trawlix::ui
