#include "ui/options/OptionsNewProjectPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <string_view>

#include "ui/Icons.h"
#include "ui/options/OptionsControls.h"

namespace trawlix::ui {

using options::AddRow;
using options::MakeButton;
using options::SelectData;
using options::SelectedData;

namespace {

QSpinBox* PixelBox(QWidget* parent, std::string_view option) {
  auto* spin = new QSpinBox(parent);
  options::LimitToOption(spin, option);
  spin->setSuffix(QStringLiteral(" px"));
  return spin;
}

// A check box with the field it switches on beside it; the field names itself after it.
QHBoxLayout* SwitchedRow(QCheckBox* check, QWidget* field) {
  field->setAccessibleName(options::SpokenText(check->text()));
  QObject::connect(check, &QCheckBox::toggled, field, &QWidget::setEnabled);
  auto* row = new QHBoxLayout;
  row->addWidget(check);
  row->addWidget(field);
  row->addStretch(1);
  return row;
}

}  // namespace

QGroupBox* OptionsNewProjectPage::makeCopyGroup(CopyControls& c, const CopyCaptions& captions) {
  auto* group = new QGroupBox(captions.group, this);
  c.create = MakeButton<QCheckBox>(captions.create, group);
  c.box = new QSpinBox(group);
  c.box->setSuffix(QStringLiteral(" px"));
  c.format = new QComboBox(group);
  options::FillFormatChoices(c.format);
  c.orientation = new QComboBox(group);
  options::FillOrientationChoices(c.orientation);
  c.subFolder = MakeButton<QRadioButton>(tr("Sub-folder:"), group);
  c.subFolderName = new QLineEdit(group);
  c.subFolderName->setAccessibleName(captions.group + tr(" Sub-folder Name"));
  c.external = MakeButton<QRadioButton>(tr("External location:"), group);
  c.externalFolder = new QLineEdit(group);
  c.externalFolder->setAccessibleName(captions.group + tr(" External Location"));
  c.browse = new QToolButton(group);
  c.browse->setIcon(Icon(IconName::Browse));
  c.browse->setToolTip(captions.browseTip);
  c.browse->setAccessibleName(captions.browseTip);
  c.appendTitle = MakeButton<QCheckBox>(tr("Append the project's title as a sub-folder"), group);
  auto* location = new QButtonGroup(group);
  location->addButton(c.subFolder, 0);
  location->addButton(c.external, 1);

  auto* form = new QFormLayout(group);
  auto* createRow = new QHBoxLayout;
  createRow->addWidget(c.create);
  createRow->addWidget(c.box);
  createRow->addStretch(1);
  c.box->setAccessibleName(captions.group + tr(" Bounding Box"));
  form->addRow(createRow);
  AddRow(form, tr("Photo Format:"), c.format);
  AddRow(form, captions.orientation, c.orientation);
  c.orientation->setAccessibleName(captions.group + tr(" Orientation"));
  c.format->setAccessibleName(captions.group + tr(" Photo Format"));
  form->addRow(c.subFolder, c.subFolderName);
  auto* externalRow = new QHBoxLayout;
  externalRow->addWidget(c.externalFolder, 1);
  externalRow->addWidget(c.browse);
  form->addRow(c.external, externalRow);
  form->addRow(c.appendTitle);

  const CopyControls* controls = &c;
  connect(c.external, &QRadioButton::toggled, this, [controls] { followLocation(*controls); });
  connect(c.browse, &QToolButton::clicked, this, [this, controls, title = captions.browseTitle] {
    const QString folder =
        QFileDialog::getExistingDirectory(this, title, controls->externalFolder->text().trimmed());
    if (!folder.isEmpty()) controls->externalFolder->setText(QDir::toNativeSeparators(folder));
  });
  return group;
}

void OptionsNewProjectPage::followLocation(const CopyControls& c) {
  const bool external = c.external->isChecked();
  c.subFolderName->setEnabled(!external);
  c.externalFolder->setEnabled(external);
  c.browse->setEnabled(external);
  c.appendTitle->setEnabled(external);
}

OptionsNewProjectPage::OptionsNewProjectPage(const QStringList& categories, QWidget* parent)
    : QWidget(parent) {
  // The project itself.
  auto* projectGroup = new QGroupBox(tr("General Settings"), this);
  category_ = new QComboBox(projectGroup);
  category_->addItems(categories);
  jpeg_ = MakeButton<QCheckBox>(tr("JPEG"), projectGroup);
  png_ = MakeButton<QCheckBox>(tr("PNG"), projectGroup);
  gif_ = MakeButton<QCheckBox>(tr("GIF"), projectGroup);
  bmp_ = MakeButton<QCheckBox>(tr("BMP"), projectGroup);
  tif_ = MakeButton<QCheckBox>(tr("TIF"), projectGroup);
  createFolders_ = MakeButton<QCheckBox>(
      tr("Create Directory Structure (mirror website's sub-folders)"), projectGroup);
  searchSubFolders_ = MakeButton<QCheckBox>(tr("Search Sub-Folders"), projectGroup);
  filterMinimumSize_ = MakeButton<QCheckBox>(tr("&Minimum Photo Size:"), projectGroup);
  minimumSize_ = PixelBox(projectGroup, "newMinimumSize");
  minimumSize_->setToolTip(tr("In pixels, bounding-box."));
  orientation_ = new QComboBox(projectGroup);
  options::FillOrientationChoices(orientation_);
  auto* formats = new QHBoxLayout;
  for (QCheckBox* box : {jpeg_, png_, gif_, bmp_, tif_}) formats->addWidget(box);
  formats->addStretch(1);
  auto* projectForm = new QFormLayout(projectGroup);
  AddRow(projectForm, tr("Cate&gory:"), category_);
  projectForm->addRow(tr("Photo Formats:"), formats);
  projectForm->addRow(createFolders_);
  projectForm->addRow(searchSubFolders_);
  projectForm->addRow(SwitchedRow(filterMinimumSize_, minimumSize_));
  AddRow(projectForm, tr("Or&ientation:"), orientation_);

  // Renaming, resizing and converting.
  auto* convertGroup = new QGroupBox(tr("Rename - Resize - Convert"), this);
  rename_ = MakeButton<QCheckBox>(tr("&Rename downloaded photos (based on # of photos in folder)."),
                                  convertGroup);
  includeSize_ = MakeButton<QCheckBox>(tr("Include Photo &Size"), convertGroup);
  padNumbers_ = MakeButton<QCheckBox>(tr("&Pad Number with Zeros"), convertGroup);
  padding_ = new QSpinBox(convertGroup);
  options::LimitToOption(padding_, "newPadding");
  padding_->setPrefix(tr("Padding: "));
  resize_ = MakeButton<QCheckBox>(tr("Resi&ze downloaded photos."), convertGroup);
  resizeBox_ = PixelBox(convertGroup, "newResizeBoundingBox");
  convert_ = MakeButton<QCheckBox>(tr("Con&vert downloaded photos."), convertGroup);
  convertFormat_ = new QComboBox(convertGroup);
  options::FillFormatChoices(convertFormat_);
  auto* convertForm = new QFormLayout(convertGroup);
  convertForm->addRow(rename_);
  // The renaming details sit indented under their switch.
  const auto indented = [](QLayout* inner) {
    auto* row = new QHBoxLayout;
    row->addSpacing(20);
    row->addLayout(inner);
    return row;
  };
  auto* includeRow = new QHBoxLayout;
  includeRow->addWidget(includeSize_);
  convertForm->addRow(indented(includeRow));
  convertForm->addRow(indented(SwitchedRow(padNumbers_, padding_)));
  padding_->setAccessibleName(tr("Padding"));
  convertForm->addRow(SwitchedRow(resize_, resizeBox_));
  resizeBox_->setAccessibleName(tr("Resize Bounding Box"));
  convertForm->addRow(convert_);
  AddRow(convertForm, tr("New photo &format:"), convertFormat_);
  connect(convert_, &QCheckBox::toggled, convertFormat_, &QWidget::setEnabled);

  auto* thumbsGroup = makeCopyGroup(
      thumbnails_, {tr("Thumbnails"), tr("Auto create &thumbnails"), tr("When orientation is:"),
                    tr("Select Thumbnails Folder"), tr("Choose Folder to Save Thumbnails.")});
  auto* mobileGroup = makeCopyGroup(
      mobile_, {tr("Mobile Photos"), tr("Auto create mo&bile photos"), tr("When orientation is:"),
                tr("Select Mobile Photos Folder"), tr("Choose Folder to Save Mobile Photos.")});
  options::LimitToOption(thumbnails_.box, "newThumbnailBoundingBox");
  options::LimitToOption(mobile_.box, "newMobileBoundingBox");

  auto* grid = new QGridLayout(this);
  grid->addWidget(projectGroup, 0, 0);
  grid->addWidget(convertGroup, 1, 0);
  grid->addWidget(thumbsGroup, 0, 1);
  grid->addWidget(mobileGroup, 1, 1);
  grid->setRowStretch(2, 1);
}

void OptionsNewProjectPage::load(const SettingsValues& v) {
  options::SelectOrAddText(category_, QString::fromStdString(v.newProjectCategory));
  jpeg_->setChecked(v.newJPEG);
  png_->setChecked(v.newPNG);
  gif_->setChecked(v.newGIF);
  bmp_->setChecked(v.newBMP);
  tif_->setChecked(v.newTIF);
  createFolders_->setChecked(v.newCreateFolders);
  searchSubFolders_->setChecked(v.newSearchSubFolders);
  filterMinimumSize_->setChecked(v.newFilterMinimumSize);
  minimumSize_->setValue(v.newMinimumSize);
  minimumSize_->setEnabled(filterMinimumSize_->isChecked());
  SelectData(orientation_, v.newOrientation);
  rename_->setChecked(v.newAutoRename);
  includeSize_->setChecked(v.newIncludePhotoSize);
  padNumbers_->setChecked(v.newPadNumbers);
  padding_->setValue(v.newPadding);
  padding_->setEnabled(padNumbers_->isChecked());
  resize_->setChecked(v.newAutoResize);
  resizeBox_->setValue(v.newResizeBoundingBox);
  resizeBox_->setEnabled(resize_->isChecked());
  convert_->setChecked(v.newAutoConvert);
  SelectData(convertFormat_, v.newConvertToFormat);
  convertFormat_->setEnabled(convert_->isChecked());

  const auto loadCopy = [](const CopyControls& c, bool create, int box, int format, int orientation,
                           int location, const std::string& folderName, const std::string& external,
                           bool appendTitle) {
    c.create->setChecked(create);
    c.box->setValue(box);
    SelectData(c.format, format);
    SelectData(c.orientation, orientation);
    (location == 1 ? c.external : c.subFolder)->setChecked(true);
    c.subFolderName->setText(QString::fromStdString(folderName));
    c.externalFolder->setText(QString::fromStdString(external));
    c.appendTitle->setChecked(appendTitle);
    followLocation(c);
  };
  loadCopy(thumbnails_, v.newAutoCreateThumbnails, v.newThumbnailBoundingBox, v.newThumbnailFormat,
           v.newThumbnailOrientation, v.newThumbnailsSaveToLocation, v.thumbnailsFolderName,
           v.newThumbnailsExternalSaveTo, v.newThumbnailsExternalIncludeTitle);
  loadCopy(mobile_, v.newAutoCreateMobile, v.newMobileBoundingBox, v.newMobileFormat,
           v.newMobileOrientation, v.newMobileSaveToLocation, v.mobileFolderName,
           v.newMobileExternalSaveTo, v.newMobileExternalIncludeTitle);
}

void OptionsNewProjectPage::store(SettingsValues& v) const {
  v.newProjectCategory = category_->currentText().toStdString();
  v.newJPEG = jpeg_->isChecked();
  v.newPNG = png_->isChecked();
  v.newGIF = gif_->isChecked();
  v.newBMP = bmp_->isChecked();
  v.newTIF = tif_->isChecked();
  v.newCreateFolders = createFolders_->isChecked();
  v.newSearchSubFolders = searchSubFolders_->isChecked();
  v.newFilterMinimumSize = filterMinimumSize_->isChecked();
  v.newMinimumSize = minimumSize_->value();
  v.newOrientation = SelectedData(orientation_);
  v.newAutoRename = rename_->isChecked();
  v.newIncludePhotoSize = includeSize_->isChecked();
  v.newPadNumbers = padNumbers_->isChecked();
  v.newPadding = padding_->value();
  v.newAutoResize = resize_->isChecked();
  v.newResizeBoundingBox = resizeBox_->value();
  v.newAutoConvert = convert_->isChecked();
  v.newConvertToFormat = SelectedData(convertFormat_);

  // An emptied sub-folder name would put the copies among the photos: keep the old one.
  const auto folderName = [](const QLineEdit* edit, const std::string& old) {
    const QString name = edit->text().trimmed();
    return name.isEmpty() ? old : name.toStdString();
  };
  v.newAutoCreateThumbnails = thumbnails_.create->isChecked();
  v.newThumbnailBoundingBox = thumbnails_.box->value();
  v.newThumbnailFormat = SelectedData(thumbnails_.format);
  v.newThumbnailOrientation = SelectedData(thumbnails_.orientation);
  v.newThumbnailsSaveToLocation = thumbnails_.external->isChecked() ? 1 : 0;
  v.thumbnailsFolderName = folderName(thumbnails_.subFolderName, v.thumbnailsFolderName);
  v.newThumbnailsExternalSaveTo = thumbnails_.externalFolder->text().trimmed().toStdString();
  v.newThumbnailsExternalIncludeTitle = thumbnails_.appendTitle->isChecked();
  v.newAutoCreateMobile = mobile_.create->isChecked();
  v.newMobileBoundingBox = mobile_.box->value();
  v.newMobileFormat = SelectedData(mobile_.format);
  v.newMobileOrientation = SelectedData(mobile_.orientation);
  v.newMobileSaveToLocation = mobile_.external->isChecked() ? 1 : 0;
  v.mobileFolderName = folderName(mobile_.subFolderName, v.mobileFolderName);
  v.newMobileExternalSaveTo = mobile_.externalFolder->text().trimmed().toStdString();
  v.newMobileExternalIncludeTitle = mobile_.appendTitle->isChecked();
}

}  // namespace trawlix::ui
