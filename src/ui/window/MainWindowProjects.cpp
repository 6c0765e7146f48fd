// The main window's project list, category filter and project commands.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QToolTip>
#include <algorithm>
#include <filesystem>

#include "base/Text.h"
#include "imaging/tools/FileList.h"
#include "operations/DataSession.h"
#include "operations/OptionsOperations.h"
#include "operations/ProjectOperations.h"
#include "scan/engine/ScanController.h"
#include "storage/ProjectDefaults.h"
#include "storage/ProjectRendering.h"
#include "ui/ConfirmQuestion.h"
#include "ui/WebPageOpener.h"
#include "ui/options/OptionsSheet.h"
#include "ui/project/ProjectGeneralPage.h"
#include "ui/project/ProjectSheet.h"
#include "ui/window/AboutSheet.h"
#include "ui/window/CategoriesDialog.h"
#include "ui/window/FindProjectDialog.h"
#include "ui/window/HistoryPage.h"
#include "ui/window/LinksPage.h"
#include "ui/window/MainWindow.h"
#include "ui/window/MainWindowTexts.h"
#include "ui/window/RenameProjectDialog.h"
#include "ui/window/ViewerPage.h"

namespace trawlix::ui {

namespace {

constexpr int kIdRole = Qt::UserRole;

// The wait cursor while a project's lists and photos load.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

std::vector<CategoriesRecord> MainWindow::Categories() {
  auto categories = LoadCategories(session_);
  return categories ? std::move(*categories) : std::vector<CategoriesRecord>{};
}

int MainWindow::filterCategoryId() const {
  const QVariant value = filter_->currentData();
  return value.isValid() ? value.toInt() : kAllCategoriesId;
}

void MainWindow::FillCategories(int selectId) {
  filling_ = true;
  filter_->clear();
  filter_->addItem(tr("All"), kAllCategoriesId);
  for (const CategoriesRecord& category : Categories()) {
    filter_->addItem(QString::fromStdString(category.name), category.id);
  }
  const int index = filter_->findData(selectId);
  filter_->setCurrentIndex(std::max(index, 0));
  filling_ = false;
}

void MainWindow::FillProjects() {
  filling_ = true;
  projectList_->clear();
  if (const auto projects = LoadProjects(session_, filterCategoryId())) {
    for (const ProjectsRecord& project : *projects) {
      auto* item = new QListWidgetItem(QString::fromStdString(project.title));
      item->setData(kIdRole, project.id);
      projectList_->addItem(item);
    }
  }
  filling_ = false;
}

int MainWindow::RowOfProject(int projectId) const {
  if (projectId < 0) return -1;
  for (int row = 0; row < projectList_->count(); ++row) {
    if (projectList_->item(row)->data(kIdRole).toInt() == projectId) return row;
  }
  return -1;
}

bool MainWindow::SelectProjectById(int projectId) {
  const int row = RowOfProject(projectId);
  if (row < 0) return false;
  SelectProjectRow(row);
  return true;
}

void MainWindow::SelectProjectRow(int row) {
  filling_ = true;
  projectList_->setCurrentRow(row >= 0 && row < projectList_->count() ? row : -1);
  filling_ = false;
  OnProjectSelected();
}

void MainWindow::OnFilterChanged() {
  const int selected = currentProjectId();
  FillProjects();
  if (!SelectProjectById(selected)) SelectProjectRow(0);
}

void MainWindow::OnProjectSelected() {
  const QListWidgetItem* item = projectList_->currentItem();
  const int id = item != nullptr ? item->data(kIdRole).toInt() : -1;
  if (id >= 0 && project_ && project_->id == id) {
    UpdateControls();
    return;
  }
  std::optional<ProjectsRecord> loaded;
  if (id >= 0) loaded = LoadProject(session_, id);
  if (!loaded) {
    project_.reset();
    ClearProjectViews();
    UpdateControls();
    return;
  }
  WaitCursor wait;
  project_ = std::move(loaded);
  if (!keepViewer_) viewerPage_->ShowProject();
  ReloadLists();
  setWindowTitle(WindowCaption(&*project_));
  SetURLBoxText(QString::fromStdString(project_->url));
  UpdateControls();
}

void MainWindow::ClearProjectViews() {
  historyPage_->Clear();
  linksPage_->Clear();
  viewerPage_->Clear();
  urlBox_->clear();
  setWindowTitle(WindowCaption(nullptr));
}

void MainWindow::ReloadLists() {
  // The list on show is filled first.
  if (tabs_->currentIndex() == HistoryTab) {
    historyPage_->Reload();
    linksPage_->Reload();
  } else {
    linksPage_->Reload();
    historyPage_->Reload();
  }
}

// ---------------------------------------------------------------------------------------------
// Project commands

void MainWindow::ProjectSaved(int projectId, int categoryId, bool categoriesChanged) {
  int filterId = filterCategoryId();
  // A project outside the filter's category would vanish: show its category instead.
  if (filterId != kAllCategoriesId && filterId != categoryId) filterId = categoryId;
  if (categoriesChanged || filterId != filterCategoryId()) FillCategories(filterId);
  FillProjects();
  // The viewer shows the edited project's folder again only when the options ask for it.
  keepViewer_ = project_ && project_->id == projectId &&
                !session_.settings().Values().reloadViewerAfterChanges;
  project_.reset();  // reload: folders, title or address may have changed
  if (!SelectProjectById(projectId)) SelectProjectRow(0);
  keepViewer_ = false;
  projectList_->setFocus();
}

void MainWindow::RunProjectSheet(ProjectsRecord record, const QString& caption,
                                 std::optional<RenderMode> rendering,
                                 const std::function<ProjectSaveResult(ProjectsRecord&)>& save) {
  bool categoriesChanged = false;
  for (;;) {
    ProjectSheet sheet(session_, messages_, record, caption, this);
    sheet.SetManageCategories([this](QWidget* parent) {
      CategoriesDialog dialog(session_, messages_, parent);
      dialog.exec();
      return dialog.changed();
    });
    if (rendering) sheet.generalPage()->SetRendering(*rendering);
    const bool confirmed = sheet.exec() == QDialog::Accepted;
    categoriesChanged = categoriesChanged || sheet.categoriesChanged();
    if (!confirmed) break;
    record = sheet.record();
    rendering = sheet.generalPage()->Rendering();  // a refused save shows the sheet as left
    const ProjectSaveResult saved = save(record);
    if (saved.outcome == SaveOutcome::Saved) {
      SaveRenderMode(session_.databasePath(), saved.id, *rendering);
      ProjectSaved(saved.id, record.catId, categoriesChanged);
      return;
    }
    if (!saved.problem) break;                 // the database failed and said so
    messages_.Inform(saved.problem->message);  // then the sheet again, as the user left it
  }
  if (categoriesChanged) {
    FillCategories(filterCategoryId());
    OnFilterChanged();
  }
}

void MainWindow::NewProject() {
  if (isScanning()) return;
  const SettingsValues& values = session_.settings().Values();
  RunProjectSheet(NewProjectRecord(values, Categories()), tr("New Trawlix() PRO Project"),
                  std::nullopt, [this, &values](ProjectsRecord& record) {
                    CompleteNewProject(record, values);
                    const ProjectSaveResult saved = AddProject(session_, record, TitleRule::Any);
                    // A new project's photos are what the window shows first.
                    if (saved.outcome == SaveOutcome::Saved) ShowPage(ViewerTab);
                    return saved;
                  });
}

void MainWindow::EditProject() {
  if (isScanning() || !project_) return;
  const ProjectsRecord before = *project_;
  RunProjectSheet(
      before, QStringLiteral("Edit Project - [%1]").arg(QString::fromStdString(before.title)),
      LoadRenderMode(session_.databasePath(), before.id), [this, &before](ProjectsRecord& record) {
        return UpdateProject(session_, before, record, TitleRule::Any);
      });
}

void MainWindow::DeleteProject() {
  if (isScanning() || !project_) return;
  const int row = RowOfProject(project_->id);
  if (row < 0) return;
  const std::string question =
      Format("Delete the project %s?\n\nNOTE: Downloaded photos are **NOT** deleted.",
             project_->title.c_str());
  if (!AskUnlessSwitchedOff(messages_, session_.settings(), question,
                            session_.settings().Values().confirmDeleteProjects))
    return;
  if (!trawlix::DeleteProject(session_, project_->id)) return;
  project_.reset();
  FillProjects();
  SelectProjectRow(std::max(row - 1, 0));
}

void MainWindow::RenameProject() {
  if (isScanning() || !project_) return;
  RenameProjectDialog dialog(*project_, messages_, this);
  if (dialog.exec() != QDialog::Accepted) return;
  const ProjectRenameResult result = trawlix::RenameProject(session_, *project_, dialog.rename());
  if (result.outcome != RenameOutcome::Renamed && !result.message.empty()) {
    messages_.Inform(result.message);
  }
  if (result.outcome == RenameOutcome::Refused || result.outcome == RenameOutcome::DatabaseFailed) {
    return;
  }
  const int id = project_->id;
  FillProjects();
  project_.reset();
  if (!SelectProjectById(id)) SelectProjectRow(0);
}

void MainWindow::MoveProjectToCategory(int categoryId) {
  if (isScanning() || !project_ || project_->catId == categoryId) return;
  if (!trawlix::MoveProjectToCategory(session_, project_->id, categoryId)) return;
  project_->catId = categoryId;
  if (filterCategoryId() == kAllCategoriesId) return;
  // The project left the category on show.
  const int row = projectList_->currentRow();
  FillProjects();
  project_.reset();
  SelectProjectRow(std::max(row - 1, 0));
}

void MainWindow::ShowCategories() {
  if (isScanning()) return;
  CategoriesDialog dialog(session_, messages_, this);
  dialog.exec();
  if (!dialog.changed()) return;
  FillCategories(filterCategoryId());
  OnFilterChanged();
}

void MainWindow::ShowOptions() {
  OptionsSheet sheet(session_.settings(), messages_, this);
  if (sheet.exec() != QDialog::Accepted) return;
  const OptionsChange change = ApplyOptions(session_, sheet.values(), sheet.newLogoPath());
  ApplyToolTips();
  ApplyPanelOptions();
  if (change.autoFollowSwitchedOn && isScanning()) viewerPage_->FollowAddedPhotos();
}

void MainWindow::ShowAbout() {
  AboutSheet sheet(session_, this);
  sheet.exec();
}

void MainWindow::FindProject() {
  if (isScanning() || !enabled_.find) return;
  FindProjectDialog dialog(session_, findBox_->text(), this);
  if (dialog.exec() != QDialog::Accepted || dialog.projectId() < 0) return;
  findBox_->setText(dialog.findText());
  if (RowOfProject(dialog.projectId()) < 0) {
    FillCategories(kAllCategoriesId);  // the project lies in another category
    FillProjects();
  }
  SelectProjectById(dialog.projectId());
  projectList_->setFocus();
}

void MainWindow::QuickFind() {
  const std::string text = findBox_->text().toStdString();
  if (isScanning() || Trim(text).empty()) return;
  const int categoryId = filterCategoryId();
  const auto found =
      FindProjects(session_, text,
                   categoryId == kAllCategoriesId ? ProjectNameMatch::StartsWith
                                                  : ProjectNameMatch::StartsWithInCategory,
                   categoryId);
  if (!found || found->empty()) {
    findBox_->selectAll();
    findBox_->setFocus();
    ShowFindMiss(tr("No project title starts with \"%1\"").arg(findBox_->text()));
    return;
  }
  ShowFindMiss({});
  if (found->front().id != currentProjectId()) SelectProjectById(found->front().id);
}

// Said beside the find box and to assistive tools; empty clears it.
void MainWindow::ShowFindMiss(const QString& text) {
  findBox_->setAccessibleDescription(text);
  if (text.isEmpty()) {
    QToolTip::hideText();
    return;
  }
  QToolTip::showText(findBox_->mapToGlobal(QPoint(0, findBox_->height())), text, findBox_);
}

void MainWindow::PasteAndGo() {
  if (isScanning() || !project_) return;
  const auto address = PastedAddress(QGuiApplication::clipboard()->text().toStdString(),
                                     urlBox_->text().toStdString());
  if (!address) return;
  if (!SetProjectURL(session_, *project_, *address)) return;
  project_->url = *address;
  SetURLBoxText(QString::fromStdString(*address));
  linksPage_->Reload();  // the link of the old address follows the new one
  UpdateControls();
  if (session_.settings().Values().pasteAndGo) StartScan();
}

void MainWindow::VisitURL() {
  if (const auto address = VisitAddress(urlBox_->text().toStdString())) {
    OpenWebPage(QString::fromStdString(*address));
  }
}

void MainWindow::SelectPreviousProject() {
  if (isScanning()) return;
  const int row = projectList_->currentRow();
  if (row > 0) SelectProjectRow(row - 1);
  projectList_->setFocus();
}

void MainWindow::SelectNextProject() {
  if (isScanning()) return;
  const int row = projectList_->currentRow();
  if (row + 1 < projectList_->count()) SelectProjectRow(row + 1);
  projectList_->setFocus();
}

void MainWindow::SelectPreviousCategory() {
  if (isScanning()) return;
  if (filter_->currentIndex() > 0) filter_->setCurrentIndex(filter_->currentIndex() - 1);
}

void MainWindow::SelectNextCategory() {
  if (isScanning()) return;
  if (filter_->currentIndex() + 1 < filter_->count()) {
    filter_->setCurrentIndex(filter_->currentIndex() + 1);
  }
}

}  // namespace trawlix::ui
