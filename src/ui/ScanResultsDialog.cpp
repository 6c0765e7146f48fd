#include "ui/ScanResultsDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "base/Number.h"
#include "ui/Icons.h"

namespace trawlix::ui {

namespace {

QString Count(int value) {
  return value < 0 ? QString() : QString::fromStdString(FormatThousands(value));
}

}  // namespace

ScanResultsDialog::ScanResultsDialog(const std::string& projectTitle,
                                     const CScanHistoryRecord& scan, QWidget* parent)
    : QDialog(parent), url_(QString::fromStdString(scan.m_lpszURL)) {
  setWindowTitle(tr("Scan Results"));
  setWindowIcon(Icon(IconName::TabHistory));

  QString transfer;
  if (scan.m_nTotalBytes > 0) {
    transfer = QString::fromStdString(ByteSizeText(scan.m_nTotalBytes));
    if (scan.m_nTransferTimeInSeconds > 0) {
      transfer += QStringLiteral(" @ %1/Sec")
                      .arg(QString::fromStdString(
                          ByteSizeText(scan.m_nTotalBytes / scan.m_nTransferTimeInSeconds)));
    }
  }
  const std::pair<QString, QString> rows[] = {
      {tr("Project:"), QString::fromStdString(projectTitle)},
      {tr("URL:"), url_},
      {tr("Date:"), QString::fromStdString(scan.m_lpszScanDate)},
      {tr("Scanning Time:"), QString::fromStdString(scan.m_lpszTotalTime)},
      {tr("Pages Scanned:"), Count(scan.m_nPages)},
      {tr("Photos Found:"), Count(scan.m_nTotalImages)},
      {tr("Photos Saved:"), Count(scan.m_nSavedImages)},
      {tr("Photos Skipped:"), Count(scan.m_nSkippedImages)},
      {tr("Data Transferred:"), transfer},
  };
  auto* form = new QFormLayout;
  form->setLabelAlignment(Qt::AlignRight);
  QStringList lines;
  for (const auto& [label, value] : rows) {
    auto* field = new QLabel(value);
    field->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    field->setAccessibleName(QString(label).chopped(1));
    if (label == tr("URL:")) {
      field->setWordWrap(true);
      field->setMinimumWidth(360);
    }
    form->addRow(label, field);
    lines << label + QLatin1Char(' ') + value;
  }
  text_ = lines.join(QLatin1Char('\n'));

  auto* buttons = new QDialogButtonBox(this);
  copy_ = buttons->addButton(tr("Copy URL"), QDialogButtonBox::ActionRole);
  visit_ = buttons->addButton(tr("Visit URL"), QDialogButtonBox::ActionRole);
  QPushButton* close = buttons->addButton(tr("&Close"), QDialogButtonBox::RejectRole);
  copy_->setAccessibleName(tr("Copy URL"));
  visit_->setAccessibleName(tr("Visit URL"));
  close->setAccessibleName(tr("Close"));
  close->setDefault(true);
  copy_->setEnabled(!url_.isEmpty());
  visit_->setEnabled(!url_.isEmpty());
  connect(copy_, &QPushButton::clicked, this,
          [this] { QGuiApplication::clipboard()->setText(url_); });
  connect(visit_, &QPushButton::clicked, this,
          [this] { QDesktopServices::openUrl(QUrl::fromUserInput(url_)); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  close->setFocus();
}

QString ScanResultsDialog::resultsText() const {
  return text_;
}

}  // namespace trawlix::ui
