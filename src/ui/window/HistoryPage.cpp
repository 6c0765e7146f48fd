#include "ui/window/HistoryPage.h"

#include "operations/DataSession.h"
#include "operations/PanelOperations.h"
#include "ui/window/MainWindowState.h"
#include "ui/window/PageHost.h"
#include "ui/window/Profile.h"
#include "ui/window/ScanHistoryList.h"
#include "ui/window/ScanResultsDialog.h"

namespace trawlix::ui {

namespace {

ScanHistoryList* MakeList() {
  auto* history = new ScanHistoryList;
  history->setObjectName(QStringLiteral("historyList"));
  history->RestoreColumnWidths(Profile());
  return history;
}

}  // namespace

HistoryPage::HistoryPage(DataSession& session, MessageSink& messages, const PageHost& host,
                         QWidget* parent)
    : CheckListPage(
          session, messages, host, MakeList(),
          {"historyPanel", tr("Scan History Summary"), QStringLiteral("No scanning sessions."),
           "historySelect", "historyDelete", tr("Delete Selected Scan History")},
          parent),
      history_(findChild<ScanHistoryList*>()) {
  connect(history_, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { ShowScanResults(history_->indexOfTopLevelItem(item)); });
}

void HistoryPage::ApplyEnabled(const MainWindowEnabled& enabled) {
  SetButtonsEnabled(enabled.selectHistory, enabled.deleteHistory);
}

QString HistoryPage::LoadRows(int projectId) {
  history_->Load(session_, projectId);
  return QString::fromStdString(ScanHistoryList::SummaryText(history_->records()));
}

void HistoryPage::ClearRows() {
  history_->Clear();
}

bool& HistoryPage::DeleteQuestionOption() {
  return session_.settings().Values().confirmDeleteHistory;
}

void HistoryPage::DeleteRows(int projectId, const std::vector<int>& ids) {
  DeleteScanHistoryRows(session_, projectId, ids);
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
