#include "ui/project/ProjectThumbsMobilePage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "settings/SettingsValues.h"
#include "storage/ProjectDefaults.h"
#include "ui/FolderBrowser.h"
#include "ui/FormControls.h"

namespace trawlix::ui {

namespace {}  // namespace

struct ProjectThumbsMobilePage::CopiesTexts {
  QString group;
  QString name;  // object-name stem: "thumbnail" or "mobile"
  QString create;
  QString folderLabel;
  QString chooserTitle;
  QString browseTip;
  QString exclude;
  QString orientation;
};

ProjectThumbsMobilePage::ProjectThumbsMobilePage(const SettingsValues& settings, QWidget* parent)
    : QWidget(parent), settings_(settings) {
  std::vector<QLabel*> labels;
  thumbs_ =
      BuildCopies({QStringLiteral("Thumbnails"), QStringLiteral("thumbnail"),
                   QStringLiteral("Auto create thumbnails"), QStringLiteral("Save thumbnails to:"),
                   QStringLiteral("Choose Folder to Save Thumbnails."),
                   QStringLiteral("Select Thumbnails Folder"),
                   QStringLiteral("Don't display thumbnails in Photo Viewer"),
                   QStringLiteral("Create thumbnail when photo orientation is:")},
                  labels);
  mobile_ = BuildCopies(
      {QStringLiteral("Mobile Photos"), QStringLiteral("mobile"),
       QStringLiteral("Auto create mobile photos"), QStringLiteral("Save Mobile photos to:"),
       QStringLiteral("Choose Folder to Save Mobile Photos."),
       QStringLiteral("Select Mobile Photos Folder"),
       QStringLiteral("Don't display mobile photos in Photo Viewer"),
       QStringLiteral("Create mobile photo when orientation is:")},
      labels);
  // One label width for both groups, so their fields line up.
  int labelWidth = 0;
  for (QLabel* label : labels) labelWidth = std::max(labelWidth, label->sizeHint().width());
  for (QLabel* label : labels) label->setMinimumWidth(labelWidth);

  applyDefaults_ = ApplyDefaultsButton(this);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(applyDefaults_);

  auto* page = new QVBoxLayout(this);
  page->addWidget(thumbs_.group);
  page->addWidget(mobile_.group);
  page->addStretch(1);
  page->addLayout(buttons);

  connect(applyDefaults_, &QPushButton::clicked, this, &ProjectThumbsMobilePage::ApplyDefaults);
  UpdateEnabled();
}

ProjectThumbsMobilePage::Copies ProjectThumbsMobilePage::BuildCopies(const CopiesTexts& texts,
                                                                     std::vector<QLabel*>& labels) {
  Copies c;
  c.group = new QGroupBox(texts.group, this);
  c.create = new QCheckBox(texts.create, c.group);
  c.create->setObjectName(texts.name + QStringLiteral("Create"));

  auto* boxLabel = new QLabel(QStringLiteral("Bounding Box:"), c.group);
  c.boundingBox = new QSpinBox(c.group);
  c.boundingBox->setObjectName(texts.name + QStringLiteral("BoundingBox"));
  c.boundingBox->setRange(1, 100000);
  c.boundingBox->setSuffix(QStringLiteral(" px"));

  auto* formatLabel = new QLabel(QStringLiteral("Photo Format:"), c.group);
  c.format = new QComboBox(c.group);
  c.format->setObjectName(texts.name + QStringLiteral("Format"));
  FillFormatChoices(c.format);

  auto* folderLabel = new QLabel(texts.folderLabel, c.group);
  c.folder = new FolderBrowser(texts.chooserTitle, texts.browseTip, c.group);
  c.folder->setObjectName(texts.name + QStringLiteral("Folder"));
  c.folder->edit()->setObjectName(texts.name + QStringLiteral("SaveTo"));
  c.folder->edit()->setMaxLength(1024);

  auto* orientationLabel = new QLabel(texts.orientation, c.group);
  c.orientation = new QComboBox(c.group);
  c.orientation->setObjectName(texts.name + QStringLiteral("Orientation"));
  FillOrientationChoices(c.orientation);

  c.exclude = new QCheckBox(texts.exclude, c.group);
  c.exclude->setObjectName(texts.name + QStringLiteral("Exclude"));

  labels.insert(labels.end(), {boxLabel, formatLabel, folderLabel, orientationLabel});
  LabelField(boxLabel, c.boundingBox);
  LabelField(formatLabel, c.format);
  LabelField(folderLabel, c.folder->edit());
  LabelField(orientationLabel, c.orientation);

  auto* boxRow = new QHBoxLayout;
  boxRow->addWidget(c.boundingBox);
  boxRow->addStretch(1);

  auto* form = new QFormLayout(c.group);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  form->addRow(c.create);
  form->addRow(boxLabel, boxRow);
  form->addRow(formatLabel, c.format);
  form->addRow(folderLabel, c.folder);
  form->addRow(orientationLabel, c.orientation);
  form->addRow(c.exclude);

  connect(c.create, &QCheckBox::toggled, this, &ProjectThumbsMobilePage::UpdateEnabled);
  return c;
}

void ProjectThumbsMobilePage::Load(const ProjectsRecord& record) {
  thumbs_.folder->setPath(QString::fromStdString(record.thumbnailSaveTo));
  mobile_.folder->setPath(QString::fromStdString(record.mobileSaveTo));
  LoadOptions(record);
}

void ProjectThumbsMobilePage::LoadOptions(const ProjectsRecord& r) {
  thumbs_.create->setChecked(r.autoCreateThumbnails);
  thumbs_.boundingBox->setValue(r.thumbnailBoundingBox);
  SelectCode(thumbs_.format, r.thumbnailFormat);
  thumbs_.exclude->setChecked(r.excludeThumbnailFolder);
  SelectCode(thumbs_.orientation, r.thumbnailOrientation);
  mobile_.create->setChecked(r.autoCreateMobile);
  mobile_.boundingBox->setValue(r.mobileBoundingBox);
  SelectCode(mobile_.format, r.mobileFormat);
  mobile_.exclude->setChecked(r.excludeMobileFolder);
  SelectCode(mobile_.orientation, r.mobileOrientation);
  UpdateEnabled();
}

void ProjectThumbsMobilePage::Store(ProjectsRecord& r) const {
  r.autoCreateThumbnails = thumbs_.create->isChecked();
  r.thumbnailBoundingBox = thumbs_.boundingBox->value();
  r.thumbnailFormat = ChosenCode(thumbs_.format);
  r.thumbnailSaveTo = thumbs_.folder->path().trimmed().toStdString();
  r.excludeThumbnailFolder = thumbs_.exclude->isChecked();
  r.thumbnailOrientation = ChosenCode(thumbs_.orientation);
  r.autoCreateMobile = mobile_.create->isChecked();
  r.mobileBoundingBox = mobile_.boundingBox->value();
  r.mobileFormat = ChosenCode(mobile_.format);
  r.mobileSaveTo = mobile_.folder->path().trimmed().toStdString();
  r.excludeMobileFolder = mobile_.exclude->isChecked();
  r.mobileOrientation = ChosenCode(mobile_.orientation);
}

void ProjectThumbsMobilePage::ApplyDefaults() {
  LoadOptions(NewProjectRecord(settings_, {}));
}

QWidget* ProjectThumbsMobilePage::FieldWidget(ProjectField field) const {
  switch (field) {
    case ProjectField::ThumbnailSaveTo:
      return thumbs_.folder->edit();
    case ProjectField::MobileSaveTo:
      return mobile_.folder->edit();
    default:
      return nullptr;
  }
}

void ProjectThumbsMobilePage::ShowDefaultFolders(const QString& thumbnails, const QString& mobile) {
  thumbs_.folder->edit()->setPlaceholderText(thumbnails);
  mobile_.folder->edit()->setPlaceholderText(mobile);
}

void ProjectThumbsMobilePage::UpdateEnabled() {
  for (const Copies* c : {&thumbs_, &mobile_}) {
    const bool on = c->create->isChecked();
    // Every control of the group but its own switch follows the switch.
    for (QWidget* w : c->group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (w != c->create) w->setEnabled(on);
    }
  }
}

}  // namespace trawlix::ui
