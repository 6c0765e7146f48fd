#include "storage/RememberedData.h"

#include "storage/DatabaseError.h"
#include "storage/SqlStatement.h"

namespace trawlix {

namespace {

// Addresses compare without letter case, as the scan's link lists do. One transaction: a
// new database is written and synced once, not once per table.
constexpr const char* kCreateTables = R"(
begin;
create table if not exists RememberedPhotos (
  ProjectId integer not null, URL text not null collate nocase, Bytes integer not null,
  Hash text not null, Path text not null, Outcome integer not null, ScanGUID text not null,
  primary key (ProjectId, URL));
create index if not exists RememberedPhotosByHash on RememberedPhotos (ProjectId, Hash);
create table if not exists RememberedPages (
  ProjectId integer not null, URL text not null collate nocase, ETag text not null,
  LastModified text not null, Bytes integer not null, Links blob not null,
  ScanGUID text not null, primary key (ProjectId, URL));
create table if not exists UnfinishedScans (
  ProjectId integer primary key, ScanGUID text not null, LinkIds text not null,
  LinkIndex integer not null, TransferSeconds integer not null, ElapsedSeconds integer not null,
  Everything integer not null default 0);
commit;
)";

// Added after the table first shipped; older databases gain it on opening.
constexpr const char* kEverythingColumn =
    "alter table UnfinishedScans add column Everything integer not null default 0";

std::string JoinIds(const std::vector<int>& ids) {
  std::string text;
  for (int id : ids) {
    if (!text.empty()) text += ',';
    text += std::to_string(id);
  }
  return text;
}

std::vector<int> SplitIds(const std::string& text) {
  std::vector<int> ids;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(',', start);
    if (end == std::string::npos) end = text.size();
    ids.push_back(TextToInt(text.substr(start, end - start).c_str()));
    start = end + 1;
  }
  return ids;
}

PhotoOutcome OutcomeFrom(std::int64_t code) {
  switch (code) {
    case 2:
      return PhotoOutcome::Replaced;
    case 3:
      return PhotoOutcome::Refused;
    case 4:
      return PhotoOutcome::Duplicate;
    default:
      return PhotoOutcome::Saved;
  }
}

}  // namespace

RememberedData::RememberedData(const std::string& databasePath) {
  Open(databasePath);
  ExecuteUpdate(kCreateTables);
  if (!HasColumn("UnfinishedScans", "Everything")) ExecuteUpdate(kEverythingColumn);
}

bool RememberedData::HasColumn(const char* table, const char* column) {
  SqlStatement select(Connection(), "select name from pragma_table_info(?)");
  select.Bind(1, std::string(table));
  while (select.Step()) {
    if (select.Text(0) == column) return true;
  }
  return false;
}

SqlStatement& RememberedData::Prepared(std::unique_ptr<SqlStatement>& statement, const char* sql) {
  if (!statement) statement = std::make_unique<SqlStatement>(Connection(), sql);
  return statement->Reset();
}

namespace {

RememberedPhoto PhotoFrom(const SqlStatement& row) {
  return {row.Text(0), row.Integer(1), row.Text(2), row.Text(3), OutcomeFrom(row.Integer(4)),
          row.Text(5)};
}

}  // namespace

std::optional<RememberedPhoto> RememberedData::FindPhoto(int projectId, const std::string& url) {
  SqlStatement& select =
      Prepared(findPhoto_,
               "select URL, Bytes, Hash, Path, Outcome, ScanGUID from RememberedPhotos "
               "where ProjectId = ? and URL = ?");
  select.Bind(1, std::int64_t{projectId}).Bind(2, url);
  std::optional<RememberedPhoto> photo;
  if (select.Step()) photo = PhotoFrom(select);
  select.Reset();
  return photo;
}

std::optional<RememberedPage> RememberedData::FindPage(int projectId, const std::string& url) {
  SqlStatement& select =
      Prepared(findPage_,
               "select URL, ETag, LastModified, Bytes, ScanGUID from RememberedPages "
               "where ProjectId = ? and URL = ?");
  select.Bind(1, std::int64_t{projectId}).Bind(2, url);
  std::optional<RememberedPage> page;
  if (select.Step()) {
    page = RememberedPage{select.Text(0), select.Text(1), select.Text(2), select.Integer(3), {},
                          select.Text(4)};
  }
  select.Reset();
  return page;
}

std::optional<std::string> RememberedData::LoadPageLinks(int projectId, const std::string& url) {
  SqlStatement& select =
      Prepared(pageLinks_, "select Links from RememberedPages where ProjectId = ? and URL = ?");
  select.Bind(1, std::int64_t{projectId}).Bind(2, url);
  std::optional<std::string> links;
  if (select.Step()) links = select.Text(0);
  select.Reset();
  return links;
}

