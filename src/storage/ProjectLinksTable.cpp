#include "storage/ProjectLinksTable.h"

#include "base/Text.h"
#include "storage/DbTextEncoding.h"
#include "storage/SqlFormat.h"

namespace trawlix {

const std::string_view ProjectLinksTable::kCreateStatement =
    "CREATE TABLE ProjectLinks (Id INTEGER PRIMARY KEY AUTOINCREMENT, ProjectId INTEGER, dtDate "
    "VARCHAR(50), SearchSubFolders INTEGER, Title VARCHAR(1024), URL VARCHAR(1024), "
    "KeywordMustExist INTEGER, Keywords VARCHAR(1024), GUID VARCHAR(50), Photos INTEGER);";

ProjectLinksTable::ProjectLinksTable(std::string databasePath, MessageSink& messages)
    : RecordTable(std::move(databasePath), messages, kTableName, kCreateStatement) {}

bool ProjectLinksTable::OpenTable() {
  return OpenTableImpl();
}

bool ProjectLinksTable::LoadProjectLinks(const std::string& sql) {
  return Load(sql);
}

bool ProjectLinksTable::LoadLinkById(int id) {
  return Load(FormatSql("SELECT * FROM ProjectLinks WHERE Id=%d;", {id}));
}

bool ProjectLinksTable::LoadLinkOfProject(int id, int projectId) {
  return Load(
      FormatSql("SELECT * FROM ProjectLinks WHERE Id=%d AND ProjectId=%d;", {id, projectId}));
}

bool ProjectLinksTable::LoadLinksOfProject(int projectId) {
  return Load(FormatSql("SELECT * FROM ProjectLinks WHERE ProjectId=%d ORDER BY Id;", {projectId}));
}

namespace {

// " ORDER BY dtDate  DESC" and the like: the column's clause and the direction joined by
// "%s %s", as the links list sorts.
std::string OrderByClause(LinkOrder order) {
  static constexpr std::string_view kOrders[] = {" ORDER BY Id", " ORDER BY dtDate",
                                                 " ORDER BY URL", " ORDER BY Photos"};
  const int index = static_cast<int>(order.column);
  const std::string_view clause = (index >= 0 && index < 4) ? kOrders[index] : kOrders[0];
  return FormatSql("%s %s", {clause, order.ascending ? " ASC" : " DESC"});
}

}  // namespace

bool ProjectLinksTable::LoadLinksSorted(int projectId, LinkSortColumn column, bool ascending) {
  return Load(FormatSql("SELECT * FROM ProjectLinks WHERE ProjectId=%d %s;",
                        {projectId, OrderByClause({column, ascending})}));
}

bool ProjectLinksTable::LoadLinkByURL(int projectId, std::string_view url) {
  const std::string encoded = EncodeLookupText(url);
  return Load(FormatSql("SELECT * FROM ProjectLinks WHERE ProjectId=%d AND URL='%s';",
                        {projectId, encoded}));
}

bool ProjectLinksTable::LoadLinksByIds(std::span<const int> ids, std::optional<LinkOrder> order) {
  std::string list;
  for (int id : ids) list += FormatSql("%d, ", {id});
  list = Trim(list);
  if (!list.empty() && list.back() == ',') list.pop_back();
  return Load("SELECT * FROM ProjectLinks WHERE Id IN (" + list + ")" +
              (order ? OrderByClause(*order) : std::string()) + ";");
}

int ProjectLinksTable::CountLinks(int projectId) {
  return Scalar(FormatSql("SELECT COUNT(*) FROM ProjectLinks WHERE ProjectId=%d;", {projectId}))
      .value_or(0);
}

bool ProjectLinksTable::InsertProjectLink(const ProjectLinksRecord& record) {
  return Update(FormatWithRecord("INSERT INTO ProjectLinks (ProjectId, dtDate, SearchSubFolders, "
                                 "Title, URL, KeywordMustExist, Keywords, GUID, Photos) VALUES "
                                 "('%d', '%s', '%d', '%s', '%s', '%d', '%s', '%s', '%d');",
                                 record))
      .has_value();
}

bool ProjectLinksTable::UpdateProjectLink(const ProjectLinksRecord& record) {
  const auto changed = Update(FormatWithRecord(
      "UPDATE ProjectLinks SET ProjectId='%d', dtDate='%s', SearchSubFolders='%d', Title='%s', "
      "URL='%s', KeywordMustExist='%d', Keywords='%s', GUID='%s', Photos='%d' WHERE Id=%d",
      record, record.id));
  if (!changed) return false;
  const int index = FindIndexById(record.id);
  if (index >= 0) cache_[static_cast<std::size_t>(index)] = record;
  return true;
}

bool ProjectLinksTable::DeleteProjectLink(int id) {
  return Update(FormatSql("DELETE FROM ProjectLinks WHERE Id=%d", {id})).has_value();
}

bool ProjectLinksTable::DeleteProjectLinks(int projectId) {
  return Update(FormatSql("DELETE FROM ProjectLinks WHERE ProjectId=%d;", {projectId})).has_value();
}

int ProjectLinksTable::DeleteSelection(int projectId, std::span<const int> ids) {
  if (!IsTableOpen()) return 0;
  int deleted = 0;
  BeginTransaction();
  for (int id : ids) {
    if (LoadLinkOfProject(id, projectId) && !Records().empty() && DeleteProjectLink(id)) ++deleted;
  }
  CommitTransaction();
  return deleted;
}

bool ProjectLinksTable::SetLinkPhotos(int linkId, int projectId, int photos) {
  ProjectLinksRecord link;
  if (!LoadLinkById(linkId) || !GetCurrent(link)) return false;
  link.projectId = projectId;
  link.photos = photos;
  return UpdateProjectLink(link);
}

bool AddProjectLink(const std::string& databasePath, MessageSink& messages,
                    const ProjectLinksRecord& link) {
  ProjectLinksTable table(databasePath, messages);
  if (!table.OpenTable() && !table.OpenTable()) return false;
  return table.InsertProjectLink(link);
}

}  // namespace trawlix
