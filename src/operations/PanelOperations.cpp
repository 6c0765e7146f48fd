#include "operations/PanelOperations.h"

#include "storage/ProjectLinksTable.h"
#include "storage/ScanHistoryTable.h"

namespace trawlix {

std::string DeleteRowsQuestion(int count, const std::string& projectTitle) {
  return "Delete " + std::to_string(count) + (count == 1 ? " link" : " links") + " from " +
         projectTitle + " project?";
}

std::optional<int> DeleteScanHistoryRows(DataSession& session, int projectId,
                                         std::span<const int> ids) {
  ScanHistoryTable table(session.databasePath(), session.messages());
  if (!table.OpenTable()) return std::nullopt;
  return table.DeleteSelection(projectId, ids);
}

std::optional<int> DeleteProjectLinkRows(DataSession& session, int projectId,
                                         std::span<const int> ids) {
  ProjectLinksTable table(session.databasePath(), session.messages());
  if (!table.OpenTable()) return std::nullopt;
  return table.DeleteSelection(projectId, ids);
}

std::optional<ProjectLinksRecord> LoadProjectLink(DataSession& session, int id) {
  ProjectLinksTable table(session.databasePath(), session.messages());
  ProjectLinksRecord link;
  if (!table.OpenTable() || !table.LoadLinkById(id) || !table.GetCurrent(link)) {
    return std::nullopt;
  }
  return link;
}

}  // namespace trawlix
