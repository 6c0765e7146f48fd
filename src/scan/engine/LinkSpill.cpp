#include "scan/engine/LinkSpill.h"

#include <filesystem>
#include <system_error>

#include "base/Path.h"

namespace trawlix {

namespace fs = std::filesystem;

namespace {

// NOCASE folds exactly ASCII A-Z and compares the rest as unsigned bytes: the lists' order.
constexpr const char* kCreate = R"(
pragma journal_mode = off;
pragma synchronous = off;
create table Pending (URL text primary key collate nocase) without rowid;
create table Scanned (URL text primary key collate nocase) without rowid;
create table Photos (URL text primary key collate nocase) without rowid;
)";

constexpr const char* kTables[] = {"Pending", "Scanned", "Photos"};

// Rows written before a commit: fewer commits, and a bounded amount of uncommitted work.
constexpr std::size_t kRowsPerCommit = 4096;

std::size_t Index(LinkSpill::Table table) {
  return static_cast<std::size_t>(table);
}

}  // namespace

LinkSpill::LinkSpill(std::string path) : path_(std::move(path)) {
  std::error_code ignored;
  fs::create_directories(fs::path(path_).parent_path(), ignored);
  fs::remove(path_, ignored);
  Open(path_);
  ExecuteUpdate(kCreate);
}

LinkSpill::~LinkSpill() {
  Close();
  std::error_code ignored;
  fs::remove(path_, ignored);
}

std::string LinkSpill::PathFor(const std::string& databasePath, int projectId) {
  if (databasePath.empty()) return {};
  return SplitPath(databasePath).folder + "Resume/project-" + std::to_string(projectId) + ".links";
}

SqlStatement& LinkSpill::Prepared(std::unique_ptr<SqlStatement>& statement,
                                  const std::string& sql) {
  if (!statement) statement = std::make_unique<SqlStatement>(Connection(), sql.c_str());
  return statement->Reset();
}

bool LinkSpill::Add(Table table, const std::string& url) {
  const std::size_t i = Index(table);
  SqlStatement& insert = Prepared(
      inserts_[i], std::string("insert or ignore into ") + kTables[i] + " (URL) values (?)");
  if (!inTransaction_) {
    ExecuteUpdate("begin");
    inTransaction_ = true;
  }
  const bool added = insert.Bind(1, url).Run() > 0;
  Wrote(1);
  return added;
}

void LinkSpill::AddAll(Table table, const std::vector<std::string>& urls) {
  for (const std::string& url : urls) Add(table, url);
  Commit();
}

bool LinkSpill::Contains(Table table, const std::string& url) {
  const std::size_t i = Index(table);
  SqlStatement& lookup =
      Prepared(lookups_[i], std::string("select 1 from ") + kTables[i] + " where URL = ?");
  const bool found = lookup.Bind(1, url).Step();
  lookup.Reset();
  return found;
}

std::vector<std::string> LinkSpill::TakeFirstPending(std::size_t count) {
  SqlStatement& first = Prepared(firstPending_, "select URL from Pending order by URL limit ?");
  first.Bind(1, static_cast<std::int64_t>(count));
  std::vector<std::string> urls;
  while (first.Step()) urls.push_back(first.Text(0));
  first.Reset();
  if (urls.empty()) return urls;
  Prepared(removePending_, "delete from Pending where URL <= ?").Bind(1, urls.back()).Run();
  Commit();
  return urls;
}

std::optional<std::string> LinkSpill::FirstPending() {
  SqlStatement& select = Prepared(firstPending_, "select URL from Pending order by URL limit ?");
  select.Bind(1, std::int64_t{1});
  std::optional<std::string> url;
  if (select.Step()) url = select.Text(0);
  select.Reset();
  return url;
}

void LinkSpill::Wrote(std::size_t rows) {
  uncommitted_ += rows;
  if (uncommitted_ >= kRowsPerCommit) Commit();
}

void LinkSpill::Commit() {
  if (!inTransaction_) return;
  ExecuteUpdate("commit");
  inTransaction_ = false;
  uncommitted_ = 0;
}

}  // namespace trawlix
