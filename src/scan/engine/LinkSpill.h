#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "storage/Database.h"
#include "storage/SqlStatement.h"

namespace trawlix {

// The link lists' addresses that do not fit in memory, in a scratch SQLite file that is
// thrown away with this object (a file left by a killed run is replaced). Addresses compare
// as the lists do: bytes unsigned, ASCII letters folded, so "a" and "A" are one address and
// pending pages come back in the lists' order. Writes are grouped into transactions; the
// file is never made durable. Every failure raises DatabaseError. One thread only.
class LinkSpill : private Database {
 public:
  enum class Table { Pending = 0, Scanned = 1, Photos = 2 };

  explicit LinkSpill(std::string path);
  ~LinkSpill() override;
  LinkSpill(const LinkSpill&) = delete;
  LinkSpill& operator=(const LinkSpill&) = delete;

  // False when the address was already there.
  bool Add(Table table, const std::string& url);
  // Committed at the end, not address by address; addresses already there stay as they are.
  void AddAll(Table table, const std::vector<std::string>& urls);
  bool Contains(Table table, const std::string& url);
  // The first `count` pending addresses in order, removed from the file.
  std::vector<std::string> TakeFirstPending(std::size_t count);
  std::optional<std::string> FirstPending();

  // Where a project's scan keeps its scratch lists: beside its journal. Empty without a
  // database.
  static std::string PathFor(const std::string& databasePath, int projectId);

 private:
  void Wrote(std::size_t rows);
  void Commit();
  SqlStatement& Prepared(std::unique_ptr<SqlStatement>& statement, const std::string& sql);

  const std::string path_;
  std::array<std::unique_ptr<SqlStatement>, 3> inserts_;
  std::array<std::unique_ptr<SqlStatement>, 3> lookups_;
  std::unique_ptr<SqlStatement> firstPending_;
  std::unique_ptr<SqlStatement> removePending_;
  std::size_t uncommitted_ = 0;
  bool inTransaction_ = false;
};

}  // namespace trawlix