std::vector<RememberedPhoto> RememberedData::StoredWithHash(int projectId, const std::string& hash,
                                                            int limit) {
  SqlStatement& select =
      Prepared(withHash_,
               "select URL, Bytes, Hash, Path, Outcome, ScanGUID from RememberedPhotos "
               "where ProjectId = ? and Hash = ? and Outcome in (1, 2) "
               "order by rowid desc limit ?");
  select.Bind(1, std::int64_t{projectId}).Bind(2, hash).Bind(3, std::int64_t{limit});
  std::vector<RememberedPhoto> photos;
  while (select.Step()) photos.push_back(PhotoFrom(select));
  select.Reset();
  return photos;
}

void RememberedData::Write(int projectId, const std::vector<RememberedPhoto>& photos,
                           const std::vector<RememberedPage>& pages) {
  ExecuteUpdate("begin immediate");
  try {
    SqlStatement photo(Connection(),
                       "insert or replace into RememberedPhotos values (?, ?, ?, ?, ?, ?, ?)");
    for (const RememberedPhoto& p : photos) {
      photo.Bind(1, std::int64_t{projectId}).Bind(2, p.url).Bind(3, p.bytes).Bind(4, p.hash);
      photo.Bind(5, p.path).Bind(6, static_cast<std::int64_t>(p.outcome)).Bind(7, p.scanGuid);
      photo.Run();
    }
    SqlStatement page(Connection(),
                      "insert or replace into RememberedPages values (?, ?, ?, ?, ?, ?, ?)");
    for (const RememberedPage& p : pages) {
      page.Bind(1, std::int64_t{projectId}).Bind(2, p.url).Bind(3, p.etag).Bind(4, p.lastModified);
      page.Bind(5, p.bytes).BindBlob(6, p.links).Bind(7, p.scanGuid);
      page.Run();
    }
    ExecuteUpdate("commit");
  } catch (...) {
    ExecuteUpdate("rollback");
    throw;
  }
}

void RememberedData::ForgetProject(int projectId) {
  for (const char* sql : {"delete from RememberedPhotos where ProjectId = ?",
                          "delete from RememberedPages where ProjectId = ?",
                          "delete from UnfinishedScans where ProjectId = ?"}) {
    SqlStatement(Connection(), sql).Bind(1, std::int64_t{projectId}).Run();
  }
}

std::optional<UnfinishedScan> RememberedData::Unfinished(int projectId) {
  SqlStatement select(Connection(),
                      "select ScanGUID, LinkIds, LinkIndex, TransferSeconds, ElapsedSeconds, "
                      "Everything from UnfinishedScans where ProjectId = ?");
  select.Bind(1, std::int64_t{projectId});
  if (!select.Step()) return std::nullopt;
  return UnfinishedScan{projectId,
                        select.Text(0),
                        SplitIds(select.Text(1)),
                        static_cast<int>(select.Integer(2)),
                        select.Integer(3),
                        select.Integer(4),
                        select.Integer(5) != 0};
}

void RememberedData::SetUnfinished(const UnfinishedScan& scan) {
  SqlStatement insert(Connection(),
                      "insert or replace into UnfinishedScans (ProjectId, ScanGUID, LinkIds, "
                      "LinkIndex, TransferSeconds, ElapsedSeconds, Everything) "
                      "values (?, ?, ?, ?, ?, ?, ?)");
  insert.Bind(1, std::int64_t{scan.projectId})
      .Bind(2, scan.scanGuid)
      .Bind(3, JoinIds(scan.linkIds));
  insert.Bind(4, std::int64_t{scan.linkIndex}).Bind(5, scan.transferSeconds);
  insert.Bind(6, scan.elapsedSeconds).Bind(7, std::int64_t{scan.everything}).Run();
}

void RememberedData::ClearUnfinished(int projectId) {
  SqlStatement(Connection(), "delete from UnfinishedScans where ProjectId = ?")
      .Bind(1, std::int64_t{projectId})
      .Run();
}

namespace {

// Runs `work` on the database opened for it alone; `failed` when the database fails.
template <typename Result, typename Work>
Result Quietly(const std::string& databasePath, Result failed, Work work) {
  try {
    RememberedData data(databasePath);
    return work(data);
  } catch (const DatabaseError&) {
    return failed;
  }
}

}  // namespace

bool ForgetRememberedData(const std::string& databasePath, int projectId) {
  return Quietly(databasePath, false, [&](RememberedData& data) {
    data.ForgetProject(projectId);
    return true;
  });
}

std::optional<UnfinishedScan> LoadUnfinishedScan(const std::string& databasePath, int projectId) {
  return Quietly(databasePath, std::optional<UnfinishedScan>(),
                 [&](RememberedData& data) { return data.Unfinished(projectId); });
}

bool SaveUnfinishedScan(const std::string& databasePath, const UnfinishedScan& scan) {
  return Quietly(databasePath, false, [&](RememberedData& data) {
    data.SetUnfinished(scan);
    return true;
  });
}

bool ClearUnfinishedScan(const std::string& databasePath, int projectId) {
  return Quietly(databasePath, false, [&](RememberedData& data) {
    data.ClearUnfinished(projectId);
    return true;
  });
}

}  // namespace trawlix
