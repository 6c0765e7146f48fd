#include "ui/tools/ResizeToolDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "base/MessageBox.h"
#include "base/Number.h"
#include "base/Text.h"
#include "imaging/tools/ResizeTool.h"
#include "operations/DataSession.h"
#include "operations/PhotoToolSettings.h"
#include "operations/ProjectOperations.h"
#include "settings/Settings.h"
#include "ui/FormControls.h"

namespace trawlix::ui {

ResizeToolDialog::ResizeToolDialog(DataSession& session, const ProjectsRecord& project,
                                   MessageSink& messages, QWidget* parent)
    : BatchToolDialog(project, messages, parent), session_(session) {
  auto* options = new QWidget(this);
  auto* grid = new QGridLayout(options);
  grid->setContentsMargins(0, 0, 0, 0);
  resize_ = new QCheckBox(tr("&Resize photos."), options);
  resize_->setAccessibleName(tr("Resize photos."));
  box_ = new QSpinBox(options);
  box_->setRange(1, 100000);
  box_->setSuffix(tr(" pixels"));
  box_->setValue(project_.resizeBoundingBox > 0 ? project_.resizeBoundingBox : 800);
  auto* boxLabel = new QLabel(tr("Photos will be downsized to fit in a &bounding-box:"), options);
  LabelField(boxLabel, box_);
  convert_ = new QCheckBox(tr("&Convert photos."), options);
  convert_->setAccessibleName(tr("Convert photos."));
  format_ = new QComboBox(options);
  for (PhotoFormat format : {PhotoFormat::Bmp, PhotoFormat::Gif, PhotoFormat::Png,
                             PhotoFormat::Jpeg, PhotoFormat::Tif}) {
    format_->addItem(QString::fromStdString(PhotoFormatDisplayName(format)),
                     static_cast<int>(format));
  }
  SelectCode(format_, project_.convertToFormat);
  if (format_->currentIndex() < 0) SelectCode(format_, static_cast<int>(PhotoFormat::Jpeg));
  auto* formatLabel = new QLabel(tr("New photo &format:"), options);
  LabelField(formatLabel, format_);
  grid->addWidget(resize_, 0, 0, 1, 2);
  grid->addWidget(boxLabel, 1, 0);
  grid->addWidget(box_, 1, 1);
  grid->addWidget(convert_, 2, 0, 1, 2);
  grid->addWidget(formatLabel, 3, 0);
  grid->addWidget(format_, 3, 1);
  resize_->setChecked(project_.autoResize);
  convert_->setChecked(project_.autoConvert);
  connect(resize_, &QCheckBox::toggled, this, &ResizeToolDialog::UpdateControls);
  connect(convert_, &QCheckBox::toggled, this, &ResizeToolDialog::UpdateControls);
  Build(options, tr("&Go"));
  UpdateControls();
}

void ResizeToolDialog::UpdateControls() {
  box_->setEnabled(resize_->isChecked());
  format_->setEnabled(convert_->isChecked());
  if (!Running()) startButton()->setEnabled(resize_->isChecked() || convert_->isChecked());
}

QString ResizeToolDialog::Caption() const {
  return QString::fromStdString(
      Format("Resize & Convert Photos - %s, %s %s", project_.title.c_str(),
             FormatThousands(static_cast<std::int64_t>(workList().size())).c_str(),
             PhotoWord(workList().size())));
}

std::unique_ptr<BatchJob> ResizeToolDialog::CreateJob() {
  if (!resize_->isChecked() && !convert_->isChecked()) return nullptr;
  ResizeToolOptions options = ResizeToolOptionsFrom(session_.settings().Values());
  options.resize = resize_->isChecked();
  options.box = box_->value();
  options.convert = convert_->isChecked();
  options.format = PhotoFormatFromCode(ChosenCode(format_));
  options.saveTo = project_.saveTo;

  ProjectsRecord changed = project_;
  if (options.resize) changed.resizeBoundingBox = options.box;
  if (options.convert) changed.convertToFormat = static_cast<int>(options.format);
  if (changed.resizeBoundingBox != project_.resizeBoundingBox ||
      changed.convertToFormat != project_.convertToFormat) {
    if (UpdateProject(session_, project_, changed, TitleRule::Any).outcome == SaveOutcome::Saved)
      project_ = changed;
  }
  return std::make_unique<ResizeTool>(workList(), options);
}

}  // namespace trawlix::ui
