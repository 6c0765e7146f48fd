#include "ui/window/CategoryNameDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace trawlix::ui {

CategoryNameDialog::CategoryNameDialog(Mode mode, const QString& name, QWidget* parent)
    : QDialog(parent), nameEdit_(new QLineEdit(name, this)) {
  setWindowTitle(mode == Mode::New ? tr("New Trawlix() PRO Category")
                                   : tr("Edit Trawlix() PRO Category"));

  auto* label = new QLabel(tr("&Category Name:"), this);
  label->setBuddy(nameEdit_);
  nameEdit_->setAccessibleName(tr("Category Name"));
  nameEdit_->setMinimumWidth(300);
  nameEdit_->selectAll();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(nameEdit_);
  layout->addSpacing(6);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  nameEdit_->setFocus();
}

QString CategoryNameDialog::name() const {
  return nameEdit_->text();
}

}  // namespace trawlix::ui
