#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/MessageBox.h"
#include "storage/ProjectLinksRecord.h"
#include "storage/ProjectLinksTable.h"
#include "storage/ProjectsRecord.h"
#include "storage/ScanHistoryRecord.h"

namespace trawlix {

// The database rows a scan reads and writes. Database errors are reported through `messages`
// by the table layer and never stop the caller.

// Records the scanned address as a project link: inserts a row for it, or updates the row
// that has this address, with the scan's settings and the photos it saved.
void RecordScannedLink(const std::string& databasePath, const ProjectsRecord& project,
                       const std::string& url, const std::string& date, int photos,
                       MessageSink& messages);

// Sets the photos saved by a link's latest scan.
void SetLinkPhotos(const std::string& databasePath, int linkId, int projectId, int photos,
                   MessageSink& messages);

// The project links with these ids, in the links list's order.
std::vector<ProjectLinksRecord> LoadLinksForScan(const std::string& databasePath,
                                                 const std::vector<int>& ids, LinkOrder order,
                                                 MessageSink& messages);

// The history row an interrupted run wrote when it was stopped, taken out of the table so
// that the run resuming it writes one row for the whole; none when it wrote none.
std::optional<ScanHistoryRecord> TakeHistoryRow(const std::string& databasePath,
                                                MessageSink& messages, int projectId,
                                                const std::string& guid);

}  // namespace trawlix
