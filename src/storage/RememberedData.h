#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "storage/Database.h"
#include "storage/SqlStatement.h"

namespace trawlix {

// What became of a photo a scan fetched.
enum class PhotoOutcome {
  Saved = 1,
  Replaced = 2,   // it took the place of a photo already there
  Refused = 3,    // a filter or the duplicate rule left it out
  Duplicate = 4,  // the same bytes were already saved; `path` names that photo
};

struct RememberedPhoto {
  std::string url;
  std::int64_t bytes = 0;
  std::string hash;  // of the bytes as downloaded, lower-case hex
  std::string path;  // where it was stored
  PhotoOutcome outcome = PhotoOutcome::Saved;
  std::string scanGuid;
};

struct RememberedPage {
  std::string url;
  std::string etag;
  std::string lastModified;
  std::int64_t bytes = 0;
  std::string links;  // what the page gave, in the scan's own encoding; empty when not loaded
  std::string scanGuid;
};

// A scan that has not ended by itself: stopped, killed or crashed. A project has one at most.
struct UnfinishedScan {
  int projectId = -1;
  std::string scanGuid;              // of the link being scanned
  std::vector<int> linkIds;          // a multi-link scan's links; empty for the project's address
  int linkIndex = 0;                 // the link being scanned
  std::int64_t transferSeconds = 0;  // of the parts already done
  std::int64_t elapsedSeconds = 0;
  bool everything = false;  // a rescan of everything, which the resumed run goes on with
};

// The tables that let a scan skip what earlier scans fetched and resume where one ended.
// They live in the project database beside the others, which know nothing of them.
class RememberedData : public Database {
 public:
  // Opens the database and creates the tables when missing. Raises DatabaseError.
  explicit RememberedData(const std::string& databasePath);

  // Looked up by address, without letter case, each through a statement prepared once.
  std::optional<RememberedPhoto> FindPhoto(int projectId, const std::string& url);
  // Without its links.
  std::optional<RememberedPage> FindPage(int projectId, const std::string& url);
  std::optional<std::string> LoadPageLinks(int projectId, const std::string& url);
  // Photos saved (or replacing another) with these bytes, the last written first; at most
  // `limit`.
  std::vector<RememberedPhoto> StoredWithHash(int projectId, const std::string& hash, int limit);

  // Adds or replaces the rows, in one transaction.
  void Write(int projectId, const std::vector<RememberedPhoto>& photos,
             const std::vector<RememberedPage>& pages);
  void ForgetProject(int projectId);

  std::optional<UnfinishedScan> Unfinished(int projectId);
  void SetUnfinished(const UnfinishedScan& scan);
  void ClearUnfinished(int projectId);

 private:
  bool HasColumn(const char* table, const char* column);
  SqlStatement& Prepared(std::unique_ptr<SqlStatement>& statement, const char* sql);

  std::unique_ptr<SqlStatement> findPhoto_;
  std::unique_ptr<SqlStatement> findPage_;
  std::unique_ptr<SqlStatement> pageLinks_;
  std::unique_ptr<SqlStatement> withHash_;
};

// The same, each opening the database on its own; false (quietly) when it fails.
bool ForgetRememberedData(const std::string& databasePath, int projectId);
std::optional<UnfinishedScan> LoadUnfinishedScan(const std::string& databasePath, int projectId);
bool SaveUnfinishedScan(const std::string& databasePath, const UnfinishedScan& scan);
bool ClearUnfinishedScan(const std::string& databasePath, int projectId);

}  // namespace trawlix
