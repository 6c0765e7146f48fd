#include "ui/window/HistoryPage.h"

#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>
#include <vector>

#include "operations/DataSession.h"
#include "operations/PanelOperations.h"
#include "ui/ConfirmQuestion.h"
#include "ui/SelectionMenu.h"
#include "ui/window/MainWindowState.h"
#include "ui/window/PageHost.h"
#include "ui/window/Profile.h"
#include "ui/window/ScanHistoryList.h"
#include "ui/window/ScanResultsDialog.h"
#include "ui/window/StatusPanel.h"
#include "ui/window/WindowControls.h"

namespace trawlix::ui {

namespace {

constexpr char kNoScans[] = "No scanning sessions.";

}  // namespace

HistoryPage::HistoryPage(DataSession& session, MessageSink& messages, const PageHost& host,
                         QWidget* parent)
    : QWidget(parent), session_(session), messages_(messages), host_(host) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(4);
  history_ = new ScanHistoryList;
  history_->setObjectName(QStringLiteral("historyList"));
  history_->RestoreColumnWidths(Profile());
  connect(history_, &ScanHistoryList::checksChanged, this, &HistoryPage::rowsChanged);
  connect(history_, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { ShowScanResults(history_->indexOfTopLevelItem(item)); });
  layout->addWidget(history_, 1);
  panel_ = new StatusPanel;
  panel_->setObjectName(QStringLiteral("historyPanel"));
  panel_->setAccessibleName(tr("Scan History Summary"));
  panel_->setDetail(QLatin1String(kNoScans));
  layout->addWidget(panel_);

  auto* buttons = ButtonRow();
  selectButton_ = IconButton(IconName::SelectAll, tr("Select/Deselect All"), "historySelect");
  selectButton_->setPopupMode(QToolButton::InstantPopup);
  selectButton_->setMenu(SelectionMenu(this, history_));
  deleteButton_ =
      IconButton(IconName::DeleteSelected, tr("Delete Selected Scan History"), "historyDelete");
  connect(deleteButton_, &QToolButton::clicked, this, &HistoryPage::DeleteChecked);
  buttons->addWidget(selectButton_);
  buttons->addWidget(deleteButton_);
  buttons->addStretch(1);
  layout->addLayout(buttons);
}

void HistoryPage::Reload() {
  const ProjectsRecord* project = host_.shownProject();
  if (project == nullptr) {
    Clear();
    return;
  }
  history_->Load(session_, project->id);
  panel_->setDetail(QString::fromStdString(ScanHistoryList::SummaryText(history_->records())));
  Q_EMIT rowsChanged();
}

void HistoryPage::Clear() {
  history_->Clear();
  panel_->setDetail(QLatin1String(kNoScans));
}

void HistoryPage::FocusList() {
  history_->setFocus();
}

void HistoryPage::SetPanelColor(int colorRef) {
  panel_->setPanelColor(colorRef);
}

void HistoryPage::ApplyToolTips(bool on) {
  for (QToolButton* button : {selectButton_, deleteButton_}) {
    button->setToolTip(on ? button->accessibleName() : QString());
  }
}

void HistoryPage::ApplyEnabled(const MainWindowEnabled& enabled) {
  selectButton_->setEnabled(enabled.selectHistory);
  deleteButton_->setEnabled(enabled.deleteHistory);
}

void HistoryPage::SaveColumnWidths(Profile& profile) const {
  history_->SaveColumnWidths(profile);
}

void HistoryPage::DeleteChecked() {
  const ProjectsRecord* project = host_.shownProject();
  if (project == nullptr || host_.scanning()) return;
  const std::vector<int> ids = history_->checkedIds();
  if (ids.empty()) return;
  const int count = static_cast<int>(ids.size());
  if (!AskUnlessSwitchedOff(messages_, session_.settings(),
                            DeleteRowsQuestion(count, project->title),
                            session_.settings().Values().confirmDeleteHistory)) {
    return;
  }
  const int top = history_->topRow();
  DeleteScanHistoryRows(session_, project->id, ids);
  Reload();
  history_->scrollToTopRow(top);
}

void HistoryPage::ShowScanResults(int row) {
  const ProjectsRecord* project = host_.shownProject();
  if (project == nullptr || row < 0 || row >= static_cast<int>(history_->records().size())) {
    return;
  }
  auto* dialog = new ScanResultsDialog(
      project->title, history_->records()[static_cast<std::size_t>(row)], window());
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->open();
}

}  // namespace trawlix::ui
