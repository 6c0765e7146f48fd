#include "storage/ScanHistoryTable.h"

#include "storage/DbTextEncoding.h"
#include "storage/ProjectLinksTable.h"
#include "storage/SqlFormat.h"

namespace trawlix {

const std::string_view CScanHistoryTable::kCreateStatement =
    "CREATE TABLE ScanHistory (Id INTEGER PRIMARY KEY AUTOINCREMENT, ProjectId INTEGER, ScanDate "
    "VARCHAR(50), TotalTime VARCHAR(200), URL VARCHAR(1024), Pages INTEGER, TotalImages INTEGER, "
    "SavedImages INTEGER, SkippedImages INTEGER, Status INTEGER, Type INTEGER, SearchSubFolders "
    "INTEGER, TotalTimeInSeconds INTEGER, TransferTimeInSeconds INTEGER, TotalBytes INTEGER, GUID "
    "VARCHAR(50));";

CScanHistoryTable::CScanHistoryTable(std::string databasePath, MessageSink& messages)
    : CRecordTable(std::move(databasePath), messages, kTableName, kCreateStatement) {}

bool CScanHistoryTable::OpenTable() {
  return OpenTableImpl();
}

bool CScanHistoryTable::LoadScanHistory(const std::string& sql) {
  return Load(sql);
}

bool CScanHistoryTable::LoadHistoryById(int id) {
  return Load(FormatSql("SELECT * FROM ScanHistory WHERE Id=%d;", {id}));
}

bool CScanHistoryTable::LoadHistoryOfProject(int id, int projectId) {
  return Load(
      FormatSql("SELECT * FROM ScanHistory WHERE Id=%d AND ProjectId=%d;", {id, projectId}));
}

bool CScanHistoryTable::LoadProjectHistory(int projectId) {
  return Load(
      FormatSql("SELECT * FROM ScanHistory WHERE ProjectId=%d ORDER BY Id ASC;", {projectId}));
}

bool CScanHistoryTable::LoadByGUID(int projectId, std::string_view guid) {
  const std::string encoded = EncodeLookupText(guid);
  return Load(FormatSql("SELECT * FROM ScanHistory WHERE ProjectId=%d AND GUID='%s';",
                        {projectId, encoded}));
}

bool CScanHistoryTable::LoadAllHistory() {
  return Load("SELECT * FROM ScanHistory;");
}

bool CScanHistoryTable::InsertScanHistory(const CScanHistoryRecord& record) {
  return Update(FormatWithRecord(
                    "INSERT INTO ScanHistory (ProjectId, ScanDate, TotalTime, URL, Pages, "
                    "TotalImages, SavedImages, SkippedImages, Status, Type, SearchSubFolders, "
                    "TotalTimeInSeconds, TransferTimeInSeconds, TotalBytes, GUID) VALUES ('%d', "
                    "'%s', '%s', '%s', '%d', '%d', '%d', '%d', '%d', '%d', '%d', '%d', '%d', "
                    "'%d', '%s');",
                    record))
      .has_value();
}

bool CScanHistoryTable::DeleteScanHistory(int id) {
  return Update(FormatSql("DELETE FROM ScanHistory WHERE Id=%d", {id})).has_value();
}

bool CScanHistoryTable::DeleteProjectHistory(int projectId) {
  return Update(FormatSql("DELETE FROM ScanHistory WHERE ProjectId=%d;", {projectId})).has_value();
}

int CScanHistoryTable::DeleteSelection(int projectId, std::span<const int> ids) {
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

int CScanHistoryTable::PhotosSavedByProject(int projectId) {
  return Scalar(FormatSql("SELECT TOTAL(SavedImages) FROM ScanHistory WHERE ProjectId=%d;",
                          {projectId}))
      .value_or(0);
}

ScanTotals CScanHistoryTable::ProjectTotals(int projectId) {
  ScanTotals totals;
  if (!Load(FormatSql("SELECT * FROM ScanHistory WHERE ProjectId=%d;", {projectId}))) return totals;
  for (const auto& row : Records()) {
    ++totals.scans;
    totals.totalTimeInSeconds += row.m_nTotalTimeInSeconds;
    totals.transferTimeInSeconds += row.m_nTransferTimeInSeconds;
    totals.totalBytes += row.m_nTotalBytes;
    totals.pages += row.m_nPages;
    totals.totalImages += row.m_nTotalImages;
    totals.savedImages += row.m_nSavedImages;
  }
  return totals;
}

namespace {

void UpdateScannedLink(const std::string& databasePath, MessageSink& messages,
                       const CScanHistoryRecord& scan) {
  CProjectLinksTable links(databasePath, messages);
  if (!links.OpenTable() && !links.OpenTable()) return;
  CProjectLinksRecord link;
  if (!links.LoadLinkByURL(scan.m_nProjectId, scan.m_lpszURL) || !links.GetCurrent(link)) return;
  links.SetLinkPhotos(link.m_nId, scan.m_nProjectId, scan.m_nSavedImages);
}

std::optional<CScanHistoryRecord> InsertAndReadBack(const std::string& databasePath,
                                                    MessageSink& messages,
                                                    const CScanHistoryRecord& scan) {
  CScanHistoryTable history(databasePath, messages);
  if (!history.OpenTable() && !history.OpenTable()) return std::nullopt;
  if (!history.InsertScanHistory(scan)) return std::nullopt;
  CScanHistoryRecord stored;
  if (!history.LoadByGUID(scan.m_nProjectId, scan.m_lpszGUID) || !history.GetCurrent(stored)) {
    return std::nullopt;
  }
  return stored;
}

}  // namespace

std::optional<CScanHistoryRecord> AddScanHistory(const std::string& databasePath,
                                                 MessageSink& messages,
                                                 const CScanHistoryRecord& scan,
                                                 bool onlySuccessfulScans) {
  std::optional<CScanHistoryRecord> stored;
  if (!onlySuccessfulScans || scan.m_nSavedImages > 0) {
    stored = InsertAndReadBack(databasePath, messages, scan);
  }
  UpdateScannedLink(databasePath, messages, scan);
  return stored;
}

}  // namespace trawlix
