#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

#include "storage/ProjectValidation.h"
#include "storage/ProjectsRecord.h"

class QDialogButtonBox;
class QTabWidget;

namespace trawlix {
class DataSession;
class MessageSink;
}  // namespace trawlix

namespace trawlix::ui {

class ProjectConvertPage;
class ProjectGeneralPage;
class ProjectThumbsMobilePage;

// The project editor: three pages over one project record. It checks the record as the
// user leaves a page and on OK, and writes nothing itself: the caller stores record().
class ProjectSheet : public QDialog {
  Q_OBJECT

 public:
  enum class Page { General, Convert, ThumbsMobile };

  // caption: "New Trawlix() PRO Project" or "Edit Project - [title]". A record never
  // stored (Id -1) is a new project.
  ProjectSheet(DataSession& session, MessageSink& messages, ProjectsRecord record,
               const QString& caption, QWidget* parent = nullptr);

  // The edited record after Accepted.
  const ProjectsRecord& record() const { return record_; }
  // The category list was changed from the sheet.
  bool categoriesChanged() const { return categoriesChanged_; }
  // Opens the categories dialog for the "Manage Categories" button; true when categories
  // changed.
  void SetManageCategories(std::function<bool(QWidget* parent)> manage) {
    manageCategories_ = std::move(manage);
  }

  Page currentPage() const;
  void setCurrentPage(Page page);

  ProjectGeneralPage* generalPage() const { return general_; }
  ProjectConvertPage* convertPage() const { return convert_; }
  ProjectThumbsMobilePage* thumbsMobilePage() const { return thumbsMobile_; }

  void accept() override;

 private:
  ProjectsRecord Edited() const;
  ProjectCheckOptions CheckOptions() const;
  std::optional<ProjectProblem> CheckPage(Page page, const ProjectsRecord& edited) const;
  void ShowProblem(const ProjectProblem& problem);
  void PageChanged(int index);
  void ManageCategories();
  void LoadCategories();
  void ShowNewProjectDefaults();

  DataSession& session_;
  MessageSink& messages_;
  ProjectsRecord record_;
  bool newProject_;
  bool categoriesChanged_ = false;
  std::function<bool(QWidget*)> manageCategories_;
  std::vector<int> categoryIds_;

  QTabWidget* tabs_;
  ProjectGeneralPage* general_;
  ProjectConvertPage* convert_;
  ProjectThumbsMobilePage* thumbsMobile_;
  QDialogButtonBox* buttons_;
  int shownPage_ = 0;
  bool revertingPage_ = false;
};

}  // namespace trawlix::ui
