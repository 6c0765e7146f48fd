#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "operations/DataSession.h"
#include "storage/CategoriesRecord.h"
#include "storage/ProjectLinksTable.h"
#include "storage/ProjectValidation.h"
#include "storage/ProjectsRecord.h"
#include "storage/ProjectsTable.h"
#include "storage/ScanHistoryRecord.h"

namespace trawlix {

// Reading. Each returns nothing after the table class reported a database failure.

// Every category, A to Z.
std::optional<std::vector<CategoriesRecord>> LoadCategories(DataSession& session);
// The projects of one category (kAllCategoriesId: all of them), by title A to Z.
std::optional<std::vector<ProjectsRecord>> LoadProjects(DataSession& session, int categoryId);
// One project by id; nothing when there is none (or the database failed).
std::optional<ProjectsRecord> LoadProject(DataSession& session, int id);
// Every project with exactly this title.
std::optional<std::vector<ProjectsRecord>> LoadProjectsByTitle(DataSession& session,
                                                               std::string_view title);
// The projects whose title starts with (or contains) `text`, by title; a "#" in the text is a
// wildcard like "%". `categoryId` limits StartsWithInCategory only.
std::optional<std::vector<ProjectsRecord>> FindProjects(DataSession& session, std::string_view text,
                                                        ProjectNameMatch match,
                                                        int categoryId = kAllCategoriesId);
// A project's links in the list's order, and its scans oldest first.
std::optional<std::vector<ProjectLinksRecord>> LoadProjectLinks(DataSession& session, int projectId,
                                                                LinkOrder order = {});
std::optional<std::vector<ScanHistoryRecord>> LoadScanHistory(DataSession& session, int projectId);
// The number of links of a project; 0 on failure.
int CountProjectLinks(DataSession& session, int projectId);

// Changing. Nothing is written unless every check passed.

enum class TitleRule {
  Any,               // titles may repeat (the desktop editor)
  UniqueInCategory,  // no other project of the category has it (projects named by title)
};

enum class SaveOutcome { Saved, Refused, TitleTaken, DatabaseFailed };

struct ProjectSaveResult {
  SaveOutcome outcome = SaveOutcome::DatabaseFailed;
  std::optional<ProjectProblem> problem;  // set when Refused: the caller shows it
  int id = -1;                            // the project's id when Saved
};

// The editor's checks against the existing categories and the settings' folder option.
std::optional<ProjectProblem> CheckProjectForSave(DataSession& session,
                                                  const ProjectsRecord& record);

// Checks the project, creates its folders and inserts it; the new id when saved.
// What both front ends store: the title and address trimmed, folders absolute and without a
// trailing slash (a path relative to where a command ran means nothing to the window).
ProjectsRecord CleanedProject(ProjectsRecord record);

ProjectSaveResult AddProject(DataSession& session, const ProjectsRecord& record,
                             TitleRule titleRule);
// Checks and stores the edited project. When the start address changed, the project link of
// the old address follows it.
ProjectSaveResult UpdateProject(DataSession& session, const ProjectsRecord& before,
                                const ProjectsRecord& after, TitleRule titleRule);
// Deletes the project with its scan history and links; photos on disk stay.
bool DeleteProject(DataSession& session, int projectId);
bool MoveProjectToCategory(DataSession& session, int projectId, int categoryId);
// Stores a new start address (paste and go); its project link follows as in UpdateProject.
bool SetProjectURL(DataSession& session, const ProjectsRecord& project, const std::string& url);

struct ProjectRename {
  std::string title;
  std::string folderName;  // the save-to folder's new last part
};
enum class RenameOutcome { Renamed, Refused, FolderNotRenamed, DatabaseFailed };
struct ProjectRenameResult {
  RenameOutcome outcome = RenameOutcome::DatabaseFailed;
  std::string message;  // what to tell the user when not Renamed
  ProjectsRecord project;
};
// Renames the project: new title, save-to folder renamed on disk (same parent, new last
// part) and a new name prefix from the title. The folder name must be one plain name.
ProjectRenameResult RenameProject(DataSession& session, const ProjectsRecord& project,
                                  const ProjectRename& rename);

}  // namespace trawlix
