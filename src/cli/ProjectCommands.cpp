// One project: show, add, set and delete. Adding and changing run the project editor's checks.
#include <algorithm>
#include <filesystem>

#include "base/Path.h"
#include "base/Text.h"
#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "cli/Lookup.h"
#include "cli/RecordOutput.h"
#include "cli/TextTable.h"
#include "frontend/Rendering.h"
#include "operations/ProjectOperations.h"
#include "storage/ProjectDefaults.h"
#include "storage/ProjectRendering.h"

namespace trawlix::cli {

namespace {

const char* kDatabaseFailure = "the database could not be written";
// Kept beside the project's own fields, in a table of its own.
constexpr std::string_view kRenderField = "Render";

std::string RenderText(RenderMode mode) {
  std::string text(RenderModeName(mode));
  if (!RenderingBuilt()) text += " (rendering is not available in this build)";
  return text;
}

// What FIELD=VALUE assignments change: the record, and the rendering choice beside it.
struct ProjectChange {
  ProjectsRecord record;
  std::optional<RenderMode> render;
};

// Applies one FIELD=VALUE; false after reporting what is wrong with it.
bool ApplyAssignment(CliContext& context, ProjectChange& change, const std::string& text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string::npos || equals == 0) {
    context.Fail("expected FIELD=VALUE, not " + Quoted(text));
    return false;
  }
  const std::string field = text.substr(0, equals);
  std::string value = text.substr(equals + 1);
  if (EqualsNoCase(field, kRenderField)) {
    change.render = ParseRenderMode(Trim(value));
    if (!change.render) context.Fail("Render takes auto, always or never, not " + Quoted(value));
    return change.render.has_value();
  }
  ProjectsRecord& record = change.record;
  const auto* column = FindColumn<ProjectsRecord>(field);
  if (column == nullptr) {
    context.Fail("no project field is named " + Quoted(field) +
                 " (the fields are the column names that 'project show' lists)");
    return false;
  }
  if (column->name == "Id") {
    context.Fail("a project's Id is given by the database and cannot be set");
    return false;
  }
  if (column->kind == ColumnKind::Text) {
    if (auto problem = CheckColumnText(column->name, value)) {
      context.Fail(*problem);
      return false;
    }
  }
  std::string error;
  if (!SetColumnFromText(record, column->name, value, error)) {
    context.Fail(error);
    return false;
  }
  if (column->kind == ColumnKind::Integer) {
    if (auto problem = CheckColumnValue(column->name, record.*column->integer)) {
      context.Fail(*problem);
      return false;
    }
  }
  return true;
}

bool ApplyAssignments(CliContext& context, ProjectChange& change,
                      const std::vector<std::string>& assignments) {
  for (const auto& assignment : assignments) {
    if (!ApplyAssignment(context, change, assignment)) return false;
  }
  return true;
}

bool SaveRendering(CliContext& context, int projectId, const ProjectChange& change) {
  if (!change.render || SaveRenderMode(context.session().databasePath(), projectId, *change.render))
    return true;
  context.Fail(kDatabaseFailure);
  return false;
}

bool ApplyCategoryOption(CliContext& context, ProjectsRecord& record, const ParsedArgs& args) {
  const auto name = args.Value("--category");
  if (!name) return true;
  const auto category = FindCategory(context, *name);
  if (!category) return false;
  record.catId = category->id;
  return true;
}

// Stores the project through the editor's checks; false after saying what is wrong.
bool Saved(CliContext& context, const ProjectsRecord& record, const ProjectSaveResult& result) {
  switch (result.outcome) {
    case SaveOutcome::Saved:
      return true;
    case SaveOutcome::Refused:
      context.messages().Inform(result.problem->message);
      return false;
    case SaveOutcome::TitleTaken:
      context.Fail("a project titled " + Quoted(record.title) + " exists in that category already");
      return false;
    case SaveOutcome::DatabaseFailed:
      break;
  }
  context.Fail(kDatabaseFailure);
  return false;
}

int ShowProject(CliContext& context, const ParsedArgs& args) {
  if (!context.OpenData()) return kExitFailure;
  const auto project = FindProject(context, args.positionals[0]);
  if (!project) return kExitFailure;
  const RenderMode render = LoadRenderMode(context.session().databasePath(), project->id);
  if (args.Has("--json")) {
    JsonObject object = RecordToJson(*project);
    object.emplace_back(std::string(kRenderField), std::string(RenderModeName(render)));
    WriteJsonObject(context.out(), object);
    return kExitOk;
  }
  const auto categories = AllCategories(context);
  if (!categories) return kExitFailure;
  TextTable output({{"Field"}, {"Value"}});
  for (const auto& column : kProjectsColumns) {
    std::string value = ColumnValueText(*project, column);
    if (column.name == "CatId") {
      for (const auto& category : *categories) {
        if (category.id == project->catId) value += " (" + category.name + ")";
      }
    }
    output.AddRow({std::string(column.name), value});
  }
  output.AddRow({std::string(kRenderField), RenderText(render)});
  output.Print(context.out());
  return kExitOk;
}

int AddProject(CliContext& context, const ParsedArgs& args) {
  if (!context.OpenData()) return kExitFailure;
  const auto categories = AllCategories(context);
  if (!categories) return kExitFailure;
  const SettingsValues& settings = context.settings().Values();
  ProjectChange change{NewProjectRecord(settings, *categories), std::nullopt};
  ProjectsRecord& record = change.record;
  // The options are assignments like any other, checked the same way.
  std::vector<std::string> assignments;
  for (const auto& [option, field] :
       {std::pair{"--title", "Title="}, {"--url", "URL="}, {"--save-to", "SaveTo="}}) {
    if (const auto value = args.Value(option)) assignments.push_back(field + *value);
  }
  assignments.insert(assignments.end(), args.positionals.begin(), args.positionals.end());
  if (!ApplyCategoryOption(context, record, args) ||
      !ApplyAssignments(context, change, assignments)) {
    return kExitFailure;
  }
  record = CleanedProject(record);  // the title names the default folder
  const bool saveToGiven = std::any_of(assignments.begin(), assignments.end(), [](const auto& a) {
    return EqualsNoCase(a.substr(0, 7), "SaveTo=");
  });
  if (!saveToGiven) record.saveTo = DefaultSaveTo(settings, record.title);
  CompleteNewProject(record, settings);
  const ProjectSaveResult result =
      AddProject(context.session(), record, TitleRule::UniqueInCategory);
  if (!Saved(context, record, result) || !SaveRendering(context, result.id, change))
    return kExitFailure;
  context.out() << "Added project " << result.id << ' ' << Quoted(record.title) << ".\n";
  return kExitOk;
}

int SetProject(CliContext& context, const ParsedArgs& args) {
  if (!context.OpenData()) return kExitFailure;
  if (args.positionals.size() < 2 && !args.Has("--category")) {
    context.Fail("project set: nothing to change (give FIELD=VALUE or --category NAME)");
    return kExitUsage;
  }
  const auto before = FindProject(context, args.positionals[0]);
  if (!before) return kExitFailure;
  ProjectChange change{*before, std::nullopt};
  ProjectsRecord& record = change.record;
  const std::vector<std::string> assignments(args.positionals.begin() + 1, args.positionals.end());
  if (!ApplyCategoryOption(context, record, args) ||
      !ApplyAssignments(context, change, assignments)) {
    return kExitFailure;
  }
  record = CleanedProject(record);
  if (!Saved(context, record,
             UpdateProject(context.session(), *before, record, TitleRule::UniqueInCategory)) ||
      !SaveRendering(context, record.id, change)) {
    return kExitFailure;
  }
  context.out() << "Updated project " << record.id << ' ' << Quoted(record.title) << ".\n";
  return kExitOk;
}

int DeleteProject(CliContext& context, const ParsedArgs& args) {
  if (!context.OpenData()) return kExitFailure;
  const auto project = FindProject(context, args.positionals[0]);
  if (!project) return kExitFailure;
  if (!DeleteProject(context.session(), project->id)) {
    return context.Fail(kDatabaseFailure);
  }
  context.out() << "Deleted project " << project->id << ' ' << Quoted(project->title)
                << " with its links and scan history; downloaded photos are kept.\n";
  return kExitOk;
}

}  // namespace

void RegisterProjectCommands(CommandRegistry& registry) {
  registry.Add({"project show",
                "ID|TITLE [--json]",
                "Show every field of a project.",
                {JsonOption()},
                1,
                1,
                ShowProject});
  registry.Add({"project add",
                "--title T --url U [--category C] [--save-to DIR] [FIELD=VALUE ...]",
                "Add a project; unset fields take the settings' new-project defaults.",
                {{"--title", true, "T"},
                 {"--url", true, "U"},
                 {"--category", true, "C"},
                 {"--save-to", true, "DIR"}},
                0,
                kAnyCount,
                AddProject});
  registry.Add({"project set",
                "ID|TITLE [--category C] FIELD=VALUE ...",
                "Change fields of a project (FIELD is a field name from 'project show'; "
                "Render=auto|always|never renders pages with scripts).",
                {{"--category", true, "C"}},
                1,
                kAnyCount,
                SetProject});
  registry.Add({"project delete",
                "ID|TITLE",
                "Delete a project with its scan history and links; photos stay on disk.",
                {},
                1,
                1,
                DeleteProject});
}

}  // namespace trawlix::cli
