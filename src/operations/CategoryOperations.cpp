#include "operations/CategoryOperations.h"

#include "base/Text.h"
#include "storage/CategoriesTable.h"
#include "storage/DatabaseError.h"
#include "storage/ProjectsTable.h"

namespace trawlix {

namespace {

// The category that takes the projects of deleted ones: the settings' category for new
// projects, else the one for imported projects; made when missing.
std::optional<int> HomeForOrphans(DataSession& session, CategoriesTable& table,
                                  const std::vector<std::string>& deletedNames) {
  const SettingsValues& values = session.settings().Values();
  for (const std::string& name : {values.newProjectCategory, values.importCategory}) {
    const std::string wanted = Trim(name);
    bool deleted = false;
    for (const auto& gone : deletedNames) deleted = deleted || EqualsNoCase(gone, wanted);
    if (wanted.empty() || deleted || EqualsNoCase(wanted, kAllCategoriesName)) continue;
    int id = table.CategoryIdByName(wanted);
    if (id < 0 && table.InsertCategory(wanted)) id = table.CategoryIdByName(wanted);
    if (id >= 0) return id;
  }
  return std::nullopt;
}

}  // namespace

bool IsLockedCategory(std::string_view name) {
  return IsImportedProjectsCategory(Trim(name));
}

CategoryChange AddCategory(DataSession& session, std::string_view name) {
  CategoryChange change;
  const std::string trimmed = Trim(name);
  CategoriesTable table(session.databasePath(), session.messages());
  if (!table.OpenTable()) {
    change.failed = true;
    return change;
  }
  change.refusal = CheckNewCategoryName(table, trimmed);
  if (change.refusal) return change;
  change.failed = !table.InsertCategory(trimmed);
  if (!change.failed) change.id = table.CategoryIdByName(trimmed);
  return change;
}

CategoryChange RenameCategory(DataSession& session, int categoryId, std::string_view name) {
  CategoryChange change;
  const std::string trimmed = Trim(name);
  CategoriesTable table(session.databasePath(), session.messages());
  if (!table.OpenTable()) {
    change.failed = true;
    return change;
  }
  if (IsLockedCategory(table.CategoryNameById(categoryId))) {
    change.refusal = MessageRequest{"The category '" + std::string(kImportedProjectsCategory) +
                                    "' receives imported projects and cannot be renamed."};
    return change;
  }
  // Changing only the letter case of its own name is no duplicate.
  if (!EqualsNoCase(table.CategoryNameById(categoryId), trimmed) || trimmed.empty()) {
    change.refusal = CheckNewCategoryName(table, trimmed);
    if (change.refusal) return change;
  }
  change.failed = !table.RenameCategory(categoryId, trimmed);
  if (!change.failed) change.id = categoryId;
  return change;
}

CategoryRemoval DeleteCategories(DataSession& session, const std::vector<int>& categoryIds) {
  CategoryRemoval removal;
  CategoriesTable categories(session.databasePath(), session.messages());
  ProjectsTable projects(session.databasePath(), session.messages());
  if (!categories.OpenTable() || !projects.OpenTable()) return removal;
  std::vector<int> ids;
  std::vector<std::string> names;
  for (int id : categoryIds) {
    const std::string name = categories.CategoryNameById(id);
    if (name.empty() || IsLockedCategory(name)) continue;
    ids.push_back(id);
    names.push_back(Trim(name));
  }
  if (ids.empty()) {
    removal.done = true;
    return removal;
  }
  std::size_t orphans = 0;
  for (int id : ids) {
    if (!projects.LoadCategoryProjects(id)) return removal;
    orphans += projects.Records().size();
  }
  // Empty categories just go; projects need a category to go to.
  std::optional<int> home;
  if (orphans > 0) {
    home = HomeForOrphans(session, categories, names);
    if (!home) return removal;
    removal.homeId = *home;
  }
  // Both tables share one file: the moves and the deletes commit together or not at all.
  try {
    projects.ExecuteUpdate("BEGIN TRANSACTION;");
    for (int id : ids) {
      if (home && !projects.MoveCategory(id, *home)) {
        throw DatabaseError(-1, "moving projects failed");
      }
      projects.ExecuteUpdate("DELETE FROM Categories WHERE Id=" + std::to_string(id) + ";");
    }
    projects.ExecuteUpdate("COMMIT;");
    removal.movedProjects = orphans;
  } catch (const DatabaseError&) {
    try {
      projects.ExecuteUpdate("ROLLBACK;");
    } catch (const DatabaseError&) {
    }
    return removal;
  }
  removal.done = true;
  return removal;
}

}  // namespace trawlix
