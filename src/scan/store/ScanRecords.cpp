#include "scan/store/ScanRecords.h"

#include "base/Guid.h"
#include "base/Text.h"
#include "storage/ProjectLinksTable.h"
#include "storage/ScanHistoryTable.h"

namespace trawlix {

namespace {

bool OpenLinks(ProjectLinksTable& links) {
  return links.OpenTable() || links.OpenTable();
}

bool FindLinkByURL(ProjectLinksTable& links, int projectId, const std::string& url,
                   ProjectLinksRecord& link) {
  if (links.LoadLinkByURL(projectId, url) && links.GetCurrent(link)) return true;
  if (url.find('\'') == std::string::npos) return false;
  // Rows written with the apostrophes doubled, as SQL quoting once stored them.
  return links.LoadLinkByURL(projectId, ReplacedAll(url, "'", "''")) && links.GetCurrent(link);
}

}  // namespace

void RecordScannedLink(const std::string& databasePath, const ProjectsRecord& project,
                       const std::string& url, const std::string& date, int photos,
                       MessageSink& messages) {
  ProjectLinksTable links(databasePath, messages);
  if (!OpenLinks(links)) return;
  ProjectLinksRecord link;
  const bool found = FindLinkByURL(links, project.id, url, link);
  link.projectId = project.id;
  link.date = date;
  link.searchSubFolders = project.searchSubFolders;
  link.url = url;
  link.keywordMustExist = project.keywordMustExist;
  link.keywords = project.keywords;
  link.photos = photos;
  if (found) {
    links.UpdateProjectLink(link);
    return;
  }
  link.title.clear();
  NewGUIDString(link.guid);
  links.InsertProjectLink(link);
}

void SetLinkPhotos(const std::string& databasePath, int linkId, int projectId, int photos,
                   MessageSink& messages) {
  ProjectLinksTable links(databasePath, messages);
  if (OpenLinks(links)) links.SetLinkPhotos(linkId, projectId, photos);
}

std::vector<ProjectLinksRecord> LoadLinksForScan(const std::string& databasePath,
                                                 const std::vector<int>& ids, LinkOrder order,
                                                 MessageSink& messages) {
  std::vector<ProjectLinksRecord> result;
  if (ids.empty()) return result;
  ProjectLinksTable links(databasePath, messages);
  if (!OpenLinks(links) || !links.LoadLinksByIds(ids, order)) return result;
  for (int i = 0; i < static_cast<int>(links.Records().size()); ++i) {
    links.SetCurrentIndex(i);
    ProjectLinksRecord link;
    if (links.GetCurrent(link)) result.push_back(link);
  }
  return result;
}

std::optional<ScanHistoryRecord> TakeHistoryRow(const std::string& databasePath,
                                                MessageSink& messages, int projectId,
                                                const std::string& guid) {
  ScanHistoryTable history(databasePath, messages);
  ScanHistoryRecord row;
  if (!history.OpenTable() || !history.LoadByGUID(projectId, guid) || !history.GetCurrent(row))
    return std::nullopt;
  history.DeleteScanHistory(row.id);
  return row;
}

}  // namespace trawlix
