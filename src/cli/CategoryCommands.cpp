// The categories: listing, adding, renaming and deleting, with the category dialog's rules.
#include <map>

#include "base/Text.h"
#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "cli/Lookup.h"
#include "cli/RecordOutput.h"
#include "cli/TextTable.h"
#include "storage/CategoriesTable.h"
#include "storage/ProjectsTable.h"

namespace trawlix::cli {

namespace {

const char* kDatabaseFailure = "the database could not be written";

// Shows the refusal of a name exactly as the category dialog words it.
int Refuse(CliContext& context, const MessageRequest& request) {
  context.messages().Show(request);
  return kExitFailure;
}

int RefuseImportedProjects(CliContext& context, const CCategoriesRecord& category) {
  return context.Fail("the category " + Quoted(category.m_lpszName) +
                      " receives imported projects: it can be neither renamed nor deleted");
}

int ListCategories(CliContext& context, const ParsedArgs& args) {
  if (!context.OpenData()) return kExitFailure;
  const auto categories = AllCategories(context);
  if (!categories) return kExitFailure;
  if (args.Has("--json")) {
    WriteRecordsJson(context.out(), *categories);
    return kExitOk;
  }
  CProjectsTable projects(context.databasePath(), context.messages());
  std::map<int, int> counts;
  if (projects.OpenTable() && projects.LoadAllProjects()) {
    for (const auto& project : projects.Records()) ++counts[project.m_nCatId];
  }
  TextTable output(
      {{"Id", TextTable::Align::Right}, {"Name"}, {"Projects", TextTable::Align::Right}});
  for (const auto& category : *categories) {
    output.AddRow({std::to_string(category.m_lId), category.m_lpszName,
                   std::to_string(counts[category.m_lId])});
  }
  output.Print(context.out());
  return kExitOk;
}

int AddCategory(CliContext& context, const ParsedArgs& args) {
  if (!context.OpenData()) return kExitFailure;
  const std::string name = Trim(args.positionals[0]);
  CCategoriesTable table(context.databasePath(), context.messages());
  if (!table.OpenTable()) return context.Fail(kDatabaseFailure);
  if (const auto refusal = CheckNewCategoryName(table, name)) return Refuse(context, *refusal);
  if (!table.InsertCategory(name)) return context.Fail(kDatabaseFailure);
  context.out() << "Added category " << table.CategoryIdByName(name) << ' ' << Quoted(name)
                << ".\n";
  return kExitOk;
}

int RenameCategory(CliContext& context, const ParsedArgs& args) {
  if (!context.OpenData()) return kExitFailure;
  const auto category = FindCategory(context, args.positionals[0]);
  if (!category) return kExitFailure;
  if (IsImportedProjectsCategory(Trim(category->m_lpszName))) {
    return RefuseImportedProjects(context, *category);
  }
  const std::string name = Trim(args.positionals[1]);
  CCategoriesTable table(context.databasePath(), context.messages());
  if (!table.OpenTable()) return context.Fail(kDatabaseFailure);
  if (const auto refusal = CheckNewCategoryName(table, name)) return Refuse(context, *refusal);
  if (!table.RenameCategory(category->m_lId, name)) return context.Fail(kDatabaseFailure);
  context.out() << "Renamed category " << category->m_lId << ' ' << Quoted(category->m_lpszName)
                << " to " << Quoted(name) << ".\n";
  return kExitOk;
}

// The category that takes the projects of a deleted one: the settings' category for new
// projects, or else the one for imported projects; made when missing, so that no project
// is left without a category.
std::optional<int> HomeForOrphans(CliContext& context, CCategoriesTable& table,
                                  const std::string& deletedName) {
  for (const std::string& name : {context.settings().Values().newProjectCategory,
                                  context.settings().Values().importCategory}) {
    const std::string wanted = Trim(name);
    if (wanted.empty() || EqualsNoCase(wanted, deletedName) || EqualsNoCase(wanted, "all")) {
      continue;
    }
    int id = table.CategoryIdByName(wanted);
    if (id < 0 && table.InsertCategory(wanted)) id = table.CategoryIdByName(wanted);
    if (id >= 0) return id;
  }
  return std::nullopt;
}

int DeleteCategory(CliContext& context, const ParsedArgs& args) {
  if (!context.OpenData()) return kExitFailure;
  const auto category = FindCategory(context, args.positionals[0]);
  if (!category) return kExitFailure;
  if (IsImportedProjectsCategory(Trim(category->m_lpszName))) {
    return RefuseImportedProjects(context, *category);
  }
  CProjectsTable projects(context.databasePath(), context.messages());
  if (!projects.OpenTable() || !projects.LoadCategoryProjects(category->m_lId)) {
    return context.Fail(kDatabaseFailure);
  }
  const std::size_t orphans = projects.Records().size();
  CCategoriesTable table(context.databasePath(), context.messages());
  if (!table.OpenTable()) return context.Fail(kDatabaseFailure);
  std::optional<int> home;
  if (orphans > 0) {
    home = HomeForOrphans(context, table, Trim(category->m_lpszName));
    if (!home)
      return context.Fail("no category could take the projects of " + Quoted(category->m_lpszName) +
                          "; nothing was deleted");
  }
  if (!table.DeleteCategory(category->m_lId)) return context.Fail(kDatabaseFailure);
  if (home && !projects.MoveCategory(category->m_lId, *home)) {
    return context.Fail(kDatabaseFailure);
  }
  context.out() << "Deleted category " << category->m_lId << ' ' << Quoted(category->m_lpszName);
  if (home)
    context.out() << "; its " << orphans << " project(s) moved to "
                  << Quoted(table.CategoryNameById(*home));
  context.out() << ".\n";
  return kExitOk;
}

}  // namespace

void RegisterCategoryCommands(CommandRegistry& registry) {
  registry.Add({"categories",
                "[--json]",
                "List the categories, A to Z, with their number of projects.",
                {JsonOption()},
                0,
                0,
                ListCategories});
  registry.Add({"category add", "NAME", "Add a category.", {}, 1, 1, AddCategory});
  registry.Add(
      {"category rename", "NAME|ID NEW-NAME", "Rename a category.", {}, 2, 2, RenameCategory});
  registry.Add({"category delete",
                "NAME|ID",
                "Delete a category; its projects move to the category for new projects.",
                {},
                1,
                1,
                DeleteCategory});
}

}  // namespace trawlix::cli
