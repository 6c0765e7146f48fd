#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "operations/DataSession.h"

namespace trawlix {

// Totals over the whole database, as the about sheet shows them.
struct DatabaseStatistics {
  std::int64_t categories = 0;
  std::int64_t projects = 0;
  std::int64_t sessions = 0;  // scan-history rows
  std::int64_t totalTimeInSeconds = 0;
  std::int64_t pages = 0;
  std::int64_t foundPhotos = 0;
  std::int64_t savedPhotos = 0;
  std::int64_t totalBytes = 0;
  std::int64_t transferTimeInSeconds = 0;

  bool operator==(const DatabaseStatistics&) const = default;
};

// Counts the categories and projects and sums every scan. A value a scan left unknown (-1)
// adds nothing. Nothing when the database could not be read (already reported).
std::optional<DatabaseStatistics> GatherStatistics(DataSession& session);

// The label column, one line per value of StatisticsValueText with blank lines between groups.
std::string StatisticsLabelText();
// The value column: counts grouped with commas, the time as h:mm:ss, sizes as byte-size texts,
// the per-project averages by integer division (0 without projects).
std::string StatisticsValueText(const DatabaseStatistics& statistics);

// The versions of the libraries the program runs with, as they report themselves.
struct LibraryVersions {
  std::string sqlite;
  std::string curl;
  std::string vips;
};
LibraryVersions RuntimeLibraryVersions();

}  // namespace trawlix
