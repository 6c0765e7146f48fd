// The listings: projects, a project's links and its scan history.
#include <map>

#include "base/Number.h"
#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "cli/Lookup.h"
#include "cli/RecordOutput.h"
#include "cli/TextTable.h"
#include "operations/ProjectOperations.h"

namespace trawlix::cli {

namespace {

using Align = TextTable::Align;

int ListProjects(CliContext& context, const ParsedArgs& args) {
  if (!context.OpenData()) return kExitFailure;
  const auto categories = AllCategories(context);
  if (!categories) return kExitFailure;
  std::map<int, std::string> categoryNames;
  for (const auto& category : *categories) categoryNames[category.id] = category.name;

  int categoryId = kAllCategoriesId;
  const auto filter = args.Value("--category");
  if (filter && !EqualsNoCase(Trim(*filter), "all")) {
    const auto category = FindCategory(context, *filter);
    if (!category) return kExitFailure;
    categoryId = category->id;
  }
  const auto loaded = LoadProjects(context.session(), categoryId);
  if (!loaded) return context.Fail("the database could not be read");
  const auto& projects = *loaded;

  if (args.Has("--json")) {
    WriteRecordsJson(context.out(), projects);
    return kExitOk;
  }
  TextTable output({{"Id", Align::Right}, {"Title"}, {"Category"}, {"URL"}});
  for (const auto& project : projects) {
    const auto name = categoryNames.find(project.catId);
    output.AddRow({std::to_string(project.id), project.title,
                   name == categoryNames.end() ? "" : name->second, project.url});
  }
  output.Print(context.out());
  return kExitOk;
}

int ListLinks(CliContext& context, const ParsedArgs& args) {
  if (!context.OpenData()) return kExitFailure;
  const auto project = FindProject(context, args.positionals[0]);
  if (!project) return kExitFailure;
  const auto loaded = LoadProjectLinks(context.session(), project->id);
  if (!loaded) return context.Fail("the database could not be read");
  const auto& links = *loaded;
  if (args.Has("--json")) {
    WriteRecordsJson(context.out(), links);
    return kExitOk;
  }
  TextTable output({{"Id", Align::Right},
                    {"Date"},
                    {"Photos", Align::Right},
                    {"Sub-pages"},
                    {"URL"},
                    {"Keywords"}});
  for (const auto& link : links) {
    output.AddRow({std::to_string(link.id), link.date, FormatThousands(link.photos),
                   link.searchSubFolders ? "yes" : "no", link.url, link.keywords});
  }
  output.Print(context.out());
  return kExitOk;
}

int ListHistory(CliContext& context, const ParsedArgs& args) {
  if (!context.OpenData()) return kExitFailure;
  const auto project = FindProject(context, args.positionals[0]);
  if (!project) return kExitFailure;
  const auto loaded = LoadScanHistory(context.session(), project->id);
  if (!loaded) return context.Fail("the database could not be read");
  const auto& scans = *loaded;
  if (args.Has("--json")) {
    WriteRecordsJson(context.out(), scans);
    return kExitOk;
  }
  TextTable output({{"Id", Align::Right},
                    {"Date"},
                    {"Time", Align::Right},
                    {"Pages", Align::Right},
                    {"Photos", Align::Right},
                    {"Saved", Align::Right},
                    {"Skipped", Align::Right},
                    {"Downloaded", Align::Right},
                    {"URL"}});
  for (const auto& scan : scans) {
    output.AddRow({std::to_string(scan.id), scan.scanDate, scan.totalTime,
                   FormatThousands(scan.pages), FormatThousands(scan.totalImages),
                   FormatThousands(scan.savedImages), FormatThousands(scan.skippedImages),
                   ByteSizeText(scan.totalBytes), scan.url});
  }
  output.Print(context.out());
  return kExitOk;
}

}  // namespace

void RegisterListCommands(CommandRegistry& registry) {
  registry.Add({"projects",
                "[--category NAME] [--json]",
                "List the projects, A to Z, of every category or of one.",
                {{"--category", true, "NAME"}, JsonOption()},
                0,
                0,
                ListProjects});
  registry.Add(
      {"links", "ID|TITLE [--json]", "List a project's links.", {JsonOption()}, 1, 1, ListLinks});
  registry.Add({"history",
                "ID|TITLE [--json]",
                "List a project's scans, oldest first.",
                {JsonOption()},
                1,
                1,
                ListHistory});
}

}  // namespace trawlix::cli
