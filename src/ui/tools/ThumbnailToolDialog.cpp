#include "ui/tools/ThumbnailToolDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "base/MessageBox.h"
#include "base/Number.h"
#include "base/Text.h"
#include "operations/DataSession.h"
#include "operations/PhotoToolSettings.h"
#include "operations/ProjectOperations.h"
#include "settings/Settings.h"
#include "ui/FolderBrowser.h"
#include "ui/FormControls.h"

namespace trawlix::ui {
namespace {

SmallCopyOptions Read(const ThumbnailToolDialog::CopyControls& controls) {
  SmallCopyOptions kind;
  kind.create = controls.create->isChecked();
  kind.box = controls.box->value();
  kind.format = PhotoFormatFromCode(ChosenCode(controls.format));
  kind.orientation = PhotoOrientationFromCode(ChosenCode(controls.orientation));
  kind.folder = Trim(controls.folder->path().toStdString());
  kind.clearFirst = controls.clear->isChecked();
  return kind;
}

}  // namespace

ThumbnailToolDialog::ThumbnailToolDialog(DataSession& session, const ProjectsRecord& project,
                                         MessageSink& messages, QWidget* parent)
    : BatchToolDialog(project, messages, parent), session_(session) {
  auto* options = new QWidget(this);
  auto* layout = new QVBoxLayout(options);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(MakeGroup(thumbs_, true, options));
  layout->addWidget(MakeGroup(mobile_, false, options));

  const auto preset = [](const CopyControls& c, int create, int box, int format, int orientation,
                         const std::string& folder) {
    c.create->setChecked(create == 1);
    c.box->setValue(box > 0 ? box : c.box->value());
    SelectCode(c.format, format < 0 ? 0 : format);
    SelectCode(c.orientation, orientation < 0 ? 0 : orientation);
    c.folder->setPath(QString::fromStdString(folder));
  };
  preset(thumbs_, project_.autoCreateThumbnails, project_.thumbnailBoundingBox,
         project_.thumbnailFormat, project_.thumbnailOrientation, project_.thumbnailSaveTo);
  preset(mobile_, project_.autoCreateMobile, project_.mobileBoundingBox, project_.mobileFormat,
         project_.mobileOrientation, project_.mobileSaveTo);
  if (!thumbs_.create->isChecked() && !mobile_.create->isChecked())
    thumbs_.create->setChecked(true);
  for (QCheckBox* check : {thumbs_.create, mobile_.create})
    connect(check, &QCheckBox::toggled, this, &ThumbnailToolDialog::UpdateControls);
  Build(options, tr("&Go"));
  UpdateControls();
}

QWidget* ThumbnailToolDialog::MakeGroup(CopyControls& c, bool thumbnails, QWidget* parent) {
  auto* group = new QGroupBox(thumbnails ? tr("Thumbnails") : tr("Mobile Photos"), parent);
  auto* grid = new QGridLayout(group);
  c.create =
      new QCheckBox(thumbnails ? tr("Create &Thumbnails") : tr("Create &Mobile Photos"), group);
  c.create->setAccessibleName(thumbnails ? tr("Create Thumbnails") : tr("Create Mobile Photos"));
  c.box = new QSpinBox(group);
  c.box->setRange(1, 100000);
  c.box->setValue(thumbnails ? 150 : 640);
  c.box->setSuffix(tr(" pixels"));
  c.format = new QComboBox(group);
  FillFormatChoices(c.format);
  c.orientation = new QComboBox(group);
  FillOrientationChoices(c.orientation);
  c.folder = new FolderBrowser(thumbnails ? tr("Choose Folder to Save Thumbnails.")
                                          : tr("Choose Folder to Save Mobile Photos."),
                               tr("Choose Folder"), group);
  c.clear = new QCheckBox(
      thumbnails ? tr("&Delete existing thumbnails") : tr("D&elete existing Mobile Photos"), group);
  c.clear->setAccessibleName(thumbnails ? tr("Delete existing thumbnails")
                                        : tr("Delete existing Mobile Photos"));
  auto* boxLabel = new QLabel(thumbnails ? tr("&Bounding-box (Trawlix will maintain aspect ratio)")
                                         : tr("Bou&nding-box (Trawlix will maintain aspect ratio)"),
                              group);
  auto* formatLabel = new QLabel(thumbnails ? tr("Photo &Format:") : tr("Photo F&ormat:"), group);
  auto* orientationLabel =
      new QLabel(thumbnails ? tr("Create thumbnail when photo orientation &is:")
                            : tr("Create mobile photo &when orientation is:"),
                 group);
  auto* folderLabel =
      new QLabel(thumbnails ? tr("&Save thumbnails to:") : tr("Save p&hotos to:"), group);
  LabelField(boxLabel, c.box);
  LabelField(formatLabel, c.format);
  LabelField(orientationLabel, c.orientation);
  LabelField(folderLabel, c.folder->edit());
  grid->addWidget(c.create, 0, 0, 1, 2);
  grid->addWidget(boxLabel, 1, 0);
  grid->addWidget(c.box, 1, 1);
  grid->addWidget(formatLabel, 2, 0);
  grid->addWidget(c.format, 2, 1);
  grid->addWidget(orientationLabel, 3, 0);
  grid->addWidget(c.orientation, 3, 1);
  grid->addWidget(folderLabel, 4, 0, 1, 2);
  grid->addWidget(c.folder, 5, 0, 1, 2);
  grid->addWidget(c.clear, 6, 0, 1, 2);
  return group;
}

void ThumbnailToolDialog::UpdateControls() {
  for (const CopyControls* c : {&thumbs_, &mobile_}) {
    const bool on = c->create->isChecked();
    for (QWidget* field : {static_cast<QWidget*>(c->box), static_cast<QWidget*>(c->format),
                           static_cast<QWidget*>(c->orientation), static_cast<QWidget*>(c->folder),
                           static_cast<QWidget*>(c->clear)})
      field->setEnabled(on);
  }
}

QString ThumbnailToolDialog::Caption() const {
  return QString::fromStdString(
      Format("Create Thumbnails & Mobile Photos - %s, %s %s", project_.title.c_str(),
             FormatThousands(static_cast<std::int64_t>(workList().size())).c_str(),
             PhotoWord(workList().size())));
}

std::unique_ptr<BatchJob> ThumbnailToolDialog::CreateJob() {
  const SettingsValues& values = session_.settings().Values();
  ThumbnailToolOptions options = ThumbnailToolOptionsFrom(values);
  options.thumbnails = Read(thumbs_);
  options.mobile = Read(mobile_);
  if (!options.thumbnails.create && !options.mobile.create) return nullptr;
  if (const auto problem =
          ThumbnailTool::Check(options, project_.saveTo, values.autoCreateFolders)) {
    messages_.Inform(problem->message);
    const CopyControls& field =
        problem->field == ThumbnailToolField::MobileFolder ? mobile_ : thumbs_;
    field.folder->edit()->setFocus();
    return nullptr;
  }

  ProjectsRecord changed = project_;
  const auto store = [](const SmallCopyOptions& kind, bool& create, int& box, int& format,
                        int& orientation, std::string& folder) {
    create = kind.create;
    if (!kind.create) return;
    box = kind.box;
    format = static_cast<int>(kind.format);
    orientation = static_cast<int>(kind.orientation);
    folder = kind.folder;
  };
  store(options.thumbnails, changed.autoCreateThumbnails, changed.thumbnailBoundingBox,
        changed.thumbnailFormat, changed.thumbnailOrientation, changed.thumbnailSaveTo);
  store(options.mobile, changed.autoCreateMobile, changed.mobileBoundingBox, changed.mobileFormat,
        changed.mobileOrientation, changed.mobileSaveTo);
  if (UpdateProject(session_, project_, changed, TitleRule::Any).outcome == SaveOutcome::Saved)
    project_ = changed;

  // The folders of this run stay out of the work list, whatever the project says.
  auto tool = std::make_unique<ThumbnailTool>(
      BatchWorkList(project_.saveTo, options.thumbnails.folder, options.mobile.folder), options);
  const bool ready =
      tool->Prepare([this](const std::string& text) { ShowStatus(QString::fromStdString(text)); });
  if (!ready) {
    messages_.Inform(options.thumbnails.create
                         ? "Please select the destination folder for the Thumbnails."
                         : "Please select the destination folder for the Mobile Photos.");
    return nullptr;
  }
  return tool;
}

}  // namespace trawlix::ui
