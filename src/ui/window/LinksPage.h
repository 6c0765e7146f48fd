#pragma once

#include "ui/window/CheckListPage.h"

namespace trawlix::ui {

class ProjectLinksList;
struct MainWindowEnabled;

// The main window's "Project Links" page: the shown project's further start addresses, and a
// button that rescans the checked ones.
class LinksPage : public CheckListPage {
  Q_OBJECT

 public:
  LinksPage(DataSession& session, MessageSink& messages, const PageHost& host,
            QWidget* parent = nullptr);

  ProjectLinksList& list() const { return *links_; }
  void ApplyEnabled(const MainWindowEnabled& enabled);

 Q_SIGNALS:
  // "Rescan Selected URLs": the window scans the checked links.
  void rescanRequested();

 private:
  QString LoadRows(int projectId) override;
  void ClearRows() override;
  bool& DeleteQuestionOption() override;
  void DeleteRows(int projectId, const std::vector<int>& ids) override;
  void OpenLinkOfRow(int row);

  ProjectLinksList* links_;
  QToolButton* rescanButton_ = nullptr;
};

}  // namespace trawlix::ui
