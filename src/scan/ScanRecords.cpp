#include "scan/ScanRecords.h"

#include "base/Guid.h"
#include "base/Text.h"
#include "storage/ProjectLinksTable.h"
#include "storage/ScanHistoryTable.h"

namespace trawlix {

namespace {

bool OpenLinks(CProjectLinksTable& links) {
  return links.OpenTable() || links.OpenTable();
}

bool FindLinkByURL(CProjectLinksTable& links, int projectId, const std::string& url,
                   CProjectLinksRecord& link) {
  if (links.LoadLinkByURL(projectId, url) && links.GetCurrent(link)) return true;
  if (url.find('\'') == std::string::npos) return false;
  // Rows written with the apostrophes doubled, as SQL quoting once stored them.
  return links.LoadLinkByURL(projectId, ReplacedAll(url, "'", "''")) && links.GetCurrent(link);
}

}  // namespace

void RecordScannedLink(const std::string& databasePath, const CProjectsRecord& project,
                       const std::string& url, const std::string& date, int photos,
                       MessageSink& messages) {
  CProjectLinksTable links(databasePath, messages);
  if (!OpenLinks(links)) return;
  CProjectLinksRecord link;
  const bool found = FindLinkByURL(links, project.m_nId, url, link);
  link.m_nProjectId = project.m_nId;
  link.m_lpszdtDate = date;
  link.m_nSearchSubFolders = project.m_nSearchSubFolders;
  link.m_lpszURL = url;
  link.m_nKeywordMustExist = project.m_nKeywordMustExist;
  link.m_lpszKeywords = project.m_lpszKeywords;
  link.m_nPhotos = photos;
  if (found) {
    links.UpdateProjectLink(link);
    return;
  }
  link.m_lpszTitle.clear();
  NewGUIDString(link.m_lpszGUID);
  links.InsertProjectLink(link);
}

void SetLinkPhotos(const std::string& databasePath, int linkId, int projectId, int photos,
                   MessageSink& messages) {
  CProjectLinksTable links(databasePath, messages);
  if (OpenLinks(links)) links.SetLinkPhotos(linkId, projectId, photos);
}

std::vector<CProjectLinksRecord> LoadLinksForScan(const std::string& databasePath,
                                                  const std::vector<int>& ids, LinkOrder order,
                                                  MessageSink& messages) {
  std::vector<CProjectLinksRecord> result;
  if (ids.empty()) return result;
  CProjectLinksTable links(databasePath, messages);
  if (!OpenLinks(links) || !links.LoadLinksByIds(ids, order)) return result;
  for (int i = 0; i < static_cast<int>(links.Records().size()); ++i) {
    links.SetCurrentIndex(i);
    CProjectLinksRecord link;
    if (links.GetCurrent(link)) result.push_back(link);
  }
  return result;
}

std::optional<CScanHistoryRecord> TakeHistoryRow(const std::string& databasePath,
                                                 MessageSink& messages, int projectId,
                                                 const std::string& guid) {
  CScanHistoryTable history(databasePath, messages);
  CScanHistoryRecord row;
  if (!history.OpenTable() || !history.LoadByGUID(projectId, guid) || !history.GetCurrent(row))
    return std::nullopt;
  history.DeleteScanHistory(row.m_nId);
  return row;
}

}  // namespace trawlix
