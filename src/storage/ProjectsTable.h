#pragma once

#include <string>
#include <string_view>

#include "storage/ProjectsRecord.h"
#include "storage/RecordTable.h"

namespace trawlix {

enum class ProjectNameMatch { StartsWith, StartsWithInCategory, Contains };

// The Projects table. Open it for one user action, use it, let it go.
class ProjectsTable : public RecordTable<ProjectsRecord> {
 public:
  static constexpr std::string_view kTableName = "Projects";
  static const std::string_view kCreateStatement;

  ProjectsTable(std::string databasePath, MessageSink& messages);

  // False when the file cannot be opened or the table cannot be made.
  bool OpenTable();
  // Runs a SELECT over Projects and caches its rows; current index 0 afterwards.
  bool LoadProjects(const std::string& sql);

  bool LoadAllProjects();
  bool LoadCategoryProjects(int categoryId);
  bool LoadProjectById(int id);
  // Duplicate check within a category.
  bool LoadByCategoryAndTitle(int categoryId, std::string_view title);
  bool LoadByTitleAndCategory(std::string_view title, int categoryId);
  bool LoadByTitle(std::string_view title);
  // Find by name; `categoryId` is used by StartsWithInCategory only.
  bool FindProjectsByName(std::string_view text, ProjectNameMatch match, int categoryId = -1);

  // The record's Id is ignored and not updated: load the project again to learn it.
  bool InsertProject(const ProjectsRecord& record);
  bool UpdateProject(const ProjectsRecord& record);
  bool DeleteProject(int id);
  // Moves every project of one category to another.
  bool MoveCategory(int oldCategoryId, int newCategoryId);
  // 0 on failure.
  int CountProjects();
};

// Deletes a project's scan history, then its links, then the project itself, stopping at the
// first failure so that nothing is removed after an error. Photos on disk stay.
bool DeleteProjectWithHistory(const std::string& databasePath, MessageSink& messages,
                              int projectId);

}  // namespace trawlix
