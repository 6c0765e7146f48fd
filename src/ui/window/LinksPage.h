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
class ProjectLinksList;
class StatusPanel;
struct MainWindowEnabled;

// The main window's "Project Links" page: the shown project's further start addresses with
// their summary, and the buttons that check, delete and rescan them.
class LinksPage : public QWidget {
  Q_OBJECT

 public:
  LinksPage(DataSession& session, MessageSink& messages, const PageHost& host,
            QWidget* parent = nullptr);

  ProjectLinksList& list() const { return *links_; }

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
  // "Rescan Selected URLs": the window scans the checked links.
  void rescanRequested();

 private:
  void DeleteChecked();
  void OpenLinkOfRow(int row);

  DataSession& session_;
  MessageSink& messages_;
  const PageHost& host_;

  ProjectLinksList* links_ = nullptr;
  StatusPanel* panel_ = nullptr;
  QToolButton* selectButton_ = nullptr;
  QToolButton* deleteButton_ = nullptr;
  QToolButton* rescanButton_ = nullptr;
};

}  // namespace trawlix::ui
