#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "storage/RecordTable.h"
#include "storage/ScanHistoryRecord.h"

namespace trawlix {

// Sums over every scan of one project.
struct ScanTotals {
  int scans = 0;
  std::int64_t totalTimeInSeconds = 0;
  std::int64_t transferTimeInSeconds = 0;
  std::int64_t totalBytes = 0;
  std::int64_t pages = 0;
  std::int64_t totalImages = 0;
  std::int64_t savedImages = 0;
};

// The ScanHistory table: one row per finished scan.
class ScanHistoryTable : public RecordTable<ScanHistoryRecord> {
 public:
  static constexpr std::string_view kTableName = "ScanHistory";
  static const std::string_view kCreateStatement;

  ScanHistoryTable(std::string databasePath, MessageSink& messages);

  bool OpenTable();
  bool LoadScanHistory(const std::string& sql);

  bool LoadHistoryById(int id);
  bool LoadHistoryOfProject(int id, int projectId);
  // Oldest first.
  bool LoadProjectHistory(int projectId);
  bool LoadByGUID(int projectId, std::string_view guid);
  bool LoadAllHistory();

  bool InsertScanHistory(const ScanHistoryRecord& record);
  bool DeleteScanHistory(int id);
  bool DeleteProjectHistory(int projectId);
  // Deletes those of `ids` that belong to the project, in one transaction; the number
  // deleted.
  int DeleteSelection(int projectId, std::span<const int> ids);
  // 0 on failure.
  int PhotosSavedByProject(int projectId);
  // Empty totals (scans 0) when there is no scan or the load fails.
  ScanTotals ProjectTotals(int projectId);
};

// Records a finished scan: inserts the row (unless only scans that saved photos are kept
// and this one saved none) and reads it back to learn its id; then the project's link
// with the scanned address, if any, gets the number of photos saved. The stored row, or
// nothing when none was written.
std::optional<ScanHistoryRecord> AddScanHistory(const std::string& databasePath,
                                                MessageSink& messages,
                                                const ScanHistoryRecord& scan,
                                                bool onlySuccessfulScans);

}  // namespace trawlix
