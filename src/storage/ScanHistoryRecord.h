#pragma once

#include <cstdint>
#include <string>

namespace trawlix {

// One row of the ScanHistory table: one finished scan of a project.
struct CScanHistoryRecord {
  int m_nId = -1;
  int m_nProjectId = -1;
  std::string m_lpszScanDate;   // "%m/%d/%Y"
  std::string m_lpszTotalTime;  // "%d:%02d:%02d"
  std::string m_lpszURL;
  int m_nPages = -1;
  int m_nTotalImages = -1;
  int m_nSavedImages = -1;
  int m_nSkippedImages = -1;
  int m_nStatus = -1;
  int m_nType = -1;
  int m_nSearchSubFolders = -1;
  int m_nTotalTimeInSeconds = -1;
  int m_nTransferTimeInSeconds = -1;
  std::int64_t m_nTotalBytes = -1;  // a scan may well pass 2 GiB
  std::string m_lpszGUID;

  bool operator==(const CScanHistoryRecord&) const = default;
};

inline void ClearRecord(CScanHistoryRecord& record) {
  record = CScanHistoryRecord{};
}

}  // namespace trawlix
