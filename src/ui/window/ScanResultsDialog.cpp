#include "ui/window/ScanResultsDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/Number.h"
#include "ui/Icons.h"
#include "ui/WebPageOpener.h"

namespace trawlix::ui {

namespace {

QString Count(int value) {
  return value < 0 ? QString() : QString::fromStdString(FormatThousands(value));
}

}  // namespace

ScanResultsDialog::ScanResultsDialog(const std::string& projectTitle, const ScanHistoryRecord& scan,
                                     QWidget* parent)
    : QDialog(parent), url_(QString::fromStdString(scan.url)) {
  setWindowTitle(tr("Scan Results"));
  setWindowIcon(Icon(IconName::TabHistory));

  QString transfer;
  if (scan.totalBytes > 0) {
    transfer = QString::fromStdString(ByteSizeText(scan.totalBytes));
    if (scan.transferTimeInSeconds > 0) {
      transfer += QStringLiteral(" @ %1/Sec")
                      .arg(QString::fromStdString(
                          ByteSizeText(scan.totalBytes / scan.transferTimeInSeconds)));
    }
  }
  const std::pair<QString, QString> rows[] = {
      {tr("Project:"), QString::fromStdString(projectTitle)},
      {tr("URL:"), url_},
      {tr("Date:"), QString::fromStdString(scan.scanDate)},
      {tr("Scanning Time:"), QString::fromStdString(scan.totalTime)},
      {tr("Pages Scanned:"), Count(scan.pages)},
      {tr("Photos Found:"), Count(scan.totalImages)},
      {tr("Photos Saved:"), Count(scan.savedImages)},
      {tr("Photos Skipped:"), Count(scan.skippedImages)},
      {tr("Data Transferred:"), transfer},
  };
  auto* form = new QFormLayout;
  form->setLabelAlignment(Qt::AlignRight);
  QStringList lines;
  for (const auto& [label, value] : rows) {
    auto* field = new QLabel(value);
    field->setTextFormat(Qt::PlainText);  // the title and address come from outside
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
  connect(visit_, &QPushButton::clicked, this, [this] { OpenWebPage(url_); });
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
