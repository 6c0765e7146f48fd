#pragma once

#include <string>

namespace trawlix {

// One row of the ProjectLinks table: a further start address of a project.
struct CProjectLinksRecord {
  int m_nId = -1;
  int m_nProjectId = -1;
  std::string m_lpszdtDate;  // "%m/%d/%Y"
  int m_nSearchSubFolders = -1;
  std::string m_lpszTitle;
  std::string m_lpszURL;
  int m_nKeywordMustExist = -1;
  std::string m_lpszKeywords;
  std::string m_lpszGUID;
  int m_nPhotos = -1;

  bool operator==(const CProjectLinksRecord&) const = default;
};

inline void ClearRecord(CProjectLinksRecord& record) {
  record = CProjectLinksRecord{};
}

}  // namespace trawlix
