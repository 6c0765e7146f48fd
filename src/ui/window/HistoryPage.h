#pragma once

#include <QWidget>

namespace trawlix {
class DataSession;
class MessageSink;
}  // namespace trawlix

class QToolButton;

namespace trawlix::ui {

class PageHost;
class Profile;
class ScanHistoryList;
class StatusPanel;
struct MainWindowEnabled;

// The main window's "Scan History" page: the shown project's scans with their sums, the
// buttons that check and delete them, and each scan's results on a double click.
class HistoryPage : public QWidget {
  Q_OBJECT

 public:
  HistoryPage(DataSession& session, MessageSink& messages, const PageHost& host,
              QWidget* parent = nullptr);

  ScanHistoryList& list() const { return *history_; }

  // Refills the list for the host's project; empties it without one.
  void Reload();
  void Clear();
  void FocusList();

  void SetPanelColor(int colorRef);
  void ApplyToolTips(bool on);
  void ApplyEnabled(const MainWindowEnabled& enabled);
  void SaveColumnWidths(Profile& profile) const;

 Q_SIGNALS:
  // The rows were reloaded or their checks changed: the window's controls follow.
  void rowsChanged();

 private:
  void DeleteChecked();
  void ShowScanResults(int row);

  DataSession& session_;
  MessageSink& messages_;
  const PageHost& host_;

  ScanHistoryList* history_ = nullptr;
  StatusPanel* panel_ = nullptr;
  QToolButton* selectButton_ = nullptr;
  QToolButton* deleteButton_ = nullptr;
};

}  // namespace trawlix::ui
