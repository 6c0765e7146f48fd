#include "ui/tools/GrayscaleToolDialog.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QLineEdit>
#include <QRadioButton>
#include <QUrl>
#include <QVBoxLayout>

#include "base/MessageBox.h"
#include "base/Number.h"
#include "base/Text.h"
#include "imaging/tools/GrayscaleTool.h"
#include "operations/GrayscaleRun.h"
#include "ui/FolderBrowser.h"

namespace trawlix::ui {

GrayscaleToolDialog::GrayscaleToolDialog(const ProjectsRecord& project, MessageSink& messages,
                                         QWidget* parent)
    : BatchToolDialog(project, messages, parent) {
  auto* options = new QWidget(this);
  auto* layout = new QVBoxLayout(options);
  layout->setContentsMargins(0, 0, 0, 0);
  replace_ = new QRadioButton(tr("&Replace the existing photos"), options);
  replace_->setAccessibleName(tr("Replace the existing photos"));
  toFolder_ = new QRadioButton(tr("&Save the grayscale photos to:"), options);
  toFolder_->setAccessibleName(tr("Save the grayscale photos to:"));
  folder_ = new FolderBrowser(tr("Choose the location to save the converted photos."),
                              tr("Choose Folder"), options);
  folder_->edit()->setAccessibleName(tr("Save the grayscale photos to:"));
  open_ = new QCheckBox(tr("&Open the folder when done"), options);
  open_->setAccessibleName(tr("Open the folder when done"));
  replace_->setChecked(true);
  layout->addWidget(replace_);
  layout->addWidget(toFolder_);
  layout->addWidget(folder_);
  layout->addWidget(open_);
  connect(toFolder_, &QRadioButton::toggled, this, &GrayscaleToolDialog::UpdateControls);
  opener_ = [](const QString& folder) { QDesktopServices::openUrl(QUrl::fromLocalFile(folder)); };
  Build(options, tr("&Convert"));
  UpdateControls();
}

void GrayscaleToolDialog::UpdateControls() {
  folder_->setEnabled(toFolder_->isChecked());
  open_->setEnabled(toFolder_->isChecked());
}

QString GrayscaleToolDialog::Caption() const {
  return QString::fromStdString(
      Format("Convert To Grayscale %s %s - %s",
             FormatThousands(static_cast<std::int64_t>(workList().size())).c_str(),
             PhotoWord(workList().size()), project_.title.c_str()));
}

std::unique_ptr<BatchJob> GrayscaleToolDialog::CreateJob() {
  runFolder_.clear();
  auto run = PlanGrayscaleRun(project_.saveTo, workList(), replace_->isChecked(),
                              folder_->path().toStdString());
  if (!run) {
    messages_.Inform("Please choose the location to save the converted photos.");
    folder_->setFocus();
    return nullptr;
  }
  // The dialog shows what the run does: copies into the project's folder run in place.
  replace_->setChecked(run->options.replace);
  if (!run->options.replace) runFolder_ = QString::fromStdString(run->options.folder);
  return std::make_unique<GrayscaleTool>(std::move(run->photos), run->options);
}

void GrayscaleToolDialog::AfterRun(const BatchJob&) {
  if (!runFolder_.isEmpty() && open_->isChecked() && opener_) opener_(runFolder_);
}

}  // namespace trawlix::ui
