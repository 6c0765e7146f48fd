#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/ProjectExporter.h"
#include "exchange/ProjectImporter.h"
#include "operations/DataSession.h"

namespace trawlix {

// One project as the export list shows it.
struct ExportListRow {
  int id = -1;
  std::string title;
  int links = 0;
  std::int64_t photos = 0;  // saved over all its scans
  std::string category;
};

// The projects of one category (kAllCategoriesId: all), by title A to Z, with their counts.
// Nothing after the table class reported a database failure.
std::optional<std::vector<ExportListRow>> LoadExportList(DataSession& session, int categoryId);

// The export dialogs' starting values: the settings' details and logo.
exchange::ExportRequest NewExportRequest(const DataSession& session);

// Writes the exchange file through the session's database and Temp folder.
exchange::ExportResult ExportProjects(DataSession& session, const exchange::ExportRequest& request,
                                      const exchange::ExportProgress& progress = {});

// `path` with ".txexport" appended unless it already ends so (any letter case).
std::string WithExportExtension(std::string_view path);

// Called before each project is imported: its position (from 0) and title.
using ImportProgress = std::function<void(std::size_t index, const std::string& title)>;

// Imports the projects in order, one at a time so that the caller can show progress; each
// sees the ones before it (a title repeated in the file is a duplicate the second time).
exchange::ImportSummary ImportProjects(DataSession& session,
                                       std::span<const exchange::ImportedProject> projects,
                                       const exchange::ImportOptions& options,
                                       const ImportProgress& progress = {});

// Into "Imported Projects" every project comes in as a new one, so the duplicate choice
// means nothing.
bool DuplicateChoiceApplies(const exchange::ImportOptions& options);

// "3 Projects Selected", "1 Project Selected", or `none` for 0.
std::string ProjectsSelectedText(int count, std::string_view none);

// The results' summary: how many projects were imported, merged, not imported and failed.
std::string ImportSummaryText(const exchange::ImportSummary& summary);

// A file's date as the import information shows it: "%A, %B %d, %Y, %I:%M:%S%p", in English.
std::string ImportFileDateText(std::time_t when);

}  // namespace trawlix
