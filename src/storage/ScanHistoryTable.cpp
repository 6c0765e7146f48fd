#include "storage/ScanHistoryTable.h"

#include "storage/DbTextEncoding.h"
#include "storage/ProjectLinksTable.h"
#include "storage/SqlFormat.h"

namespace trawlix {

const std::string_view ScanHistoryTable::kCreateStatement =
    "CREATE TABLE ScanHistory (Id INTEGER PRIMARY KEY AUTOINCREMENT, ProjectId INTEGER, ScanDate "
    "VARCHAR(50), TotalTime VARCHAR(200), URL VARCHAR(1024), Pages INTEGER, TotalImages INTEGER, "
    "SavedImages INTEGER, SkippedImages INTEGER, Status INTEGER, Type INTEGER, SearchSubFolders "
    "INTEGER, TotalTimeInSeconds INTEGER, TransferTimeInSeconds INTEGER, TotalBytes INTEGER, GUID "
    "VARCHAR(50));";

ScanHistoryTable::ScanHistoryTable(std::string databasePath, MessageSink& messages)
    : RecordTable(std::move(databasePath), messages, kTableName, kCreateStatement) {}

bool ScanHistoryTable::OpenTable() {
  return OpenTableImpl();
}

bool ScanHistoryTable::LoadScanHistory(const std::string& sql) {
  return Load(sql);
}

bool ScanHistoryTable::LoadHistoryById(int id) {
  return Load(FormatSql("SELECT * FROM ScanHistory WHERE Id=%d;", {id}));
}

bool ScanHistoryTable::LoadHistoryOfProject(int id, int projectId) {
  return Load(
      FormatSql("SELECT * FROM ScanHistory WHERE Id=%d AND ProjectId=%d;", {id, projectId}));
}

bool ScanHistoryTable::LoadProjectHistory(int projectId) {
  return Load(
      FormatSql("SELECT * FROM ScanHistory WHERE ProjectId=%d ORDER BY Id ASC;", {projectId}));
}

bool ScanHistoryTable::LoadByGUID(int projectId, std::string_view guid) {
  const std::string encoded = EncodeLookupText(guid);
  return Load(FormatSql("SELECT * FROM ScanHistory WHERE ProjectId=%d AND GUID='%s';",
                        {projectId, encoded}));
}

bool ScanHistoryTable::LoadAllHistory() {
  return Load("SELECT * FROM ScanHistory;");
}

bool ScanHistoryTable::InsertScanHistory(const ScanHistoryRecord& record) {
  return Update(FormatWithRecord(
                    "INSERT INTO ScanHistory (ProjectId, ScanDate, TotalTime, URL, Pages, "
                    "TotalImages, SavedImages, SkippedImages, Status, Type, SearchSubFolders, "
                    "TotalTimeInSeconds, TransferTimeInSeconds, TotalBytes, GUID) VALUES ('%d', "
                    "'%s', '%s', '%s', '%d', '%d', '%d', '%d', '%d', '%d', '%d', '%d', '%d', "
                    "'%d', '%s');",
                    record))
      .has_value();
}

bool ScanHistoryTable::DeleteScanHistory(int id) {
  return Update(FormatSql("DELETE FROM ScanHistory WHERE Id=%d", {id})).has_value();
}

bool ScanHistoryTable::DeleteProjectHistory(int projectId) {
  return Update(FormatSql("DELETE FROM ScanHistory WHERE ProjectId=%d;", {projectId})).has_value();
}

int ScanHistoryTable::DeleteSelection(int projectId, std::span<const int> ids) {
  if (!IsTableOpen()) return 0;
  int deleted = 0;
  BeginTransaction();
  for (int id : ids) {
    if (LoadHistoryOfProject(id, projectId) && !Records().empty() && DeleteScanHistory(id)) {
      ++deleted;
    }
  }
  CommitTransaction();
  return deleted;
}

int ScanHistoryTable::PhotosSavedByProject(int projectId) {
  return Scalar(FormatSql("SELECT TOTAL(SavedImages) FROM ScanHistory WHERE ProjectId=%d;",
                          {projectId}))
      .value_or(0);
}

ScanTotals ScanHistoryTable::ProjectTotals(int projectId) {
  ScanTotals totals;
  if (!Load(FormatSql("SELECT * FROM ScanHistory WHERE ProjectId=%d;", {projectId}))) return totals;
  for (const auto& row : Records()) {
    ++totals.scans;
    totals.totalTimeInSeconds += row.totalTimeInSeconds;
    totals.transferTimeInSeconds += row.transferTimeInSeconds;
    totals.totalBytes += row.totalBytes;
    totals.pages += row.pages;
    totals.totalImages += row.totalImages;
    totals.savedImages += row.savedImages;
  }
  return totals;
}

namespace {

void UpdateScannedLink(const std::string& databasePath, MessageSink& messages,
                       const ScanHistoryRecord& scan) {
  ProjectLinksTable links(databasePath, messages);
  if (!links.OpenTable() && !links.OpenTable()) return;
  ProjectLinksRecord link;
  if (!links.LoadLinkByURL(scan.projectId, scan.url) || !links.GetCurrent(link)) return;
  links.SetLinkPhotos(link.id, scan.projectId, scan.savedImages);
}

std::optional<ScanHistoryRecord> InsertAndReadBack(const std::string& databasePath,
                                                   MessageSink& messages,
                                                   const ScanHistoryRecord& scan) {
  ScanHistoryTable history(databasePath, messages);
  if (!history.OpenTable() && !history.OpenTable()) return std::nullopt;
  if (!history.InsertScanHistory(scan)) return std::nullopt;
  ScanHistoryRecord stored;
  if (!history.LoadByGUID(scan.projectId, scan.guid) || !history.GetCurrent(stored)) {
    return std::nullopt;
  }
  return stored;
}

}  // namespace

std::optional<ScanHistoryRecord> AddScanHistory(const std::string& databasePath,
                                                MessageSink& messages,
                                                const ScanHistoryRecord& scan,
                                                bool onlySuccessfulScans) {
  std::optional<ScanHistoryRecord> stored;
  if (!onlySuccessfulScans || scan.savedImages > 0) {
    stored = InsertAndReadBack(databasePath, messages, scan);
  }
  UpdateScannedLink(databasePath, messages, scan);
  return stored;
}

}  // namespace trawlix
