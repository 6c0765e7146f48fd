#include "storage/CategoriesTable.h"

#include "base/Text.h"
#include "storage/DbTextEncoding.h"
#include "storage/SqlFormat.h"

namespace trawlix {

const std::string_view CategoriesTable::kCreateStatement =
    "CREATE TABLE Categories (Id INTEGER PRIMARY KEY AUTOINCREMENT, Name VARCHAR(100));";

CategoriesTable::CategoriesTable(std::string databasePath, MessageSink& messages)
    : RecordTable(std::move(databasePath), messages, kTableName, kCreateStatement) {}

bool CategoriesTable::OpenTable() {
  return OpenTableImpl();
}

bool CategoriesTable::LoadCategories(const std::string& sql) {
  return Load(sql);
}

bool CategoriesTable::LoadAllCategories() {
  return Load("SELECT * FROM Categories ORDER BY Name ASC;");
}

bool CategoriesTable::LoadCategoryById(int id) {
  return Load(FormatSql("SELECT * FROM Categories WHERE Id=%d;", {id}));
}

bool CategoriesTable::LoadCategoryByName(std::string_view name) {
  const std::string encoded = EncodeLookupText(name);
  return Load(FormatSql("SELECT * FROM Categories WHERE Name='%s';", {encoded}));
}

bool CategoriesTable::InsertCategory(std::string_view name) {
  CategoriesRecord record;
  record.name = std::string(name);
  return Update(FormatWithRecord("INSERT INTO Categories (Name) VALUES ('%s');", record))
      .has_value();
}

bool CategoriesTable::RenameCategory(int id, std::string_view name) {
  CategoriesRecord record{id, std::string(name)};
  if (!Update(FormatWithRecord("UPDATE Categories SET Name='%s' WHERE Id=%d", record, id))) {
    return false;
  }
  const int index = FindIndexById(id);
  if (index >= 0) cache_[static_cast<std::size_t>(index)] = record;
  return true;
}

bool CategoriesTable::DeleteCategory(int id) {
  if (!Update(FormatSql("DELETE FROM Categories WHERE Id=%d", {id}))) return false;
  const int index = FindIndexById(id);
  if (index >= 0) cache_.erase(cache_.begin() + index);
  return true;
}

bool CategoriesTable::CategoryNameExists(std::string_view name) {
  const std::string encoded = EncodeLookupText(name);
  return Scalar(FormatSql("SELECT COUNT(*) FROM Categories WHERE %s='%s';", {"Name", encoded}))
             .value_or(0) > 0;
}

int CategoriesTable::CountCategories() {
  return Scalar("SELECT COUNT(*) FROM Categories;").value_or(0);
}

std::string CategoriesTable::CategoryNameById(int id) {
  if (id == kAllCategoriesId) return std::string(kAllCategoriesName);
  CategoriesRecord record;
  if (!LoadCategoryById(id) || !GetCurrent(record)) return {};
  return record.name;
}

int CategoriesTable::CategoryIdByName(std::string_view name) {
  CategoriesRecord record;
  if (!LoadCategoryByName(name) || !GetCurrent(record)) return -1;
  return record.id;
}

std::optional<MessageRequest> CheckNewCategoryName(CategoriesTable& table, std::string_view name) {
  const std::string trimmed = Trim(name);
  if (trimmed.empty()) {
    MessageRequest request{"Please type in category name."};
    request.caption = "Trawlix()PRO";
    return request;
  }
  if (EqualsNoCase(trimmed, "all") || table.CategoryNameExists(trimmed)) {
    return MessageRequest{"The category already exists.\nPlease try again."};
  }
  return std::nullopt;
}

bool IsImportedProjectsCategory(std::string_view name) {
  return EqualsNoCase(name, kImportedProjectsCategory);
}

}  // namespace trawlix
