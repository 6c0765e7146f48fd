#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/MessageBox.h"
#include "storage/CategoriesRecord.h"
#include "storage/RecordTable.h"

namespace trawlix {

// The Categories table: named groups of projects.
class CategoriesTable : public RecordTable<CategoriesRecord> {
 public:
  static constexpr std::string_view kTableName = "Categories";
  static const std::string_view kCreateStatement;

  CategoriesTable(std::string databasePath, MessageSink& messages);

  bool OpenTable();
  bool LoadCategories(const std::string& sql);

  // By name, A to Z.
  bool LoadAllCategories();
  bool LoadCategoryById(int id);
  bool LoadCategoryByName(std::string_view name);

  bool InsertCategory(std::string_view name);
  bool RenameCategory(int id, std::string_view name);
  bool DeleteCategory(int id);
  // Compares the trimmed name as stored.
  bool CategoryNameExists(std::string_view name);
  // 0 on failure.
  int CountCategories();

  // "All" for the all-categories id; empty when there is no such category.
  std::string CategoryNameById(int id);
  // -1 when there is no such category.
  int CategoryIdByName(std::string_view name);
};

// The message that refuses a new category name, or nothing when the name may be used:
// it must not be empty, "all" in any letter case, or a name that exists already.
std::optional<MessageRequest> CheckNewCategoryName(CategoriesTable& table, std::string_view name);
// The category that receives imported projects can be neither renamed nor deleted.
bool IsImportedProjectsCategory(std::string_view name);

inline constexpr std::string_view kImportedProjectsCategory = "Imported Projects";
inline constexpr std::string_view kAllCategoriesName = "All";

}  // namespace trawlix
