#include "operations/ProjectOperations.h"

#include <algorithm>
#include <filesystem>

#include "base/Path.h"
#include "base/Text.h"
#include "operations/Records.h"
#include "storage/CategoriesTable.h"
#include "storage/ProjectDefaults.h"
#include "storage/ProjectLinksTable.h"
#include "storage/ScanHistoryTable.h"

namespace trawlix {

namespace fs = std::filesystem;

namespace {

template <class Load>
std::optional<std::vector<ProjectsRecord>> LoadProjectsWith(DataSession& session, Load load) {
  ProjectsTable table(session.databasePath(), session.messages());
  if (!table.OpenTable() || !load(table)) return std::nullopt;
  return HandOutRecords(table);
}

bool TitleTakenInCategory(DataSession& session, const ProjectsRecord& record) {
  const auto others = LoadProjectsWith(session, [&](ProjectsTable& table) {
    return table.LoadByCategoryAndTitle(record.catId, record.title);
  });
  return others && std::any_of(others->begin(), others->end(),
                               [&](const ProjectsRecord& other) { return other.id != record.id; });
}

// An insert does not report the row's id: the newest project of that title in that category.
int NewProjectId(DataSession& session, const ProjectsRecord& record) {
  const auto matches = LoadProjectsWith(session, [&](ProjectsTable& table) {
    return table.LoadByCategoryAndTitle(record.catId, record.title);
  });
  int id = -1;
  if (matches) {
    for (const auto& match : *matches) id = std::max(id, match.id);
  }
  return id;
}

// The checks, the title rule and the folders, in that order; nothing when the project may
// be stored.
std::optional<ProjectSaveResult> Refusal(DataSession& session, const ProjectsRecord& record,
                                         bool checkTitle) {
  if (auto problem = CheckProjectForSave(session, record)) {
    return ProjectSaveResult{SaveOutcome::Refused, std::move(problem), -1};
  }
  if (checkTitle && TitleTakenInCategory(session, record)) {
    return ProjectSaveResult{SaveOutcome::TitleTaken, std::nullopt, -1};
  }
  if (auto problem = CreateProjectFolders(record)) {
    return ProjectSaveResult{SaveOutcome::Refused, std::move(problem), -1};
  }
  return std::nullopt;
}

// The project link that carried the old start address carries the new one.
void MoveStartLink(DataSession& session, int projectId, const std::string& oldURL,
                   const std::string& newURL) {
  if (oldURL == newURL) return;
  ProjectLinksTable links(session.databasePath(), session.messages());
  ProjectLinksRecord link;
  if (links.OpenTable() && links.LoadLinkByURL(projectId, oldURL) && links.GetCurrent(link)) {
    link.url = newURL;
    links.UpdateProjectLink(link);
  }
}

bool StoreUpdate(DataSession& session, const ProjectsRecord& record) {
  ProjectsTable table(session.databasePath(), session.messages());
  return table.OpenTable() && table.UpdateProject(record);
}

// A folder inside the renamed one moves with it.
std::string FollowRename(const std::string& folder, const fs::path& oldFolder,
                         const fs::path& newFolder) {
  const fs::path path(folder);
  const fs::path relative = path.lexically_relative(oldFolder);
  if (folder.empty() || relative.empty() || *relative.begin() == "..") return folder;
  return relative == "." ? newFolder.string() : (newFolder / relative).string();
}

bool IsPlainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\0') == std::string::npos;
}

}  // namespace

std::optional<std::vector<CategoriesRecord>> LoadCategories(DataSession& session) {
  CategoriesTable table(session.databasePath(), session.messages());
  if (!table.OpenTable() || !table.LoadAllCategories()) return std::nullopt;
  return HandOutRecords(table);
}

std::optional<std::vector<ProjectsRecord>> LoadProjects(DataSession& session, int categoryId) {
  return LoadProjectsWith(session, [categoryId](ProjectsTable& table) {
    return categoryId == kAllCategoriesId ? table.LoadAllProjects()
                                          : table.LoadCategoryProjects(categoryId);
  });
}

std::optional<ProjectsRecord> LoadProject(DataSession& session, int id) {
  const auto found =
      LoadProjectsWith(session, [id](ProjectsTable& table) { return table.LoadProjectById(id); });
  if (!found || found->empty()) return std::nullopt;
  return found->front();
}

std::optional<std::vector<ProjectsRecord>> LoadProjectsByTitle(DataSession& session,
                                                               std::string_view title) {
  return LoadProjectsWith(session,
                          [title](ProjectsTable& table) { return table.LoadByTitle(title); });
}

std::optional<std::vector<ProjectsRecord>> FindProjects(DataSession& session, std::string_view text,
                                                        ProjectNameMatch match, int categoryId) {
  return LoadProjectsWith(session, [&](ProjectsTable& table) {
    return table.FindProjectsByName(text, match, categoryId);
  });
}

std::optional<std::vector<ProjectLinksRecord>> LoadProjectLinks(DataSession& session, int projectId,
                                                                LinkOrder order) {
  ProjectLinksTable table(session.databasePath(), session.messages());
  if (!table.OpenTable() || !table.LoadLinksSorted(projectId, order.column, order.ascending)) {
    return std::nullopt;
  }
  return HandOutRecords(table);
}

