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
#include <algorithm>
#include <filesystem>

#include "base/Number.h"
#include "base/Text.h"
#include "imaging/FileList.h"
#include "operations/DataSession.h"
#include "operations/OptionsOperations.h"
#include "operations/ProjectOperations.h"
#include "scan/ScanController.h"
#include "storage/ProjectDefaults.h"
#include "ui/AboutSheet.h"
#include "ui/CategoriesDialog.h"
#include "ui/FindProjectDialog.h"
#include "ui/MainWindow.h"
#include "ui/MainWindowTexts.h"
#include "ui/OptionsSheet.h"
#include "ui/PhotoInfoPanel.h"
#include "ui/PhotoViewer.h"
#include "ui/ProjectLinksList.h"
#include "ui/ProjectSheet.h"
#include "ui/RenameProjectDialog.h"
#include "ui/ScanHistoryList.h"
#include "ui/StatusPanel.h"

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

std::vector<CCategoriesRecord> MainWindow::Categories() {
  auto categories = LoadCategories(session_);
  return categories ? std::move(*categories) : std::vector<CCategoriesRecord>{};
}

int MainWindow::filterCategoryId() const {
  const QVariant value = filter_->currentData();
  return value.isValid() ? value.toInt() : kAllCategoriesId;
}

void MainWindow::FillCategories(int selectId) {
  filling_ = true;
  filter_->clear();
  filter_->addItem(tr("All"), kAllCategoriesId);
  for (const CCategoriesRecord& category : Categories()) {
    filter_->addItem(QString::fromStdString(category.m_lpszName), category.m_lId);
  }
  const int index = filter_->findData(selectId);
  filter_->setCurrentIndex(std::max(index, 0));
  filling_ = false;
}

