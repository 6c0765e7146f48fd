#pragma once

#include <QString>
#include <QWidget>
#include <vector>

namespace trawlix {
class DataSession;
class MessageSink;
}  // namespace trawlix

class QHBoxLayout;
class QToolButton;

namespace trawlix::ui {

class MainWindowCheckList;
class PageHost;
class Profile;
class StatusPanel;

// A page of the main window around one check list of the shown project: the list over its
// summary panel, and under them a button with the selection menu and one that deletes the
// checked rows after a question the user may switch off. Each page says what its rows are.
class CheckListPage : public QWidget {
  Q_OBJECT

 public:
  // Refills the list for the host's project; empties it without one.
  void Reload();
  void Clear();
  void FocusList();

  void SetPanelColor(int colorRef);
  void ApplyToolTips(bool on);
  void SaveColumnWidths(Profile& profile) const;

 Q_SIGNALS:
  // The rows were reloaded or their checks changed: the window's controls follow.
  void rowsChanged();

 protected:
  struct Names {
    const char* panel;
    QString panelAccessibleName;
    QString emptySummary;  // the panel's text without a project
    const char* selectButton;
    const char* deleteButton;
    QString deleteToolTip;
  };

  // `list` (named already) becomes the page's.
  CheckListPage(DataSession& session, MessageSink& messages, const PageHost& host,
                MainWindowCheckList* list, const Names& names, QWidget* parent);

  // Fills the list with the project's rows and returns the panel's summary of them.
  virtual QString LoadRows(int projectId) = 0;
  virtual void ClearRows() = 0;
  // The option that switches the delete question off, and the deletion itself.
  virtual bool& DeleteQuestionOption() = 0;
  virtual void DeleteRows(int projectId, const std::vector<int>& ids) = 0;

  void SetButtonsEnabled(bool select, bool remove);
  QHBoxLayout& buttonRow() const { return *buttons_; }

  DataSession& session_;
  const PageHost& host_;

 private:
  void DeleteChecked();

  MessageSink& messages_;
  MainWindowCheckList* list_;
  QString emptySummary_;
  StatusPanel* panel_ = nullptr;
  QHBoxLayout* buttons_ = nullptr;
  QToolButton* selectButton_ = nullptr;
  QToolButton* deleteButton_ = nullptr;
};

}  // namespace trawlix::ui
