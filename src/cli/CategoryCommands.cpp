// The categories: listing, adding, renaming and deleting, with the category dialog's rules.
#include <map>

#include "base/Text.h"
#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "cli/Lookup.h"
#include "cli/RecordOutput.h"
#include "cli/TextTable.h"
#include "operations/CategoryOperations.h"
#include "operations/ProjectOperations.h"

namespace trawlix::cli {

namespace {

const char* kDatabaseFailure = "the database could not be written";

// Shows the refusal of a name exactly as the category dialog words it.
int Refuse(CliContext& context, const MessageRequest& request) {
  context.messages().Show(request);
  return kExitFailure;
}

int RefuseImportedProjects(CliContext& context, const CategoriesRecord& category) {
  return context.Fail("the category " + Quoted(category.name) +
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
  std::map<int, int> counts;
  for (const auto& project :
       LoadProjects(context.session(), kAllCategoriesId).value_or(std::vector<ProjectsRecord>{})) {
    ++counts[project.catId];
  }
  TextTable output(
      {{"Id", TextTable::Align::Right}, {"Name"}, {"Projects", TextTable::Align::Right}});
  for (const auto& category : *categories) {
    output.AddRow(
        {std::to_string(category.id), category.name, std::to_string(counts[category.id])});
  }
  output.Print(context.out());
  return kExitOk;
}

int AddCategory(CliContext& context, const ParsedArgs& args) {
  if (!context.OpenData()) return kExitFailure;
  const std::string name = Trim(args.positionals[0]);
  const CategoryChange change = trawlix::AddCategory(context.session(), name);
  if (change.refusal) return Refuse(context, *change.refusal);
  if (change.failed) return context.Fail(kDatabaseFailure);
  context.out() << "Added category " << change.id << ' ' << Quoted(name) << ".\n";
  return kExitOk;
}

int RenameCategory(CliContext& context, const ParsedArgs& args) {
  if (!context.OpenData()) return kExitFailure;
  const auto category = FindCategory(context, args.positionals[0]);
  if (!category) return kExitFailure;
  if (IsLockedCategory(category->name)) return RefuseImportedProjects(context, *category);
  const std::string name = Trim(args.positionals[1]);
  const CategoryChange change = trawlix::RenameCategory(context.session(), category->id, name);
  if (change.refusal) return Refuse(context, *change.refusal);
  if (change.failed) return context.Fail(kDatabaseFailure);
  context.out() << "Renamed category " << category->id << ' ' << Quoted(category->name) << " to "
                << Quoted(name) << ".\n";
  return kExitOk;
}

int DeleteCategory(CliContext& context, const ParsedArgs& args) {
  if (!context.OpenData()) return kExitFailure;
  const auto category = FindCategory(context, args.positionals[0]);
  if (!category) return kExitFailure;
  if (IsLockedCategory(category->name)) return RefuseImportedProjects(context, *category);
  const CategoryRemoval removal = DeleteCategories(context.session(), {category->id});
  if (!removal.done) {
    return context.Fail("the category " + Quoted(category->name) +
                        " could not be deleted; nothing was changed");
  }
  context.out() << "Deleted category " << category->id << ' ' << Quoted(category->name);
  if (removal.movedProjects > 0) {
    const auto categories = AllCategories(context);
    std::string home = std::to_string(removal.homeId);
    for (const auto& other : categories.value_or(std::vector<CategoriesRecord>{})) {
      if (other.id == removal.homeId) home = other.name;
    }
    context.out() << "; its " << removal.movedProjects << " project(s) moved to " << Quoted(home);
  }
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
