#pragma once

#include <string>

namespace trawlix {

// The category id that stands for every category; shown as "All".
inline constexpr int kAllCategoriesId = -1;

// One row of the Categories table.
struct CCategoriesRecord {
  int m_lId = -1;
  std::string m_lpszName;

  bool operator==(const CCategoriesRecord&) const = default;
};

inline void ClearRecord(CCategoriesRecord& record) {
  record = CCategoriesRecord{};
}

}  // namespace trawlix