void MainWindow::FillProjects() {
  filling_ = true;
  projectList_->clear();
  if (const auto projects = LoadProjects(session_, filterCategoryId())) {
    for (const CProjectsRecord& project : *projects) {
      auto* item = new QListWidgetItem(QString::fromStdString(project.m_lpszTitle));
      item->setData(kIdRole, project.m_nId);
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
  if (id >= 0 && project_ && project_->m_nId == id) {
    UpdateControls();
    return;
  }
  std::optional<CProjectsRecord> loaded;
  if (id >= 0) loaded = LoadProject(session_, id);
  if (!loaded) {
    project_.reset();
    ClearProjectViews();
    UpdateControls();
    return;
  }
  WaitCursor wait;
  project_ = std::move(loaded);
  photoInfo_->clear();
  status_->clear();
  LoadViewerPhotos();
  ReloadLists();
  setWindowTitle(WindowCaption(&*project_));
  SetURLBoxText(QString::fromStdString(project_->m_lpszURL));
  UpdateControls();
}

void MainWindow::ClearProjectViews() {
  history_->Clear();
  links_->Clear();
  status_->clear();
  photoInfo_->clear();
  urlBox_->clear();
  viewer_->Clear();
  setWindowTitle(WindowCaption(nullptr));
  historyPanel_->setDetail(QStringLiteral("No scanning sessions."));
  linksPanel_->setDetail({});
}

void MainWindow::ReloadLinks() {
  if (!project_) {
    links_->Clear();
    linksPanel_->setDetail({});
    return;
  }
  links_->Load(session_, project_->m_nId);
  linksPanel_->setDetail(QStringLiteral("Project Links: %1 ")
                             .arg(QString::fromStdString(FormatThousands(links_->rowCount()))));
  UpdateControls();
}

void MainWindow::ReloadHistory() {
  if (!project_) {
    history_->Clear();
    historyPanel_->setDetail(QStringLiteral("No scanning sessions."));
    return;
  }
  history_->Load(session_, project_->m_nId);
  historyPanel_->setDetail(
      QString::fromStdString(ScanHistoryList::SummaryText(history_->records())));
  UpdateControls();
}

void MainWindow::ReloadLists() {
  // The list on show is filled first.
  if (tabs_->currentIndex() == HistoryPage) {
    ReloadHistory();
    ReloadLinks();
  } else {
    ReloadLinks();
    ReloadHistory();
  }
}

bool MainWindow::AskUnlessSwitchedOff(const std::string& text, std::int32_t& option) {
  if (option == 0) return true;
  MessageRequest request{text};
  request.icon = MessageIcon::Question;
  request.buttons = MessageButtons::YesNo;
  request.offerDontAskAgain = true;
  const MessageReply reply = messages_.Show(request);
  if (reply.dontAskAgain) {
    option = 0;
    session_.settings().SaveSettings();
  }
  return reply.answer == MessageAnswer::Yes;
}

// ---------------------------------------------------------------------------------------------
// Project commands

void MainWindow::ProjectSaved(int projectId, int categoryId, bool categoriesChanged) {
  int filterId = filterCategoryId();
  // A project outside the filter's category would vanish: show its category instead.
  if (filterId != kAllCategoriesId && filterId != categoryId) filterId = categoryId;
  if (categoriesChanged || filterId != filterCategoryId()) FillCategories(filterId);
  FillProjects();
  project_.reset();  // reload: folders, title or address may have changed
  if (!SelectProjectById(projectId)) SelectProjectRow(0);
  projectList_->setFocus();
}

void MainWindow::NewProject() {
  if (isScanning()) return;
  const SettingsValues& values = session_.settings().Values();
  CProjectsRecord record = NewProjectRecord(values, Categories());
  bool categoriesChanged = false;
  const auto manage = [this](QWidget* parent) {
    CategoriesDialog dialog(session_, messages_, parent);
    dialog.exec();
    return dialog.changed();
  };
  for (;;) {
    ProjectSheet sheet(session_, messages_, record, tr("New Trawlix() PRO Project"), this);
    sheet.SetManageCategories(manage);
    const bool confirmed = sheet.exec() == QDialog::Accepted;
    categoriesChanged = categoriesChanged || sheet.categoriesChanged();
    if (!confirmed) break;
    record = sheet.record();
    CompleteNewProject(record, values);
    const ProjectSaveResult saved = AddProject(session_, record, TitleRule::Any);
    if (saved.outcome == SaveOutcome::Saved) {
      ShowPage(ViewerPage);
      ProjectSaved(saved.id, record.m_nCatId, categoriesChanged);
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

void MainWindow::EditProject() {
  if (isScanning() || !project_) return;
  CProjectsRecord record = *project_;
  bool categoriesChanged = false;
  for (;;) {
    ProjectSheet sheet(
        session_, messages_, record,
        QStringLiteral("Edit Project - [%1]").arg(QString::fromStdString(project_->m_lpszTitle)),
        this);
    sheet.SetManageCategories([this](QWidget* parent) {
      CategoriesDialog dialog(session_, messages_, parent);
      dialog.exec();
      return dialog.changed();
    });
    const bool confirmed = sheet.exec() == QDialog::Accepted;
    categoriesChanged = categoriesChanged || sheet.categoriesChanged();
    if (!confirmed) break;
    record = sheet.record();
    const ProjectSaveResult saved = UpdateProject(session_, *project_, record, TitleRule::Any);
    if (saved.outcome == SaveOutcome::Saved) {
      ProjectSaved(project_->m_nId, record.m_nCatId, categoriesChanged);
      return;
    }
    if (!saved.problem) break;
    messages_.Inform(saved.problem->message);
  }
  if (categoriesChanged) {
    FillCategories(filterCategoryId());
    OnFilterChanged();
  }
}

void MainWindow::DeleteProject() {
  if (isScanning() || !project_) return;
  const int row = RowOfProject(project_->m_nId);
  if (row < 0) return;
  const std::string question =
      Format("Delete the project %s?\n\nNOTE: Downloaded photos are **NOT** deleted.",
             project_->m_lpszTitle.c_str());
  if (!AskUnlessSwitchedOff(question, session_.settings().Values().confirmDeleteProjects)) return;
  if (!trawlix::DeleteProject(session_, project_->m_nId)) return;
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
  const int id = project_->m_nId;
  FillProjects();
  project_.reset();
  if (!SelectProjectById(id)) SelectProjectRow(0);
}

void MainWindow::MoveProjectToCategory(int categoryId) {
  if (isScanning() || !project_ || project_->m_nCatId == categoryId) return;
  if (!trawlix::MoveProjectToCategory(session_, project_->m_nId, categoryId)) return;
  project_->m_nCatId = categoryId;
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
  const SettingsValues& values = session_.settings().Values();
  ApplyToolTips();
  for (StatusPanel* panel : {status_, historyPanel_, linksPanel_}) {
    panel->setPanelColor(values.panelColor);
  }
  ApplyViewerOptions();
  if (change.autoFollowSwitchedOn && isScanning()) followButton_->setChecked(true);
}

void MainWindow::ShowAbout() {
  AboutSheet sheet(session_, this);
  sheet.exec();
}

void MainWindow::FindProject() {
  if (isScanning() || !enabled_.find) return;
  FindProjectDialog dialog(session_, findBox_->text(), this);
  if (dialog.exec() != QDialog::Accepted || dialog.projectId() < 0) return;
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
    return;
  }
  if (found->front().m_nId != currentProjectId()) SelectProjectById(found->front().m_nId);
}

void MainWindow::PasteAndGo() {
  if (isScanning() || !project_) return;
  const auto address = PastedAddress(QGuiApplication::clipboard()->text().toStdString(),
                                     urlBox_->text().toStdString());
  if (!address) return;
  if (!SetProjectURL(session_, *project_, *address)) return;
  project_->m_lpszURL = *address;
  SetURLBoxText(QString::fromStdString(*address));
  ReloadLinks();  // the link of the old address follows the new one
  UpdateControls();
  if (session_.settings().Values().pasteAndGo == 1) StartScan();
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
