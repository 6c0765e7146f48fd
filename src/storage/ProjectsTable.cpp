#include "storage/ProjectsTable.h"

#include "base/Text.h"
#include "storage/DbTextEncoding.h"
#include "storage/ProjectLinksTable.h"
#include "storage/ProjectRendering.h"
#include "storage/RememberedData.h"
#include "storage/ScanHistoryTable.h"
#include "storage/SqlFormat.h"

namespace trawlix {

const std::string_view ProjectsTable::kCreateStatement =
    "CREATE TABLE Projects (Id INTEGER PRIMARY KEY AUTOINCREMENT, CatId INTEGER, Title "
    "VARCHAR(200), URL VARCHAR(1024), SaveTo VARCHAR(1024), JPEG INTEGER, PNG INTEGER, GIF "
    "INTEGER, BMP INTEGER, ICO INTEGER, CreateFolders INTEGER, SearchSubFolders INTEGER, Keywords "
    "VARCHAR(1024), FilterMinimumSize INTEGER, MinimumSize INTEGER, AutoRename INTEGER, "
    "IncludePhotoSize INTEGER, ReplaceSpaces INTEGER, PadNumbers INTEGER, Padding INTEGER, "
    "NamePrefix VARCHAR(200), AutoResize INTEGER, ResizeBoundingBox INTEGER, AutoConvert INTEGER, "
    "ConvertToFormat INTEGER, AutoCreateThumbnails INTEGER, ThumbnailBoundingBox INTEGER, "
    "ThumbnailFormat INTEGER, ThumbnailSaveTo VARCHAR(1024), ExcludeThumbnailFolder INTEGER, "
    "AutoCreateMobile INTEGER, MobileBoundingBox INTEGER, MobileFormat INTEGER, MobileSaveTo "
    "VARCHAR(1024), ExcludeMobileFolder INTEGER, KeywordMustExist INTEGER, ThumbnailOrientation "
    "INTEGER, MobileOrientation INTEGER, TIF INTEGER, Orientation INTEGER, "
    "ThumbnailsSaveToLocation INTEGER, ThumbnailsLocalSaveTo VARCHAR(1024), "
    "ThumbnailsExternalSaveTo VARCHAR(1024), ThumbnailsExternalIncludeTitle INTEGER, "
    "MobileSaveToLocation INTEGER, MobileLocalSaveTo VARCHAR(1024), MobileExternalSaveTo "
    "VARCHAR(1024), MobileExternalIncludeTitle INTEGER);";

namespace {

constexpr std::string_view kInsert =
    "INSERT INTO Projects (CatId, Title, URL, SaveTo, JPEG, PNG, GIF, BMP, ICO, CreateFolders, "
    "SearchSubFolders, Keywords, FilterMinimumSize, MinimumSize, AutoRename, IncludePhotoSize, "
    "ReplaceSpaces, PadNumbers, Padding, NamePrefix, AutoResize, ResizeBoundingBox, AutoConvert, "
    "ConvertToFormat, AutoCreateThumbnails, ThumbnailBoundingBox, ThumbnailFormat, "
    "ThumbnailSaveTo, ExcludeThumbnailFolder, AutoCreateMobile, MobileBoundingBox, MobileFormat, "
    "MobileSaveTo, ExcludeMobileFolder, KeywordMustExist, ThumbnailOrientation, "
    "MobileOrientation, TIF, Orientation, ThumbnailsSaveToLocation, ThumbnailsLocalSaveTo, "
    "ThumbnailsExternalSaveTo, ThumbnailsExternalIncludeTitle, MobileSaveToLocation, "
    "MobileLocalSaveTo, MobileExternalSaveTo, MobileExternalIncludeTitle) VALUES ('%d', '%s', "
    "'%s', '%s', '%d', '%d', '%d', '%d', '%d', '%d', '%d', '%s', '%d', '%d', '%d', '%d', '%d', "
    "'%d', '%d', '%s', '%d', '%d', '%d', '%d', '%d', '%d', '%d', '%s', '%d', '%d', '%d', '%d', "
    "'%s', '%d', '%d', '%d', '%d', '%d', '%d', '%d', '%s', '%s', '%d', '%d', '%s', '%s', '%d');";

constexpr std::string_view kUpdate =
    "UPDATE Projects SET CatId='%d', Title='%s', URL='%s', SaveTo='%s', JPEG='%d', PNG='%d', "
    "GIF='%d', BMP='%d', ICO='%d', CreateFolders='%d', SearchSubFolders='%d', Keywords='%s', "
    "FilterMinimumSize='%d', MinimumSize='%d', AutoRename='%d', IncludePhotoSize='%d', "
    "ReplaceSpaces='%d', PadNumbers='%d', Padding='%d', NamePrefix='%s', AutoResize='%d', "
    "ResizeBoundingBox='%d', AutoConvert='%d', ConvertToFormat='%d', AutoCreateThumbnails='%d', "
    "ThumbnailBoundingBox='%d', ThumbnailFormat='%d', ThumbnailSaveTo='%s', "
    "ExcludeThumbnailFolder='%d', AutoCreateMobile='%d', MobileBoundingBox='%d', "
    "MobileFormat='%d', MobileSaveTo='%s', ExcludeMobileFolder='%d', KeywordMustExist='%d', "
    "ThumbnailOrientation='%d', MobileOrientation='%d', TIF='%d', Orientation='%d', "
    "ThumbnailsSaveToLocation='%d', ThumbnailsLocalSaveTo='%s', ThumbnailsExternalSaveTo='%s', "
    "ThumbnailsExternalIncludeTitle='%d', MobileSaveToLocation='%d', MobileLocalSaveTo='%s', "
    "MobileExternalSaveTo='%s', MobileExternalIncludeTitle='%d' WHERE Id=%d";

}  // namespace

ProjectsTable::ProjectsTable(std::string databasePath, MessageSink& messages)
    : RecordTable(std::move(databasePath), messages, kTableName, kCreateStatement) {}

bool ProjectsTable::OpenTable() {
  return OpenTableImpl();
}

bool ProjectsTable::LoadProjects(const std::string& sql) {
  return Load(sql);
}

bool ProjectsTable::LoadAllProjects() {
  return Load("SELECT * FROM Projects ORDER BY Title Asc;");
}

bool ProjectsTable::LoadCategoryProjects(int categoryId) {
  return Load(FormatSql("SELECT * FROM Projects WHERE CatId=%d ORDER BY Title ASC;", {categoryId}));
}

bool ProjectsTable::LoadProjectById(int id) {
  return Load(FormatSql("SELECT * FROM Projects WHERE Id=%d;", {id}));
}

bool ProjectsTable::LoadByCategoryAndTitle(int categoryId, std::string_view title) {
  const std::string encoded = EncodeLookupText(title);
  return Load(
      FormatSql("SELECT * FROM Projects WHERE CatId=%d AND Title='%s';", {categoryId, encoded}));
}

bool ProjectsTable::LoadByTitleAndCategory(std::string_view title, int categoryId) {
  const std::string encoded = EncodeLookupText(title);
  return Load(
      FormatSql("SELECT * FROM Projects WHERE Title='%s' AND CatId=%d;", {encoded, categoryId}));
}

bool ProjectsTable::LoadByTitle(std::string_view title) {
  const std::string encoded = EncodeLookupText(title);
  return Load(FormatSql("SELECT * FROM Projects WHERE Title='%s';", {encoded}));
}

bool ProjectsTable::FindProjectsByName(std::string_view text, ProjectNameMatch match,
                                       int categoryId) {
  const std::string encoded = EncodeLookupText(text);
  std::string sql;
  switch (match) {
    case ProjectNameMatch::StartsWith:
      sql = FormatSql("SELECT * FROM Projects WHERE Title LIKE '%s#' ORDER BY Title;", {encoded});
      break;
    case ProjectNameMatch::StartsWithInCategory:
      sql = FormatSql("SELECT * FROM Projects WHERE Title LIKE '%s#' AND CatId=%d ORDER BY Title;",
                      {encoded, categoryId});
      break;
    case ProjectNameMatch::Contains:
      sql = FormatSql("SELECT * FROM Projects WHERE Title LIKE '#%s#' ORDER BY Title;", {encoded});
      break;
  }
  // The wildcards go in after formatting; the references' own "#" become wildcards too,
  // which still matches them.
  ReplaceAll(sql, "#", "%");
  return Load(sql);
}

bool ProjectsTable::InsertProject(const ProjectsRecord& record) {
  return Update(FormatWithRecord(kInsert, record)).has_value();
}

bool ProjectsTable::UpdateProject(const ProjectsRecord& record) {
  if (!Update(FormatWithRecord(kUpdate, record, record.id))) return false;
  const int index = FindIndexById(record.id);
  if (index >= 0) cache_[static_cast<std::size_t>(index)] = record;
  return true;
}

bool ProjectsTable::DeleteProject(int id) {
  if (!Update(FormatSql("DELETE FROM Projects WHERE Id=%d", {id}))) return false;
  const int index = FindIndexById(id);
  if (index >= 0) cache_.erase(cache_.begin() + index);
  return true;
}

bool ProjectsTable::MoveCategory(int oldCategoryId, int newCategoryId) {
  return Update(FormatSql("UPDATE Projects SET %s='%d' WHERE %s='%d'",
                          {"CatId", newCategoryId, "CatId", oldCategoryId}))
      .has_value();
}

int ProjectsTable::CountProjects() {
  return Scalar("SELECT COUNT(*) FROM Projects;").value_or(0);
}

bool DeleteProjectWithHistory(const std::string& databasePath, MessageSink& messages,
                              int projectId) {
  ScanHistoryTable history(databasePath, messages);
  if (!history.OpenTable() || !history.DeleteProjectHistory(projectId)) return false;
  ProjectLinksTable links(databasePath, messages);
  if (!links.OpenTable() || !links.DeleteProjectLinks(projectId)) return false;
  // What the project's scans remembered goes with it; a failure leaves only unused rows.
  ForgetRememberedData(databasePath, projectId);
  ForgetRenderMode(databasePath, projectId);
  ProjectsTable projects(databasePath, messages);
  return projects.OpenTable() && projects.DeleteProject(projectId);
}

}  // namespace trawlix
