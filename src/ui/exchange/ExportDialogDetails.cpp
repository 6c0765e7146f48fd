#include "ui/exchange/ExportDialogDetails.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QToolButton>
#include <QVBoxLayout>

#include "base/MessageBox.h"
#include "base/Text.h"
#include "operations/ExchangeOperations.h"
#include "ui/FormControls.h"
#include "ui/Icons.h"

namespace trawlix::ui {

namespace {

constexpr int kPhotoSide = 128;

QString ExportFilter() {
  return QObject::tr("Trawlix() PRO Exported Projects (*.txexport)");
}

QString ChooseSaveFile(QWidget* parent, const QString& title, const QString& start,
                       const QString& filter) {
  QFileDialog dialog(parent, title, start, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QStringLiteral("txexport"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

QString ChooseOpenFile(QWidget* parent, const QString& title, const QString& start,
                       const QString& filter) {
  QString selected = QObject::tr("JPEG Photos (*.jpg)");
  return QFileDialog::getOpenFileName(parent, title, start, filter, &selected);
}

QPushButton* TextButton(const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setAccessibleName(SpokenText(caption));
  return button;
}

}  // namespace

ExportDialogDetails::ExportDialogDetails(const exchange::ExportRequest& start,
                                         const QString& suggestedName, MessageSink& messages,
                                         QWidget* parent)
    : QWidget(parent),
      messages_(messages),
      suggestedName_(suggestedName),
      path_(new QLineEdit(this)),
      browse_(new QToolButton(this)),
      photo_(new QLabel(this)),
      choosePhoto_(TextButton(tr("Choose Ph&oto"), this)),
      includeInfo_(new QCheckBox(tr("&Include My Info:"), this)),
      name_(new QLineEdit(QString::fromStdString(start.name), this)),
      email_(new QLineEdit(QString::fromStdString(start.emailAddress), this)),
      website_(new QLineEdit(QString::fromStdString(start.website), this)),
      description_(new QPlainTextEdit(QString::fromStdString(start.description), this)),
      saveChooser_(ChooseSaveFile),
      photoChooser_(ChooseOpenFile) {
  auto* pathLabel = new QLabel(tr("Exported File Pa&th:"), this);
  LabelField(pathLabel, path_);
  path_->setMinimumWidth(360);
  browse_->setText(QStringLiteral("..."));
  browse_->setToolTip(tr("Choose File"));
  browse_->setAccessibleName(tr("Choose File"));
  connect(path_, &QLineEdit::textChanged, this, &ExportDialogDetails::pathChanged);
  connect(browse_, &QToolButton::clicked, this, &ExportDialogDetails::BrowsePath);
  auto* pathRow = new QHBoxLayout;
  pathRow->addWidget(path_, 1);
  pathRow->addWidget(browse_);

  auto* photoLabel = new QLabel(tr("Sample Photo:"), this);
  photo_->setFrameShape(QFrame::StyledPanel);
  photo_->setAlignment(Qt::AlignCenter);
  photo_->setFixedSize(kPhotoSide + 8, kPhotoSide + 8);
  photo_->setAccessibleName(tr("Sample Photo"));
  photo_->setText(tr("No\nSample\nPhoto"));
  connect(choosePhoto_, &QPushButton::clicked, this, &ExportDialogDetails::BrowsePhoto);
  auto* photoColumn = new QVBoxLayout;
  photoColumn->addWidget(photoLabel);
  photoColumn->addWidget(photo_);
  photoColumn->addWidget(choosePhoto_);
  photoColumn->addStretch(1);

  includeInfo_->setAccessibleName(tr("Include My Info"));
  includeInfo_->setChecked(start.includeMyInfo);
  connect(includeInfo_, &QCheckBox::toggled, this, &ExportDialogDetails::UpdateInfoFields);
  auto* info = new QFormLayout;
  info->setContentsMargins(20, 0, 0, 0);
  const std::pair<QString, QLineEdit*> fields[] = {
      {tr("&Name:"), name_}, {tr("E-&mail Address:"), email_}, {tr("&Website:"), website_}};
  for (const auto& [caption, field] : fields) {
    auto* label = new QLabel(caption, this);
    LabelField(label, field);
    field->setMinimumWidth(220);
    info->addRow(label, field);
  }
  auto* infoColumn = new QVBoxLayout;
  infoColumn->addWidget(includeInfo_);
  infoColumn->addLayout(info);
  infoColumn->addStretch(1);

  auto* descriptionLabel = new QLabel(tr("&Description (optional):"), this);
  LabelField(descriptionLabel, description_);
  description_->setTabChangesFocus(true);
  description_->setFixedHeight(description_->fontMetrics().lineSpacing() * 4 + 12);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->addWidget(pathLabel, 0, 0, 1, 2);
  grid->addLayout(pathRow, 1, 0, 1, 2);
  grid->addLayout(photoColumn, 2, 0);
  grid->addLayout(infoColumn, 2, 1);
  grid->addWidget(descriptionLabel, 3, 0, 1, 2);
  grid->addWidget(description_, 4, 0, 1, 2);
  grid->setColumnStretch(1, 1);

  setTabOrder(path_, browse_);
  setTabOrder(browse_, choosePhoto_);
  setTabOrder(choosePhoto_, includeInfo_);
  setTabOrder(includeInfo_, name_);
  setTabOrder(name_, email_);
  setTabOrder(email_, website_);
  setTabOrder(website_, description_);

  if (!start.photoPath.empty()) ChoosePhoto(QString::fromStdString(start.photoPath));
  UpdateInfoFields();
}

QString ExportDialogDetails::path() const {
  return path_->text().trimmed();
}

void ExportDialogDetails::setPath(const QString& path) {
  path_->setText(path);
}

void ExportDialogDetails::UpdateInfoFields() {
  const bool on = includeInfo_->isChecked() && includeInfo_->isEnabled();
  for (QLineEdit* field : {name_, email_, website_}) field->setEnabled(on);
}

void ExportDialogDetails::SetBusy(bool busy) {
  for (QWidget* field :
       std::initializer_list<QWidget*>{path_, browse_, choosePhoto_, includeInfo_, description_}) {
    field->setEnabled(!busy);
  }
  UpdateInfoFields();
}

bool ExportDialogDetails::ChoosePhoto(const QString& path) {
  QImageReader reader(path);
  reader.setAutoTransform(true);
  const QSize size = reader.size();
  if (size.width() > kPhotoSide || size.height() > kPhotoSide) {
    reader.setScaledSize(size.scaled(kPhotoSide, kPhotoSide, Qt::KeepAspectRatio));
  }
  const QImage image = reader.read();
  if (image.isNull()) {
    MessageRequest request{
        Format("The photo\n   %s\ncannot be read. Choose a JPEG, PNG, BMP or TIFF photo.",
               QDir::toNativeSeparators(path).toStdString().c_str())};
    request.icon = MessageIcon::Warning;
    messages_.Show(request);
    return false;
  }
  photoPath_ = path.toStdString();
  photo_->setPixmap(QPixmap::fromImage(image));
  photo_->setToolTip(QFileInfo(path).fileName());
  return true;
}

void ExportDialogDetails::BrowsePath() {
  QString start = path();
  if (start.isEmpty()) {
    start = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                .filePath(suggestedName_);
  }
  const QString chosen = saveChooser_(this, tr("Export To"), start, ExportFilter());
  if (chosen.isEmpty()) return;
  const QString withExtension = QString::fromStdString(WithExportExtension(chosen.toStdString()));
  // The chooser asked about replacing only the name it returned.
  if (withExtension == chosen) confirmedPath_ = chosen;
  path_->setText(withExtension);
}

void ExportDialogDetails::BrowsePhoto() {
  const QString start = photoPath_.empty()
                            ? QStandardPaths::writableLocation(QStandardPaths::PicturesLocation)
                            : QString::fromStdString(photoPath_);
  const QString chosen =
      photoChooser_(this, tr("Choose Photo"), start,
                    tr("All (*.*);;JPEG Photos (*.jpg);;PNG Photos (*.png);;Bitmap Photos (*.bmp);;"
                       "TIFF Photos (*.tif)"));
  if (!chosen.isEmpty()) ChoosePhoto(chosen);
}

bool ExportDialogDetails::Fill(exchange::ExportRequest& request) {
  if (path().isEmpty()) {
    messages_.Inform("Please choose the file to export to.");
    path_->setFocus();
    return false;
  }
  const QString target = QString::fromStdString(WithExportExtension(path().toStdString()));
  const QFileInfo info(target);
  if (QFileInfo(path()).isDir() || info.isDir()) {
    messages_.Inform(
        Format("%s is a folder. Please choose a file name.", path().toStdString().c_str()));
    path_->setFocus();
    return false;
  }
  if (info.exists() && target != confirmedPath_) {
    MessageRequest question{Format("The file\n   %s\nalready exists. Do you want to replace it?",
                                   target.toStdString().c_str())};
    question.icon = MessageIcon::Question;
    question.buttons = MessageButtons::YesNo;
    if (messages_.Show(question).answer != MessageAnswer::Yes) {
      path_->setFocus();
      return false;
    }
    confirmedPath_ = target;
  }
  path_->setText(target);
  request.target = target.toStdString();
  request.description = description_->toPlainText().toStdString();
  request.includeMyInfo = includeInfo_->isChecked();
  request.name = name_->text().trimmed().toStdString();
  request.emailAddress = email_->text().trimmed().toStdString();
  request.website = website_->text().trimmed().toStdString();
  request.photoPath = photoPath_;
  return true;
}

}  // namespace trawlix::ui
