// Exchange files: export projects to a file, list a file's contents, import its projects.
#include <filesystem>

#include "base/Number.h"
#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "cli/Lookup.h"
#include "cli/TextTable.h"
#include "exchange/ProjectExporter.h"
#include "exchange/ProjectImporter.h"

namespace trawlix::cli {

namespace {

using Align = TextTable::Align;
using namespace trawlix::exchange;

int ExportCommand(CliContext& context, const ParsedArgs& args) {
  const auto target = args.Value("--to");
  if (!target) {
    context.Fail("export: --to FILE is required");
    return kExitUsage;
  }
  if (!context.OpenData()) return kExitFailure;

  ExportRequest request = ExportRequestFromSettings(context.settings());
  request.target = *target;
  request.description = args.Value("--description").value_or("");
  request.includeMyInfo = args.Has("--include-my-info");
  request.photoPath = args.Value("--photo").value_or("");
  std::error_code error;
  if (!request.photoPath.empty() && !std::filesystem::is_regular_file(request.photoPath, error)) {
    return context.Fail("export: no photo file " + request.photoPath);
  }
  for (const std::string& idOrTitle : args.positionals) {
    const auto project = FindProject(context, idOrTitle);
    if (!project) return kExitFailure;
    request.projectIds.push_back(project->id);
  }

  const DataFolderLayout& paths = context.settings().Paths();
  ProjectExporter exporter(paths.databasePath, paths.tempFolder, context.messages());
  const ExportResult result = exporter.Export(request);
  if (!result.ok) return context.Fail(result.message);
  context.out() << result.message << '\n';
  return kExitOk;
}

// The exporter's name, e-mail address and website, as far as the file gives them.
std::string CreatedBy(const ExchangeHeader& h) {
  std::string text;
  for (const std::string* part : {&h.name, &h.emailAddress, &h.website}) {
    if (part->empty()) continue;
    if (!text.empty()) text += ", ";
    text += *part;
  }
  return text.empty() ? "(not given)" : text;
}

void PrintFileContents(CliContext& context, const ExchangeFile& file, bool json) {
  const ExchangeHeader& h = file.header;
  if (json) {
    std::vector<JsonObject> projects;
    for (const ImportedProject& p : file.projects) {
      projects.push_back({{"Project", p.title},
                          {"Links", std::int64_t{p.numLinks}},
                          {"Photos", std::int64_t{p.numPhotos}},
                          {"Category", p.category},
                          {"URL", p.url}});
    }
    WriteJsonObject(context.out(), {{"Date", h.date},
                                    {"Projects", std::int64_t{h.projects}},
                                    {"Description", h.description},
                                    {"Name", h.name},
                                    {"EmailAddress", h.emailAddress},
                                    {"Website", h.website},
                                    {"Photo", std::int64_t{file.photo.empty() ? 0 : 1}}});
    WriteJsonArray(context.out(), projects);
    return;
  }
  std::ostream& out = context.out();
  out << "Date:        " << h.date << '\n'
      << "Projects:    " << FormatThousands(h.projects) << '\n'
      << "Description: " << h.description << '\n'
      << "Created by:  " << CreatedBy(h) << '\n'
      << "Photo:       " << (file.photo.empty() ? "none" : "included") << "\n\n";
  TextTable table({{"Project"}, {"Links", Align::Right}, {"Photos", Align::Right}, {"Category"}});
  for (const ImportedProject& p : file.projects) {
    table.AddRow({p.title, FormatThousands(p.numLinks), FormatThousands(p.numPhotos), p.category});
  }
  table.Print(out);
}

void PrintResults(CliContext& context, const ImportSummary& summary, bool json) {
  if (json) {
    std::vector<JsonObject> rows;
    for (const ImportResultRow& row : summary.rows) {
      rows.push_back({{"Project", row.title},
                      {"Action", std::string(row.action.Name())},
                      {"Kind", std::string(ImportResultKindName(row.kind))},
                      {"Result", row.message}});
    }
    WriteJsonArray(context.out(), rows);
    return;
  }
  TextTable table({{"Project"}, {"Action"}, {"Result"}});
  for (const ImportResultRow& row : summary.rows) {
    table.AddRow({row.title, row.action.Name(), row.message});
  }
  table.Print(context.out());
  if (summary.categoriesCreated) context.out() << "New categories were created.\n";
}

// Contradicting or unknown option values; false after reporting them.
bool CheckImportFlags(CliContext& context, const ParsedArgs& args) {
  if (args.Has("--category") && args.Has("--use-file-categories")) {
    context.Fail("import: --category and --use-file-categories exclude each other");
    return false;
  }
  const auto duplicates = args.Value("--duplicates");
  if (duplicates && *duplicates != "merge" && *duplicates != "skip") {
    context.Fail("import: --duplicates takes merge or skip, not '" + *duplicates + "'");
    return false;
  }
  return true;
}

// The settings' import choices, overridden by the command line.
std::optional<ImportOptions> ReadImportOptions(CliContext& context, const ParsedArgs& args) {
  ImportOptions options = ImportOptionsFromSettings(context.settings().Values());
  if (const auto category = args.Value("--category")) {
    const auto found = FindCategory(context, *category);
    if (!found) return std::nullopt;
    options.target = ImportTarget::SelectedCategory;
    options.categoryName = found->name;
  } else if (args.Has("--use-file-categories")) {
    options.target = ImportTarget::FileCategory;
  }
  if (const auto duplicates = args.Value("--duplicates")) {
    options.duplicates =
        *duplicates == "merge" ? DuplicateHandling::MergeLinks : DuplicateHandling::DontImport;
  }
  return options;
}

int ImportCommand(CliContext& context, const ParsedArgs& args) {
  if (!CheckImportFlags(context, args)) return kExitUsage;
  if (!context.OpenData()) return kExitFailure;
  const auto file = OpenImportFile(args.positionals[0], context.messages());
  if (!file) return kExitFailure;
  const bool json = args.Has("--json");
  if (args.Has("--list")) {
    PrintFileContents(context, *file, json);
    return kExitOk;
  }
  const auto options = ReadImportOptions(context, args);
  if (!options) return kExitFailure;
  ProjectImporter importer(context.databasePath(), context.settings().Values(), context.messages());
  const ImportSummary summary = importer.Import(file->projects, *options);
  PrintResults(context, summary, json);
  for (const ImportResultRow& row : summary.rows) {
    if (row.kind == ImportResultKind::Failed) return kExitFailure;
  }
  return kExitOk;
}

}  // namespace

void RegisterExchangeCommands(CommandRegistry& registry) {
  registry.Add({"export",
                "ID|TITLE... --to FILE [--description TEXT] [--photo FILE] [--include-my-info]",
                "Write projects with their links to an exchange file (.txexport).",
                {{"--to", true, "FILE"},
                 {"--description", true, "TEXT"},
                 {"--photo", true, "FILE"},
                 {"--include-my-info", false, {}}},
                1,
                kAnyCount,
                ExportCommand});
  registry.Add({"import",
                "FILE [--category NAME | --use-file-categories] [--duplicates merge|skip] "
                "[--list] [--json]",
                "Import the projects of an exchange file, or --list what it holds.",
                {{"--category", true, "NAME"},
                 {"--use-file-categories", false, {}},
                 {"--duplicates", true, "merge|skip"},
                 {"--list", false, {}},
                 JsonOption()},
                1,
                1,
                ImportCommand});
}

}  // namespace trawlix::cli
