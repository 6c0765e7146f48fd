#include "operations/ExchangeOperations.h"

#include <array>

#include "base/Number.h"
#include "base/Text.h"
#include "operations/ProjectOperations.h"
#include "storage/CategoriesTable.h"
#include "storage/ProjectLinksTable.h"
#include "storage/ScanHistoryTable.h"

namespace trawlix {

namespace {

constexpr std::string_view kExportExtension = ".txexport";

std::string Counted(std::int64_t count, const char* one, const char* many) {
  return FormatThousands(count) + ' ' + (count == 1 ? one : many);
}

}  // namespace

std::optional<std::vector<ExportListRow>> LoadExportList(DataSession& session, int categoryId) {
  const auto projects = LoadProjects(session, categoryId);
  const auto categories = LoadCategories(session);
  if (!projects || !categories) return std::nullopt;
  ProjectLinksTable links(session.databasePath(), session.messages());
  ScanHistoryTable history(session.databasePath(), session.messages());
  const bool linksOpen = links.OpenTable();
  const bool historyOpen = history.OpenTable();
  std::vector<ExportListRow> rows;
  rows.reserve(projects->size());
  for (const ProjectsRecord& project : *projects) {
    ExportListRow row;
    row.id = project.id;
    row.title = project.title;
    row.links = linksOpen ? links.CountLinks(project.id) : 0;
    row.photos = historyOpen ? history.PhotosSavedByProject(project.id) : 0;
    for (const CategoriesRecord& category : *categories) {
      if (category.id == project.catId) row.category = category.name;
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

exchange::ExportRequest NewExportRequest(const DataSession& session) {
  return exchange::ExportRequestFromSettings(session.settings());
}

exchange::ExportResult ExportProjects(DataSession& session, const exchange::ExportRequest& request,
                                      const exchange::ExportProgress& progress) {
  const DataFolderLayout& paths = session.settings().Paths();
  exchange::ProjectExporter exporter(paths.databasePath, paths.tempFolder, session.messages());
  return exporter.Export(request, progress);
}

std::string WithExportExtension(std::string_view path) {
  std::string result(path);
  if (result.size() < kExportExtension.size() ||
      !EqualsNoCase(std::string_view(result).substr(result.size() - kExportExtension.size()),
                    kExportExtension)) {
    result += kExportExtension;
  }
  return result;
}

exchange::ImportSummary ImportProjects(DataSession& session,
                                       std::span<const exchange::ImportedProject> projects,
                                       const exchange::ImportOptions& options,
                                       const ImportProgress& progress) {
  exchange::ImportSummary summary;
  exchange::ProjectImporter importer(session.databasePath(), session.settings().Values(),
                                     session.messages());
  for (std::size_t i = 0; i < projects.size(); ++i) {
    if (progress) progress(i, projects[i].title);
    exchange::ImportSummary one = importer.Import(projects.subspan(i, 1), options);
    summary.categoriesCreated = summary.categoriesCreated || one.categoriesCreated;
    for (exchange::ImportResultRow& row : one.rows) summary.rows.push_back(std::move(row));
  }
  return summary;
}

bool DuplicateChoiceApplies(const exchange::ImportOptions& options) {
  return options.target != exchange::ImportTarget::SelectedCategory ||
         !EqualsNoCase(Trim(options.categoryName), kImportedProjectsCategory);
}

std::string ProjectsSelectedText(int count, std::string_view none) {
  if (count <= 0) return std::string(none);
  return Counted(count, "Project", "Projects") + " Selected";
}

std::string ImportSummaryText(const exchange::ImportSummary& summary) {
  std::array<std::int64_t, 4> counts{};
  for (const exchange::ImportResultRow& row : summary.rows) {
    ++counts.at(static_cast<std::size_t>(row.kind));
  }
  using Kind = exchange::ImportResultKind;
  const auto count = [&counts](Kind kind) { return counts.at(static_cast<std::size_t>(kind)); };
  std::string text = Counted(count(Kind::Imported), "project", "projects") + " imported";
  if (count(Kind::Merged) > 0) text += ", " + FormatThousands(count(Kind::Merged)) + " merged";
  if (count(Kind::Skipped) > 0) {
    text += ", " + FormatThousands(count(Kind::Skipped)) + " not imported (already there)";
  }
  if (count(Kind::Failed) > 0) text += ", " + FormatThousands(count(Kind::Failed)) + " failed";
  text += '.';
  if (summary.categoriesCreated) text += "\nNew categories were created.";
  return text;
}

std::string ImportFileDateText(std::time_t when) {
  const std::string date = exchange::ExportDateText(when);
  std::tm local{};
  if (date.empty() || localtime_r(&when, &local) == nullptr) return {};
  const int hour = local.tm_hour % 12 == 0 ? 12 : local.tm_hour % 12;
  return date + Format(", %02d:%02d:%02d%s", hour, local.tm_min, local.tm_sec,
                       local.tm_hour < 12 ? "AM" : "PM");
}

}  // namespace trawlix
