#include "ui/project/ProjectSheet.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "base/MessageBox.h"
#include "operations/DataSession.h"
#include "operations/ProjectOperations.h"
#include "storage/ProjectDefaults.h"
#include "ui/FormControls.h"
#include "ui/Icons.h"
#include "ui/project/ProjectConvertPage.h"
#include "ui/project/ProjectGeneralPage.h"
#include "ui/project/ProjectThumbsMobilePage.h"

namespace trawlix::ui {

ProjectSheet::ProjectSheet(DataSession& session, MessageSink& messages, ProjectsRecord record,
                           const QString& caption, QWidget* parent)
    : QDialog(parent),
      session_(session),
      messages_(messages),
      record_(std::move(record)),
      newProject_(record_.id < 0) {
  setWindowTitle(caption);
  setWindowIcon(Icon(IconName::Application));
  setSizeGripEnabled(true);

  const SettingsValues& settings = session_.settings().Values();
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("pages"));
  general_ = new ProjectGeneralPage(settings, tabs_);
  convert_ = new ProjectConvertPage(settings, tabs_);
  thumbsMobile_ = new ProjectThumbsMobilePage(settings, tabs_);
  tabs_->addTab(general_, QStringLiteral("General Settings"));
  tabs_->addTab(convert_, QStringLiteral("Rename - Resize - Convert"));
  tabs_->addTab(thumbsMobile_, QStringLiteral("Thumbnails && Mobile Photos"));
  for (int i = 0; i < tabs_->count(); ++i) {
    QWidget* page = tabs_->widget(i);
    page->setAccessibleName(tabs_->tabText(i).replace(QStringLiteral("&&"), QStringLiteral("&")));
  }

  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons_->button(QDialogButtonBox::Ok)->setDefault(true);
  for (QAbstractButton* button : buttons_->buttons()) {
    button->setAccessibleName(SpokenText(button->text()));
  }

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_, 1);
  layout->addWidget(buttons_);

  LoadCategories();
  general_->Load(record_, newProject_);
  convert_->Load(record_);
  thumbsMobile_->Load(record_);

  connect(buttons_, &QDialogButtonBox::accepted, this, &ProjectSheet::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &ProjectSheet::reject);
  connect(tabs_, &QTabWidget::currentChanged, this, &ProjectSheet::PageChanged);
  connect(general_, &ProjectGeneralPage::manageCategoriesRequested, this,
          &ProjectSheet::ManageCategories);
  if (newProject_) {
    connect(general_, &ProjectGeneralPage::identityChanged, this,
            &ProjectSheet::ShowNewProjectDefaults);
    ShowNewProjectDefaults();
  }

  setMinimumSize(620, 520);
  resize(minimumSize().expandedTo(sizeHint()));
  general_->FieldWidget(ProjectField::Title)->setFocus();
}

ProjectSheet::Page ProjectSheet::currentPage() const {
  return static_cast<Page>(tabs_->currentIndex());
}

void ProjectSheet::setCurrentPage(Page page) {
  tabs_->setCurrentIndex(static_cast<int>(page));
}

void ProjectSheet::LoadCategories() {
  const auto categories = trawlix::LoadCategories(session_);
  categoryIds_.clear();
  if (categories) {
    for (const auto& category : *categories) categoryIds_.push_back(category.id);
  }
  general_->SetCategories(categories.value_or(std::vector<CategoriesRecord>{}));
}

ProjectsRecord ProjectSheet::Edited() const {
  ProjectsRecord edited = record_;
  general_->Store(edited);
  convert_->Store(edited);
  thumbsMobile_->Store(edited);
  // A new project's empty folders and prefix take their defaults, so they are checked as
  // they will be stored.
  if (newProject_) CompleteNewProject(edited, session_.settings().Values());
  return edited;
}

void ProjectSheet::ShowNewProjectDefaults() {
  ProjectsRecord defaults = record_;
  general_->Store(defaults);
  defaults.namePrefix.clear();
  defaults.thumbnailSaveTo.clear();
  defaults.mobileSaveTo.clear();
  CompleteNewProject(defaults, session_.settings().Values());
  convert_->ShowDefaultPrefix(QString::fromStdString(defaults.namePrefix));
  thumbsMobile_->ShowDefaultFolders(QString::fromStdString(defaults.thumbnailSaveTo),
                                    QString::fromStdString(defaults.mobileSaveTo));
}

ProjectCheckOptions ProjectSheet::CheckOptions() const {
  return ProjectCheckOptions{categoryIds_, session_.settings().Values().autoCreateFolders};
}

std::optional<ProjectProblem> ProjectSheet::CheckPage(Page page,
                                                      const ProjectsRecord& edited) const {
  switch (page) {
    case Page::General:
      return CheckGeneralPage(edited, CheckOptions());
    case Page::Convert:
      return CheckRenamePage(edited);
    case Page::ThumbsMobile:
      return CheckThumbnailsPage(edited, CheckOptions());
  }
  return std::nullopt;
}

void ProjectSheet::ShowProblem(const ProjectProblem& problem) {
  messages_.Show(MessageRequest{problem.message});
  QWidget* field = general_->FieldWidget(problem.field);
  QWidget* page = general_;
  if (field == nullptr) {
    field = convert_->FieldWidget(problem.field);
    page = convert_;
  }
  if (field == nullptr) {
    field = thumbsMobile_->FieldWidget(problem.field);
    page = thumbsMobile_;
  }
  revertingPage_ = true;
  tabs_->setCurrentWidget(page);
  revertingPage_ = false;
  shownPage_ = tabs_->currentIndex();
  if (field != nullptr) field->setFocus(Qt::OtherFocusReason);
}

void ProjectSheet::PageChanged(int index) {
  if (revertingPage_) return;
  if (auto problem = CheckPage(static_cast<Page>(shownPage_), Edited())) {
    ShowProblem(*problem);
    return;
  }
  shownPage_ = index;
}

void ProjectSheet::accept() {
  const ProjectsRecord edited = Edited();
  for (Page page : {Page::General, Page::Convert, Page::ThumbsMobile}) {
    if (auto problem = CheckPage(page, edited)) {
      ShowProblem(*problem);
      return;
    }
  }
  record_ = edited;
  QDialog::accept();
}

void ProjectSheet::ManageCategories() {
  if (!manageCategories_ || !manageCategories_(this)) return;
  categoriesChanged_ = true;
  LoadCategories();
}

}  // namespace trawlix::ui
