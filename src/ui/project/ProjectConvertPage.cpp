#include "ui/project/ProjectConvertPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

#include "settings/SettingsValues.h"
#include "storage/ProjectDefaults.h"
#include "ui/FormControls.h"

namespace trawlix::ui {

namespace {

// Options that belong to the check box above them sit indented below it.
QFormLayout* IndentedForm(QWidget* page) {
  auto* form = new QFormLayout;
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  const int indent = page->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                     page->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
  form->setContentsMargins(indent, 0, 0, 0);
  return form;
}

}  // namespace

ProjectConvertPage::ProjectConvertPage(const SettingsValues& settings, QWidget* parent)
    : QWidget(parent), settings_(settings) {
  autoRename_ = new QCheckBox(
      QStringLiteral("Rename downloaded photos (based on # of photos in folder)."), this);
  autoRename_->setObjectName(QStringLiteral("autoRename"));
  includePhotoSize_ = new QCheckBox(QStringLiteral("Include Photo Size"), this);
  includePhotoSize_->setObjectName(QStringLiteral("includePhotoSize"));
  padNumbers_ = new QCheckBox(QStringLiteral("Pad Number with Zeros"), this);
  padNumbers_->setObjectName(QStringLiteral("padNumbers"));
  paddingLabel_ = new QLabel(QStringLiteral("Padding:"), this);
  padding_ = new QSpinBox(this);
  padding_->setObjectName(QStringLiteral("padding"));
  padding_->setRange(1, 10);
  padding_->setSuffix(QStringLiteral(" digits"));
  prefixLabel_ = new QLabel(QStringLiteral("Name Prefix:"), this);
  namePrefix_ = new QLineEdit(this);
  namePrefix_->setObjectName(QStringLiteral("namePrefix"));
  namePrefix_->setMaxLength(200);

  autoResize_ = new QCheckBox(QStringLiteral("Resize downloaded photos."), this);
  autoResize_->setObjectName(QStringLiteral("autoResize"));
  boundingBoxLabel_ = new QLabel(QStringLiteral("Bounding Box:"), this);
  resizeBoundingBox_ = new QSpinBox(this);
  resizeBoundingBox_->setObjectName(QStringLiteral("resizeBoundingBox"));
  resizeBoundingBox_->setRange(1, 100000);
  resizeBoundingBox_->setSuffix(QStringLiteral(" px"));

  autoConvert_ = new QCheckBox(QStringLiteral("Convert downloaded photos."), this);
  autoConvert_->setObjectName(QStringLiteral("autoConvert"));
  formatLabel_ = new QLabel(QStringLiteral("New photo format:"), this);
  convertToFormat_ = new QComboBox(this);
  convertToFormat_->setObjectName(QStringLiteral("convertToFormat"));
  FillFormatChoices(convertToFormat_);

  applyDefaults_ = ApplyDefaultsButton(this);

  LabelField(paddingLabel_, padding_);
  LabelField(prefixLabel_, namePrefix_);
  LabelField(boundingBoxLabel_, resizeBoundingBox_);
  LabelField(formatLabel_, convertToFormat_);

  auto* renameForm = IndentedForm(this);
  renameForm->addRow(includePhotoSize_);
  auto* padRow = new QHBoxLayout;
  padRow->addWidget(padNumbers_);
  padRow->addSpacing(12);
  padRow->addWidget(paddingLabel_);
  padRow->addWidget(padding_);
  padRow->addStretch(1);
  renameForm->addRow(padRow);
  renameForm->addRow(prefixLabel_, namePrefix_);

  auto* resizeForm = IndentedForm(this);
  auto* boxRow = new QHBoxLayout;
  boxRow->addWidget(resizeBoundingBox_);
  boxRow->addStretch(1);
  resizeForm->addRow(boundingBoxLabel_, boxRow);

  auto* convertForm = IndentedForm(this);
  convertForm->addRow(formatLabel_, convertToFormat_);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(applyDefaults_);

  auto* page = new QVBoxLayout(this);
  page->addWidget(autoRename_);
  page->addLayout(renameForm);
  page->addSpacing(12);
  page->addWidget(autoResize_);
  page->addLayout(resizeForm);
  page->addSpacing(12);
  page->addWidget(autoConvert_);
  page->addLayout(convertForm);
  page->addStretch(1);
  page->addLayout(buttons);

  for (QCheckBox* box : {autoRename_, padNumbers_, autoResize_, autoConvert_}) {
    connect(box, &QCheckBox::toggled, this, &ProjectConvertPage::UpdateEnabled);
  }
  connect(applyDefaults_, &QPushButton::clicked, this, &ProjectConvertPage::ApplyDefaults);
  UpdateEnabled();
}

void ProjectConvertPage::Load(const ProjectsRecord& record) {
  namePrefix_->setText(QString::fromStdString(record.namePrefix));
  LoadOptions(record);
}

void ProjectConvertPage::LoadOptions(const ProjectsRecord& record) {
  autoRename_->setChecked(record.autoRename);
  includePhotoSize_->setChecked(record.includePhotoSize);
  padNumbers_->setChecked(record.padNumbers);
  padding_->setValue(record.padding);
  autoResize_->setChecked(record.autoResize);
  resizeBoundingBox_->setValue(record.resizeBoundingBox);
  autoConvert_->setChecked(record.autoConvert);
  SelectCode(convertToFormat_, record.convertToFormat);
  UpdateEnabled();
}

void ProjectConvertPage::Store(ProjectsRecord& record) const {
  record.autoRename = autoRename_->isChecked();
  record.includePhotoSize = includePhotoSize_->isChecked();
  record.padNumbers = padNumbers_->isChecked();
  record.padding = padding_->value();
  record.namePrefix = namePrefix_->text().toStdString();
  record.autoResize = autoResize_->isChecked();
  record.resizeBoundingBox = resizeBoundingBox_->value();
  record.autoConvert = autoConvert_->isChecked();
  record.convertToFormat = ChosenCode(convertToFormat_);
}

void ProjectConvertPage::ApplyDefaults() {
  LoadOptions(NewProjectRecord(settings_, {}));
}

QWidget* ProjectConvertPage::FieldWidget(ProjectField field) const {
  return field == ProjectField::NamePrefix ? namePrefix_ : nullptr;
}

void ProjectConvertPage::ShowDefaultPrefix(const QString& prefix) {
  namePrefix_->setPlaceholderText(prefix);
}

void ProjectConvertPage::UpdateEnabled() {
  const bool rename = autoRename_->isChecked();
  for (QWidget* w :
       std::initializer_list<QWidget*>{includePhotoSize_, padNumbers_, prefixLabel_, namePrefix_}) {
    w->setEnabled(rename);
  }
  paddingLabel_->setEnabled(rename && padNumbers_->isChecked());
  padding_->setEnabled(rename && padNumbers_->isChecked());
  boundingBoxLabel_->setEnabled(autoResize_->isChecked());
  resizeBoundingBox_->setEnabled(autoResize_->isChecked());
  formatLabel_->setEnabled(autoConvert_->isChecked());
  convertToFormat_->setEnabled(autoConvert_->isChecked());
}

}  // namespace trawlix::ui
