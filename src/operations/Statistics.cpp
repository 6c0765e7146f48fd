#include "operations/Statistics.h"

#include <curl/curl.h>
#include <sqlite3.h>

#include <algorithm>

#include "base/Number.h"
#include "base/Text.h"
#include "imaging/codec/PhotoCodec.h"
#include "storage/CategoriesTable.h"
#include "storage/ProjectsTable.h"
#include "storage/ScanHistoryTable.h"

namespace trawlix {

namespace {

// An unknown (-1) counter must not shrink the totals.
std::int64_t Known(std::int64_t value) {
  return std::max<std::int64_t>(value, 0);
}

std::string ElapsedText(std::int64_t seconds) {
  return Format("%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
}

std::int64_t PerProject(std::int64_t total, std::int64_t projects) {
  return projects > 0 ? total / projects : 0;
}

}  // namespace

std::optional<DatabaseStatistics> GatherStatistics(DataSession& session) {
  const std::string& path = session.databasePath();
  MessageSink& messages = session.messages();
  DatabaseStatistics statistics;

  CategoriesTable categories(path, messages);
  if (!categories.OpenTable()) return std::nullopt;
  statistics.categories = categories.CountCategories();

  ProjectsTable projects(path, messages);
  if (!projects.OpenTable()) return std::nullopt;
  statistics.projects = projects.CountProjects();

  ScanHistoryTable history(path, messages);
  if (!history.OpenTable() || !history.LoadAllHistory()) return std::nullopt;
  for (const ScanHistoryRecord& row : history.Records()) {
    ++statistics.sessions;
    statistics.totalTimeInSeconds += Known(row.totalTimeInSeconds);
    statistics.pages += Known(row.pages);
    statistics.foundPhotos += Known(row.totalImages);
    statistics.savedPhotos += Known(row.savedImages);
    statistics.totalBytes += Known(row.totalBytes);
    statistics.transferTimeInSeconds += Known(row.transferTimeInSeconds);
  }
  return statistics;
}

std::string StatisticsLabelText() {
  return "Categories\nProjects\n\nScanning Sessions\nTotal Scanning Time\n\nPages Scanned\n"
         "Photos Downloaded\nPhotos Saved\n\nData Transfered\nAverage Transfer Rate\n\n"
         "Average # Scanned Pages per Project\nAverage # Downloaded Photos per Project\n"
         "Average # Saved Photos per Project";
}

std::string StatisticsValueText(const DatabaseStatistics& s) {
  const std::int64_t rate =
      s.transferTimeInSeconds > 0 ? s.totalBytes / s.transferTimeInSeconds : 0;
  return Format("%s\n%s\n\n%s\n%s\n\n%s\n%s\n%s\n\n%s\n%s/Second\n\n%s\n%s\n%s",
                FormatThousands(s.categories).c_str(), FormatThousands(s.projects).c_str(),
                FormatThousands(s.sessions).c_str(), ElapsedText(s.totalTimeInSeconds).c_str(),
                FormatThousands(s.pages).c_str(), FormatThousands(s.foundPhotos).c_str(),
                FormatThousands(s.savedPhotos).c_str(), FormatByteSize(s.totalBytes).c_str(),
                FormatByteSize(rate).c_str(),
                FormatThousands(PerProject(s.pages, s.projects)).c_str(),
                FormatThousands(PerProject(s.foundPhotos, s.projects)).c_str(),
                FormatThousands(PerProject(s.savedPhotos, s.projects)).c_str());
}

LibraryVersions RuntimeLibraryVersions() {
  LibraryVersions versions;
  versions.sqlite = sqlite3_libversion();
  versions.curl = curl_version_info(CURLVERSION_NOW)->version;
  versions.vips = ImageLibraryVersion();
  return versions;
}

}  // namespace trawlix
