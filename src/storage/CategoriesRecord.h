#pragma once

#include <string>

namespace trawlix {

// The category id that stands for every category; shown as "All".
inline constexpr int kAllCategoriesId = -1;

// One row of the Categories table.
struct CategoriesRecord {
  int id = -1;
  std::string name;

  bool operator==(const CategoriesRecord&) const = default;
};

inline void ClearRecord(CategoriesRecord& record) {
  record = CategoriesRecord{};
}

}  // namespace trawlix
