#include "ui/window/MainWindowCheckList.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <algorithm>
#include <string>

#include "ui/window/Profile.h"

namespace trawlix::ui {

namespace {

constexpr int kIdRole = Qt::UserRole;

}  // namespace

MainWindowCheckList::MainWindowCheckList(const QString& accessibleName, std::vector<Column> columns,
                                         QWidget* parent)
    : QTreeWidget(parent), columns_(std::move(columns)) {
  setAccessibleName(accessibleName);
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setAlternatingRowColors(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setAllColumnsShowFocus(true);
  QStringList titles;
  for (const Column& column : columns_) titles << column.title;
  setHeaderLabels(titles);
  for (int i = 0; i < static_cast<int>(columns_.size()); ++i) {
    headerItem()->setTextAlignment(
        i, columns_[static_cast<std::size_t>(i)].alignment | Qt::AlignVCenter);
  }
  header()->setStretchLastSection(false);
  for (int i = 0; i < static_cast<int>(columns_.size()); ++i) {
    if (columns_[static_cast<std::size_t>(i)].fills) {
      header()->setSectionResizeMode(i, QHeaderView::Stretch);
    }
  }
  connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem*, int column) {
    if (!quiet_ && column == 0) Q_EMIT checksChanged();
  });
}

void MainWindowCheckList::RestoreColumnWidths(const Profile& profile) {
  // The stored widths suit another font: a column keeps room for its usual content.
  const QFontMetrics metrics = fontMetrics();
  for (int i = 0; i < static_cast<int>(columns_.size()); ++i) {
    const Column& column = columns_[static_cast<std::size_t>(i)];
    const int least = column.sample.isEmpty() ? 0 : metrics.horizontalAdvance(column.sample) + 16;
    setColumnWidth(i, std::max(profile.ColumnWidth(column.profileKey), least));
  }
}

void MainWindowCheckList::SaveColumnWidths(Profile& profile) const {
  for (int i = 0; i < static_cast<int>(columns_.size()); ++i) {
    profile.SetColumnWidth(columns_[static_cast<std::size_t>(i)].profileKey, columnWidth(i));
  }
}

int MainWindowCheckList::checkedCount() const {
  int count = 0;
  for (int i = 0; i < topLevelItemCount(); ++i) {
    if (topLevelItem(i)->checkState(0) == Qt::Checked) ++count;
  }
  return count;
}

std::vector<int> MainWindowCheckList::checkedIds() const {
  std::vector<int> ids;
  for (int i = 0; i < topLevelItemCount(); ++i) {
    if (topLevelItem(i)->checkState(0) == Qt::Checked) ids.push_back(idAt(i));
  }
  return ids;
}

int MainWindowCheckList::idAt(int row) const {
  const QTreeWidgetItem* item = topLevelItem(row);
  return item != nullptr ? item->data(0, kIdRole).toInt() : -1;
}

int MainWindowCheckList::topRow() const {
  const QModelIndex top = indexAt(QPoint(0, 0));
  return top.isValid() ? top.row() : -1;
}

void MainWindowCheckList::scrollToTopRow(int row) {
  if (rowCount() == 0 || row < 0) return;
  scrollToItem(topLevelItem(std::min(row, rowCount() - 1)), QAbstractItemView::PositionAtTop);
}

void MainWindowCheckList::BeginFill() {
  quiet_ = true;
  setUpdatesEnabled(false);
  clear();
}

void MainWindowCheckList::EndFill() {
  setUpdatesEnabled(true);
  quiet_ = false;
  if (QTreeWidgetItem* first = topLevelItem(0)) {
    setCurrentItem(first);
    scrollToItem(first);
  }
  Q_EMIT checksChanged();
}

void MainWindowCheckList::AddRow(int id, const QStringList& texts) {
  auto* item = new QTreeWidgetItem(texts);
  item->setData(0, kIdRole, id);
  item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
  item->setCheckState(0, Qt::Unchecked);
  for (int i = 0; i < static_cast<int>(columns_.size()) && i < texts.size(); ++i) {
    item->setTextAlignment(i, columns_[static_cast<std::size_t>(i)].alignment | Qt::AlignVCenter);
  }
  addTopLevelItem(item);
}

void MainWindowCheckList::SetChecks(Qt::CheckState state, bool invert) {
  quiet_ = true;
  for (int i = 0; i < topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = topLevelItem(i);
    if (invert) {
      item->setCheckState(0, item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    } else {
      item->setCheckState(0, state);
    }
  }
  quiet_ = false;
  Q_EMIT checksChanged();
}

}  // namespace trawlix::ui
