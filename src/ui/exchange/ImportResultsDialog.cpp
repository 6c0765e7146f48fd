#include "ui/exchange/ImportResultsDialog.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <string_view>

#include "operations/ExchangeOperations.h"
#include "ui/window/Profile.h"

namespace trawlix::ui {

namespace {

constexpr std::array<std::string_view, 3> kColumnKeys = {"IMPORT_RESULTS_COLUMN_PROJECTNAME",
                                                         "IMPORT_RESULTS_COLUMN_ACTION",
                                                         "IMPORT_RESULTS_COLUMN_RESULT"};

QIcon KindIcon(const QStyle* style, exchange::ImportResultKind kind) {
  switch (kind) {
    case exchange::ImportResultKind::Imported:
    case exchange::ImportResultKind::Merged:
      return style->standardIcon(QStyle::SP_DialogApplyButton);
    case exchange::ImportResultKind::Skipped:
      return style->standardIcon(QStyle::SP_MessageBoxInformation);
    case exchange::ImportResultKind::Failed:
      break;
  }
  return style->standardIcon(QStyle::SP_MessageBoxWarning);
}

}  // namespace

ImportResultsDialog::ImportResultsDialog(const exchange::ImportSummary& summary, QWidget* parent)
    : QDialog(parent), list_(new QTreeWidget(this)), summary_(new QLabel(this)) {
  setWindowTitle(tr("Import Results"));
  list_->setAccessibleName(tr("Import Results"));
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setAlternatingRowColors(true);
  list_->setAllColumnsShowFocus(true);
  list_->setHeaderLabels({tr("Project"), tr("Action"), tr("Result")});
  list_->header()->setStretchLastSection(true);
  const Profile profile;
  for (int i = 0; i < static_cast<int>(kColumnKeys.size()); ++i) {
    list_->setColumnWidth(i, profile.ColumnWidth(kColumnKeys.at(static_cast<std::size_t>(i))));
  }
  for (const exchange::ImportResultRow& row : summary.rows) {
    auto* item = new QTreeWidgetItem({QString::fromStdString(row.title),
                                      QString::fromUtf8(row.action.Name()),
                                      QString::fromStdString(row.message)});
    item->setIcon(0, KindIcon(style(), row.kind));
    item->setData(0, Qt::AccessibleDescriptionRole,
                  QString::fromUtf8(exchange::ImportResultKindName(row.kind)));
    // A tooltip shows rich text as such; the message holds titles from the file.
    item->setToolTip(
        2, QStringLiteral("<p>%1</p>").arg(QString::fromStdString(row.message).toHtmlEscaped()));
    list_->addTopLevelItem(item);
  }
  if (list_->topLevelItemCount() > 0) list_->setCurrentItem(list_->topLevelItem(0));
  // The stored widths suit another font: titles (up to a point) and actions stay readable.
  const QFontMetrics metrics = list_->fontMetrics();
  int titleWidth = 0;
  int actionWidth = 0;
  int resultWidth = 0;
  for (const exchange::ImportResultRow& row : summary.rows) {
    titleWidth = std::max(titleWidth, metrics.horizontalAdvance(QString::fromStdString(row.title)));
    actionWidth = std::max(actionWidth, metrics.horizontalAdvance(row.action.Name()));
    resultWidth =
        std::max(resultWidth, metrics.horizontalAdvance(QString::fromStdString(row.message)));
  }
  constexpr int kIconAndMargins = 44;
  constexpr int kWidestTitle = 260;
  list_->setColumnWidth(
      0, std::max(list_->columnWidth(0), std::min(titleWidth + kIconAndMargins, kWidestTitle)));
  list_->setColumnWidth(1, std::max(list_->columnWidth(1), actionWidth + 16));
  list_->setColumnWidth(2, std::max(list_->columnWidth(2), resultWidth + 16));
  // Wide enough for the rows, within reason; longer results scroll and have tool tips.
  constexpr int kWidestList = 1000;
  const int wanted = list_->columnWidth(0) + list_->columnWidth(1) + list_->columnWidth(2) + 24;
  list_->setMinimumSize(std::clamp(wanted, 640, kWidestList), 220);

  summary_->setTextFormat(Qt::PlainText);
  summary_->setText(QString::fromStdString(ImportSummaryText(summary)));
  summary_->setWordWrap(true);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* close = buttons->button(QDialogButtonBox::Close);
  close->setText(tr("&Close"));
  close->setAccessibleName(tr("Close"));
  close->setDefault(true);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addWidget(summary_);
  layout->addWidget(buttons);
  list_->setFocus();
}

ImportResultsDialog::~ImportResultsDialog() {
  Profile profile;
  for (int i = 0; i < static_cast<int>(kColumnKeys.size()); ++i) {
    profile.SetColumnWidth(kColumnKeys.at(static_cast<std::size_t>(i)), list_->columnWidth(i));
  }
}

}  // namespace trawlix::ui
