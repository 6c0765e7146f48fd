#include "ui/options/OptionsExchangePage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "storage/CategoriesTable.h"
#include "ui/options/OptionsControls.h"

namespace trawlix::ui {

using options::AddRow;
using options::MakeButton;

namespace {

constexpr int kPreviewSide = 128;
constexpr int kDuplicatesMerge = 2;
constexpr int kDuplicatesSkip = 3;

}  // namespace

OptionsExchangePage::OptionsExchangePage(const QStringList& categories,
                                         const QString& currentLogoPath, QWidget* parent)
    : QWidget(parent) {
  // Exporting.
  auto* exportGroup = new QGroupBox(tr("Exporting Projects"), this);
  name_ = new QLineEdit(exportGroup);
  email_ = new QLineEdit(exportGroup);
  website_ = new QLineEdit(exportGroup);
  includeInfo_ =
      MakeButton<QCheckBox>(tr("&Include your information when exporting projects"), exportGroup);
  includeCategory_ = MakeButton<QCheckBox>(
      tr("Always include the project's cate&gory when exporting"), exportGroup);
  auto* exportForm = new QFormLayout(exportGroup);
  AddRow(exportForm, tr("Your &Name:"), name_);
  AddRow(exportForm, tr("&E-mail Address:"), email_);
  AddRow(exportForm, tr("&Website:"), website_);
  exportForm->addRow(includeInfo_);
  exportForm->addRow(includeCategory_);

  // The logo exports carry.
  auto* logoGroup = new QGroupBox(tr("Logo"), this);
  useLogo_ = MakeButton<QCheckBox>(tr("&Use the logo when exporting projects"), logoGroup);
  chooseLogo_ = MakeButton<QPushButton>(tr("Choose &Logo Picture..."), logoGroup);
  preview_ = new QLabel(logoGroup);
  preview_->setFixedSize(kPreviewSide + 4, kPreviewSide + 4);
  preview_->setAlignment(Qt::AlignCenter);
  preview_->setFrameShape(QFrame::StyledPanel);
  preview_->setWordWrap(true);
  preview_->setAccessibleName(tr("Logo Preview"));
  logoNote_ = new QLabel(logoGroup);
  logoNote_->setWordWrap(true);
  auto* logoButtons = new QVBoxLayout;
  logoButtons->addWidget(useLogo_);
  logoButtons->addWidget(chooseLogo_, 0, Qt::AlignLeft);
  logoButtons->addWidget(logoNote_);
  logoButtons->addStretch(1);
  auto* logoLayout = new QHBoxLayout(logoGroup);
  logoLayout->addLayout(logoButtons, 1);
  logoLayout->addWidget(preview_);
  connect(chooseLogo_, &QPushButton::clicked, this, &OptionsExchangePage::browseLogo);

  // Importing.
  auto* importGroup = new QGroupBox(tr("Importing Projects"), this);
  importCategory_ = new QComboBox(importGroup);
  importCategory_->setEditable(true);
  importCategory_->addItems(categories);
  intoChosen_ = MakeButton<QRadioButton>(tr("Import into the c&hosen category"), importGroup);
  useFileCategory_ = MakeButton<QRadioButton>(
      tr("Use the imported pro&ject's category (created when necessary)"), importGroup);
  auto* categoryChoice = new QWidget(importGroup);
  auto* categoryChoiceLayout = new QVBoxLayout(categoryChoice);
  categoryChoiceLayout->setContentsMargins(0, 0, 0, 0);
  categoryChoiceLayout->addWidget(intoChosen_);
  categoryChoiceLayout->addWidget(useFileCategory_);
  mergeDuplicates_ =
      MakeButton<QRadioButton>(tr("&Merge its links with the existing project"), importGroup);
  skipDuplicates_ = MakeButton<QRadioButton>(tr("&Don't import the project"), importGroup);
  auto* duplicateChoice = new QWidget(importGroup);
  auto* duplicateChoiceLayout = new QVBoxLayout(duplicateChoice);
  duplicateChoiceLayout->setContentsMargins(0, 0, 0, 0);
  duplicateChoiceLayout->addWidget(mergeDuplicates_);
  duplicateChoiceLayout->addWidget(skipDuplicates_);
  auto* importForm = new QFormLayout(importGroup);
  AddRow(importForm, tr("Import into Ca&tegory:"), importCategory_);
  importForm->addRow(QString(), categoryChoice);
  importForm->addRow(tr("A Project that Exists:"), duplicateChoice);
  duplicateChoice->setAccessibleName(tr("A Project that Exists"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(exportGroup);
  layout->addWidget(logoGroup);
  layout->addWidget(importGroup);
  layout->addStretch(1);

  showPreview(currentLogoPath);
}

void OptionsExchangePage::load(const SettingsValues& v) {
  name_->setText(QString::fromStdString(v.exporterName));
  email_->setText(QString::fromStdString(v.exporterEmail));
  website_->setText(QString::fromStdString(v.exporterWebsite));
  includeInfo_->setChecked(v.exportIncludeInfo);
  includeCategory_->setChecked(v.exportIncludeCategory);
  useLogo_->setChecked(v.exportUseLogo);
  options::SelectOrAddText(importCategory_, QString::fromStdString(v.importCategory));
  (v.importUseProjectCategory ? useFileCategory_ : intoChosen_)->setChecked(true);
  (v.importDuplicateAction == kDuplicatesMerge ? mergeDuplicates_ : skipDuplicates_)
      ->setChecked(true);
}

void OptionsExchangePage::store(SettingsValues& v) const {
  v.exporterName = name_->text().trimmed().toStdString();
  v.exporterEmail = email_->text().trimmed().toStdString();
  v.exporterWebsite = website_->text().trimmed().toStdString();
  v.exportIncludeInfo = includeInfo_->isChecked();
  v.exportIncludeCategory = includeCategory_->isChecked();
  v.exportUseLogo = useLogo_->isChecked();
  // Imports need somewhere to go: an emptied name falls back to the usual category.
  const QString category = importCategory_->currentText().trimmed();
  v.importCategory =
      category.isEmpty() ? std::string(kImportedProjectsCategory) : category.toStdString();
  v.importUseProjectCategory = useFileCategory_->isChecked();
  v.importDuplicateAction = mergeDuplicates_->isChecked() ? kDuplicatesMerge : kDuplicatesSkip;
}

bool OptionsExchangePage::chooseLogo(const QString& path) {
  QImageReader reader(path);
  if (!reader.canRead()) {
    logoNote_->setText(
        tr("\"%1\" is not a picture that can be read.").arg(QFileInfo(path).fileName()));
    return false;
  }
  logoNote_->setText(tr("Saved as the default logo when you click OK."));
  newLogo_ = path.toStdString();
  showPreview(path);
  return true;
}

void OptionsExchangePage::browseLogo() {
  const QString path =
      QFileDialog::getOpenFileName(this, tr("Choose the Logo Picture"), QString(),
                                   tr("Pictures (*.jpg *.jpeg *.png *.gif *.bmp *.tif *.tiff)"));
  if (!path.isEmpty()) chooseLogo(path);
}

void OptionsExchangePage::showPreview(const QString& path) {
  QImageReader reader(path);
  reader.setAutoTransform(true);
  const QSize size = reader.size();
  if (size.width() > kPreviewSide || size.height() > kPreviewSide) {
    reader.setScaledSize(size.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio));
  }
  const QImage image = reader.read();
  if (image.isNull()) {
    preview_->setText(tr("No logo"));
    return;
  }
  preview_->setPixmap(QPixmap::fromImage(image));
  preview_->setToolTip(QFileInfo(path).fileName());
}

}  // namespace trawlix::ui
