#pragma once

#include <optional>
#include <span>
#include <string>

#include "operations/DataSession.h"
#include "storage/ProjectLinksRecord.h"

namespace trawlix {

// The scan history and project links lists of the desktop program.

// "Delete 2 links from Coast project?": the question before deleting checked rows of either
// list ("link" for exactly one row, "links" otherwise).
std::string DeleteRowsQuestion(int count, const std::string& projectTitle);

// Delete those of `ids` that still belong to the project, in one transaction; the number
// deleted, or nothing when the database failed (the table class reported it).
std::optional<int> DeleteScanHistoryRows(DataSession& session, int projectId,
                                         std::span<const int> ids);
std::optional<int> DeleteProjectLinkRows(DataSession& session, int projectId,
                                         std::span<const int> ids);

// One link by id; nothing when it is gone (or the database failed).
std::optional<ProjectLinksRecord> LoadProjectLink(DataSession& session, int id);

}  // namespace trawlix
