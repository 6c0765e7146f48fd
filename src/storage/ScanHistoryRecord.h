#pragma once

#include <cstdint>
#include <string>

namespace trawlix {

// One row of the ScanHistory table: one finished scan of a project.
struct ScanHistoryRecord {
  int id = -1;
  int projectId = -1;
  std::string scanDate;   // "%m/%d/%Y"
  std::string totalTime;  // "%d:%02d:%02d"
  std::string url;
  int pages = -1;
  int totalImages = -1;
  int savedImages = -1;
  int skippedImages = -1;
  int status = -1;
  int type = -1;
  bool searchSubFolders = false;
  int totalTimeInSeconds = -1;
  int transferTimeInSeconds = -1;
  std::int64_t totalBytes = -1;  // a scan may well pass 2 GiB
  std::string guid;

  bool operator==(const ScanHistoryRecord&) const = default;
};

inline void ClearRecord(ScanHistoryRecord& record) {
  record = ScanHistoryRecord{};
}

}  // namespace trawlix
