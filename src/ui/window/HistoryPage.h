#pragma once

#include "ui/window/CheckListPage.h"

namespace trawlix::ui {

class ScanHistoryList;
struct MainWindowEnabled;

// The main window's "Scan History" page: the shown project's scans with their sums, and each
// scan's results on a double click.
class HistoryPage : public CheckListPage {
  Q_OBJECT

 public:
  HistoryPage(DataSession& session, MessageSink& messages, const PageHost& host,
              QWidget* parent = nullptr);

  ScanHistoryList& list() const { return *history_; }
  void ApplyEnabled(const MainWindowEnabled& enabled);

 private:
  QString LoadRows(int projectId) override;
  void ClearRows() override;
  bool& DeleteQuestionOption() override;
  void DeleteRows(int projectId, const std::vector<int>& ids) override;
  void ShowScanResults(int row);

  ScanHistoryList* history_;
};

}  // namespace trawlix::ui
