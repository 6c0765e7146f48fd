#include "ui/FolderBrowser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

#include "ui/Icons.h"

namespace trawlix::ui {

namespace {

QString SystemChooser(QWidget* parent, const QString& title, const QString& start) {
  return QFileDialog::getExistingDirectory(parent, title, start, QFileDialog::ShowDirsOnly);
}

// The nearest existing folder of a typed path, so the chooser opens where the user was.
QString StartFolder(const QString& path) {
  QString folder = QDir::cleanPath(path.trimmed());
  while (!folder.isEmpty() && !QFileInfo(folder).isDir()) {
    const QString parent = QFileInfo(folder).path();
    if (parent == folder) return {};
    folder = parent;
  }
  return folder;
}

}  // namespace

FolderBrowser::FolderBrowser(const QString& chooserTitle, const QString& toolTip, QWidget* parent)
    : QWidget(parent),
      chooserTitle_(chooserTitle),
      edit_(new QLineEdit(this)),
      button_(new QToolButton(this)),
      chooser_(SystemChooser) {
  button_->setText(QStringLiteral("..."));
  button_->setIcon(Icon(IconName::Browse));
  button_->setToolTip(toolTip);
  button_->setAccessibleName(toolTip);
  // Reachable by Tab like every other control of a dialog.
  button_->setFocusPolicy(Qt::StrongFocus);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(edit_, 1);
  layout->addWidget(button_);
  setFocusProxy(edit_);

  connect(edit_, &QLineEdit::textChanged, this, &FolderBrowser::pathChanged);
  connect(button_, &QToolButton::clicked, this, &FolderBrowser::Browse);
}

QString FolderBrowser::path() const {
  return edit_->text();
}

void FolderBrowser::setPath(const QString& path) {
  edit_->setText(path);
}

void FolderBrowser::Browse() {
  const QString folder = chooser_(window(), chooserTitle_, StartFolder(edit_->text()));
  if (folder.isEmpty()) return;
  edit_->setText(QDir::toNativeSeparators(folder));
  edit_->setFocus();
}

}  // namespace trawlix::ui
