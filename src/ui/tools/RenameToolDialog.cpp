#include "ui/tools/RenameToolDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

#include "base/MessageBox.h"
#include "base/Number.h"
#include "base/Text.h"
#include "imaging/tools/BatchRenamer.h"

namespace trawlix::ui {

RenameToolDialog::RenameToolDialog(const ProjectsRecord& project, MessageSink& messages,
                                   QWidget* parent)
    : BatchToolDialog(project, messages, parent) {
  auto* options = new QWidget(this);
  auto* grid = new QGridLayout(options);
  grid->setContentsMargins(0, 0, 0, 0);
  prefixMode_ = new QRadioButton(tr("Rename photos &with the prefix:"), options);
  prefixMode_->setAccessibleName(tr("Rename photos with the prefix:"));
  prefix_ = new QLineEdit(QString::fromStdString(project_.namePrefix), options);
  prefix_->setAccessibleName(tr("Prefix"));
  folderMode_ = new QRadioButton(tr("Rename photos using container &folder's name"), options);
  folderMode_->setAccessibleName(tr("Rename photos using container folder's name"));
  spaces_ = new QCheckBox(tr("Replace &spaces with underscore '_' character"), options);
  spaces_->setAccessibleName(tr("Replace spaces with underscore '_' character"));
  dashes_ = new QCheckBox(tr("Replace &dashes '-' with underscore '_' character"), options);
  dashes_->setAccessibleName(tr("Replace dashes '-' with underscore '_' character"));
  size_ = new QCheckBox(tr("&Include photo size."), options);
  size_->setAccessibleName(tr("Include photo size."));
  pad_ = new QCheckBox(tr("&Pad Number with zeros:"), options);
  pad_->setAccessibleName(tr("Pad Number with zeros:"));
  padding_ = new QSpinBox(options);
  padding_->setRange(1, 9);
  padding_->setValue(project_.padding > 0 ? project_.padding : 3);
  padding_->setAccessibleName(tr("Padding"));
  size_->setChecked(project_.includePhotoSize);
  pad_->setChecked(project_.padNumbers);
  prefixMode_->setChecked(true);
  grid->addWidget(prefixMode_, 0, 0);
  grid->addWidget(prefix_, 0, 1);
  grid->addWidget(folderMode_, 1, 0, 1, 2);
  // The folder-name choices sit under their mode.
  for (int row : {2, 3}) {
    auto* indented = new QHBoxLayout;
    indented->addSpacing(24);
    indented->addWidget(row == 2 ? spaces_ : dashes_);
    grid->addLayout(indented, row, 0, 1, 2);
  }
  grid->addWidget(size_, 4, 0, 1, 2);
  grid->addWidget(pad_, 5, 0);
  grid->addWidget(padding_, 5, 1);
  for (QAbstractButton* button :
       {static_cast<QAbstractButton*>(prefixMode_), static_cast<QAbstractButton*>(folderMode_),
        static_cast<QAbstractButton*>(pad_)})
    connect(button, &QAbstractButton::toggled, this, &RenameToolDialog::UpdateControls);
  Build(options, tr("&Rename"));
  UpdateControls();
}

void RenameToolDialog::UpdateControls() {
  const bool byFolder = folderMode_->isChecked();
  prefix_->setEnabled(!byFolder);
  spaces_->setEnabled(byFolder);
  dashes_->setEnabled(byFolder);
  padding_->setEnabled(pad_->isChecked());
}

QString RenameToolDialog::Caption() const {
  return QString::fromStdString(Format(
      "Rename %s %s - %s", FormatThousands(static_cast<std::int64_t>(workList().size())).c_str(),
      PhotoWord(workList().size()), project_.title.c_str()));
}

std::unique_ptr<BatchJob> RenameToolDialog::CreateJob() {
  BatchRenameOptions options;
  options.mode = folderMode_->isChecked() ? RenameMode::FolderName : RenameMode::Prefix;
  options.prefix = Trim(prefix_->text().toStdString());
  options.includePhotoSize = size_->isChecked();
  options.padNumbers = pad_->isChecked();
  options.padding = padding_->value();
  options.spacesToUnderscores = spaces_->isChecked();
  options.dashesToUnderscores = dashes_->isChecked();
  return std::make_unique<BatchRenamer>(workList(), options, project_.thumbnailSaveTo,
                                        project_.mobileSaveTo);
}

}  // namespace trawlix::ui
