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
std::optional<std::vector<CProjectsRecord>> LoadProjectsWith(DataSession& session, Load load) {
  CProjectsTable table(session.databasePath(), session.messages());
  if (!table.OpenTable() || !load(table)) return std::nullopt;
  return HandOutRecords(table);
}

bool TitleTakenInCategory(DataSession& session, const CProjectsRecord& record) {
  const auto others = LoadProjectsWith(session, [&](CProjectsTable& table) {
    return table.LoadByCategoryAndTitle(record.m_nCatId, record.m_lpszTitle);
  });
  return others && std::any_of(others->begin(), others->end(), [&](const CProjectsRecord& other) {
           return other.m_nId != record.m_nId;
         });
}

// An insert does not report the row's id: the newest project of that title in that category.
int NewProjectId(DataSession& session, const CProjectsRecord& record) {
  const auto matches = LoadProjectsWith(session, [&](CProjectsTable& table) {
    return table.LoadByCategoryAndTitle(record.m_nCatId, record.m_lpszTitle);
  });
  int id = -1;
  if (matches) {
    for (const auto& match : *matches) id = std::max(id, match.m_nId);
  }
  return id;
}

// The checks, the title rule and the folders, in that order; nothing when the project may
// be stored.
std::optional<ProjectSaveResult> Refusal(DataSession& session, const CProjectsRecord& record,
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
  CProjectLinksTable links(session.databasePath(), session.messages());
  CProjectLinksRecord link;
  if (links.OpenTable() && links.LoadLinkByURL(projectId, oldURL) && links.GetCurrent(link)) {
    link.m_lpszURL = newURL;
    links.UpdateProjectLink(link);
  }
}

bool StoreUpdate(DataSession& session, const CProjectsRecord& record) {
  CProjectsTable table(session.databasePath(), session.messages());
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

std::optional<std::vector<CCategoriesRecord>> LoadCategories(DataSession& session) {
  CCategoriesTable table(session.databasePath(), session.messages());
  if (!table.OpenTable() || !table.LoadAllCategories()) return std::nullopt;
  return HandOutRecords(table);
}

std::optional<std::vector<CProjectsRecord>> LoadProjects(DataSession& session, int categoryId) {
  return LoadProjectsWith(session, [categoryId](CProjectsTable& table) {
    return categoryId == kAllCategoriesId ? table.LoadAllProjects()
                                          : table.LoadCategoryProjects(categoryId);
  });
}

std::optional<CProjectsRecord> LoadProject(DataSession& session, int id) {
  const auto found =
      LoadProjectsWith(session, [id](CProjectsTable& table) { return table.LoadProjectById(id); });
  if (!found || found->empty()) return std::nullopt;
  return found->front();
}

std::optional<std::vector<CProjectsRecord>> LoadProjectsByTitle(DataSession& session,
                                                                std::string_view title) {
  return LoadProjectsWith(session,
                          [title](CProjectsTable& table) { return table.LoadByTitle(title); });
}

std::optional<std::vector<CProjectsRecord>> FindProjects(DataSession& session,
                                                         std::string_view text,
                                                         ProjectNameMatch match, int categoryId) {
  return LoadProjectsWith(session, [&](CProjectsTable& table) {
    return table.FindProjectsByName(text, match, categoryId);
  });
}

std::optional<std::vector<CProjectLinksRecord>> LoadProjectLinks(DataSession& session,
                                                                 int projectId, LinkOrder order) {
  CProjectLinksTable table(session.databasePath(), session.messages());
  if (!table.OpenTable() || !table.LoadLinksSorted(projectId, order.column, order.ascending)) {
    return std::nullopt;
  }
  return HandOutRecords(table);
}

std::optional<std::vector<CScanHistoryRecord>> LoadScanHistory(DataSession& session,
                                                               int projectId) {
  CScanHistoryTable table(session.databasePath(), session.messages());
  if (!table.OpenTable() || !table.LoadProjectHistory(projectId)) return std::nullopt;
  return HandOutRecords(table);
}

int CountProjectLinks(DataSession& session, int projectId) {
  CProjectLinksTable table(session.databasePath(), session.messages());
  return table.OpenTable() ? table.CountLinks(projectId) : 0;
}

std::optional<ProjectProblem> CheckProjectForSave(DataSession& session,
                                                  const CProjectsRecord& record) {
  ProjectCheckOptions options;
  if (const auto categories = LoadCategories(session)) {
    for (const auto& category : *categories) options.categoryIds.push_back(category.m_lId);
  }
  options.createMissingFolders = session.settings().Values().autoCreateFolders != 0;
  return CheckProject(record, options);
}

ProjectSaveResult AddProject(DataSession& session, const CProjectsRecord& record,
                             TitleRule titleRule) {
  if (auto refusal = Refusal(session, record, titleRule == TitleRule::UniqueInCategory)) {
    return *refusal;
  }
  CProjectsTable table(session.databasePath(), session.messages());
  if (!table.OpenTable() || !table.InsertProject(record)) return {};
  return {SaveOutcome::Saved, std::nullopt, NewProjectId(session, record)};
}

ProjectSaveResult UpdateProject(DataSession& session, const CProjectsRecord& before,
                                const CProjectsRecord& after, TitleRule titleRule) {
  const bool renamed = after.m_lpszTitle != before.m_lpszTitle || after.m_nCatId != before.m_nCatId;
  if (auto refusal = Refusal(session, after, renamed && titleRule == TitleRule::UniqueInCategory)) {
    return *refusal;
  }
  if (!StoreUpdate(session, after)) return {};
  MoveStartLink(session, after.m_nId, before.m_lpszURL, after.m_lpszURL);
  return {SaveOutcome::Saved, std::nullopt, after.m_nId};
}

bool DeleteProject(DataSession& session, int projectId) {
  return DeleteProjectWithHistory(session.databasePath(), session.messages(), projectId);
}

bool MoveProjectToCategory(DataSession& session, int projectId, int categoryId) {
  auto project = LoadProject(session, projectId);
  if (!project) return false;
  project->m_nCatId = categoryId;
  return StoreUpdate(session, *project);
}

bool SetProjectURL(DataSession& session, const CProjectsRecord& project, const std::string& url) {
  CProjectsRecord changed = project;
  changed.m_lpszURL = Trim(url);
  if (!StoreUpdate(session, changed)) return false;
  MoveStartLink(session, project.m_nId, project.m_lpszURL, changed.m_lpszURL);
  return true;
}

ProjectRenameResult RenameProject(DataSession& session, const CProjectsRecord& project,
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
  const fs::path oldFolder = NormalizeFolderPath(project.m_lpszSaveTo, TrailingSlash::Remove);
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
  result.project.m_lpszTitle = title;
  result.project.m_lpszSaveTo = newFolder.string();
  for (std::string* folder :
       {&result.project.m_lpszThumbnailSaveTo, &result.project.m_lpszMobileSaveTo}) {
    *folder = FollowRename(*folder, oldFolder, newFolder);
  }
  result.project.m_lpszNamePrefix = DefaultNamePrefix(title);
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