std::optional<std::vector<ScanHistoryRecord>> LoadScanHistory(DataSession& session, int projectId) {
  ScanHistoryTable table(session.databasePath(), session.messages());
  if (!table.OpenTable() || !table.LoadProjectHistory(projectId)) return std::nullopt;
  return HandOutRecords(table);
}

int CountProjectLinks(DataSession& session, int projectId) {
  ProjectLinksTable table(session.databasePath(), session.messages());
  return table.OpenTable() ? table.CountLinks(projectId) : 0;
}

std::optional<ProjectProblem> CheckProjectForSave(DataSession& session,
                                                  const ProjectsRecord& record) {
  ProjectCheckOptions options;
  if (const auto categories = LoadCategories(session)) {
    for (const auto& category : *categories) options.categoryIds.push_back(category.id);
  }
  options.createMissingFolders = session.settings().Values().autoCreateFolders;
  return CheckProject(record, options);
}

ProjectsRecord CleanedProject(ProjectsRecord record) {
  record.title = Trim(record.title);
  record.url = Trim(record.url);
  for (std::string* folder : {&record.saveTo, &record.thumbnailSaveTo, &record.mobileSaveTo,
                              &record.thumbnailsExternalSaveTo, &record.mobileExternalSaveTo}) {
    *folder = Trim(*folder);
    if (folder->empty()) continue;
    std::error_code error;
    const fs::path absolute = fs::absolute(*folder, error);
    if (!error)
      *folder = NormalizeFolderPath(absolute.lexically_normal().string(), TrailingSlash::Remove);
  }
  return record;
}

ProjectSaveResult AddProject(DataSession& session, const ProjectsRecord& given,
                             TitleRule titleRule) {
  const ProjectsRecord record = CleanedProject(given);
  if (auto refusal = Refusal(session, record, titleRule == TitleRule::UniqueInCategory)) {
    return *refusal;
  }
  ProjectsTable table(session.databasePath(), session.messages());
  if (!table.OpenTable() || !table.InsertProject(record)) return {};
  return {SaveOutcome::Saved, std::nullopt, NewProjectId(session, record)};
}

ProjectSaveResult UpdateProject(DataSession& session, const ProjectsRecord& before,
                                const ProjectsRecord& given, TitleRule titleRule) {
  const ProjectsRecord after = CleanedProject(given);
  const bool renamed = after.title != before.title || after.catId != before.catId;
  if (auto refusal = Refusal(session, after, renamed && titleRule == TitleRule::UniqueInCategory)) {
    return *refusal;
  }
  if (!StoreUpdate(session, after)) return {};
  MoveStartLink(session, after.id, before.url, after.url);
  return {SaveOutcome::Saved, std::nullopt, after.id};
}

bool DeleteProject(DataSession& session, int projectId) {
  return DeleteProjectWithHistory(session.databasePath(), session.messages(), projectId);
}

bool MoveProjectToCategory(DataSession& session, int projectId, int categoryId) {
  auto project = LoadProject(session, projectId);
  if (!project) return false;
  project->catId = categoryId;
  return StoreUpdate(session, *project);
}

bool SetProjectURL(DataSession& session, const ProjectsRecord& project, const std::string& url) {
  ProjectsRecord changed = project;
  changed.url = Trim(url);
  if (!StoreUpdate(session, changed)) return false;
  MoveStartLink(session, project.id, project.url, changed.url);
  return true;
}

ProjectRenameResult RenameProject(DataSession& session, const ProjectsRecord& project,
                                  const ProjectRename& rename) {
  ProjectRenameResult result;
  result.project = project;
  const std::string title = Trim(rename.title);
  const std::string folderName = Trim(rename.folderName);
  if (title.empty()) {
    result.outcome = RenameOutcome::Refused;
    result.message = kNoNameMessage;
    return result;
  }
  if (!IsPlainName(folderName)) {
    result.outcome = RenameOutcome::Refused;
    result.message = "Please type in a folder name without \"/\".";
    return result;
  }
  const fs::path oldFolder = NormalizeFolderPath(project.saveTo, TrailingSlash::Remove);
  const fs::path newFolder = oldFolder.parent_path() / folderName;
  if (newFolder != oldFolder) {
    std::error_code error;
    if (fs::exists(newFolder, error)) {
      result.outcome = RenameOutcome::FolderNotRenamed;
      result.message = "The folder " + newFolder.string() + " exists already.";
      return result;
    }
    if (fs::exists(oldFolder, error)) fs::rename(oldFolder, newFolder, error);
    if (error) {
      result.outcome = RenameOutcome::FolderNotRenamed;
      result.message =
          "The folder " + oldFolder.string() + " could not be renamed: " + error.message() + ".";
      return result;
    }
  }
  result.project.title = title;
  result.project.saveTo = newFolder.string();
  for (std::string* folder : {&result.project.thumbnailSaveTo, &result.project.mobileSaveTo}) {
    *folder = FollowRename(*folder, oldFolder, newFolder);
  }
  result.project.namePrefix = DefaultNamePrefix(title);
  if (!StoreUpdate(session, result.project)) {
    // The row still names the old folder: put the folder back so the two agree.
    std::error_code ignored;
    if (newFolder != oldFolder) fs::rename(newFolder, oldFolder, ignored);
    result.outcome = RenameOutcome::DatabaseFailed;
    result.project = project;
    return result;
  }
  result.outcome = RenameOutcome::Renamed;
  return result;
}

}  // namespace trawlix
