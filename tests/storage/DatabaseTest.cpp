#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "storage/Database.h"
#include "storage/DatabaseError.h"
#include "storage/DatabaseQuery.h"
#include "support/TempDir.h"

namespace trawlix {
namespace {

using testing::TempDir;

const std::string kNotOpen = "CPPSQLITE_ERROR[1000]: Database not open";
const std::string kNoStatement = "CPPSQLITE_ERROR[1000]: Null Virtual Machine pointer";

// Runs `body` and returns the message of the DatabaseError it raised ("" when none).
template <class F>
std::string RaisedMessage(F&& body) {
  try {
    body();
  } catch (const DatabaseError& error) {
    return error.Message();
  }
  return "";
}

class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db.Open((dir / "test.db").string());
    db.ExecuteUpdate("CREATE TABLE T (Id INTEGER PRIMARY KEY, Name TEXT, N INTEGER);");
  }
  TempDir dir;
  Database db;
};

TEST(DatabaseError, CodeNamesAndMessageForm) {
  const std::pair<int, const char*> cases[] = {
      {0, "SQLITE_OK"},          {14, "SQLITE_CANTOPEN"}, {26, "UNKNOWN_ERROR"},
      {101, "SQLITE_DONE"},      {-1, "UNKNOWN_ERROR"},   {99, "UNKNOWN_ERROR"},
      {1000, "CPPSQLITE_ERROR"},
  };
  for (const auto& [code, name] : cases) {
    EXPECT_STREQ(DatabaseError::ErrorCodeAsString(code), name) << code;
  }
  EXPECT_STREQ(DatabaseError(7, "").Message(), "SQLITE_NOMEM[7]: ");
  // Printf directives in a detail are text, not formats.
  EXPECT_STREQ(DatabaseError(1, "100%s").Message(), "SQLITE_ERROR[1]: 100%s");
}

TEST(DatabaseError, EachCopyOwnsItsMessage) {
  auto copy = std::make_unique<DatabaseError>(DatabaseError(5, "database is locked"));
  DatabaseError second(copy->Code(), "other");
  second = *copy;
  const DatabaseError third(*copy);
  copy.reset();
  EXPECT_STREQ(second.Message(), "SQLITE_BUSY[5]: database is locked");
  EXPECT_STREQ(third.what(), "SQLITE_BUSY[5]: database is locked");
}

TEST(Database, ClosedOrUnopenableConnectionRefusesStatements) {
  Database db;
  EXPECT_EQ(RaisedMessage([&] { db.ExecuteUpdate("SELECT 1;"); }), kNotOpen);
  EXPECT_EQ(RaisedMessage([&] { db.ExecuteQuery("SELECT 1;"); }), kNotOpen);
  EXPECT_EQ(RaisedMessage([&] { db.ExecuteScalar("SELECT 1;"); }), kNotOpen);
  db.Close();  // closing a closed connection does nothing

  TempDir dir;
  EXPECT_EQ(RaisedMessage([&] { db.Open((dir / "missing" / "x.db").string()); }),
            "SQLITE_CANTOPEN[14]: unable to open database file");
  EXPECT_FALSE(db.IsOpen());
}

TEST_F(DatabaseTest, ExecuteUpdateCountsTheLastStatementsChanges) {
  EXPECT_EQ(db.ExecuteUpdate("INSERT INTO T (Name, N) VALUES ('a', 1);"), 1);
  EXPECT_EQ(db.ExecuteUpdate("INSERT INTO T (N) VALUES (2); INSERT INTO T (N) VALUES (3);"), 1);
  EXPECT_EQ(db.ExecuteUpdate("UPDATE T SET N=9 WHERE Id=999"), 0);
  EXPECT_EQ(db.ExecuteUpdate("DELETE FROM T WHERE N<3"), 2);
  EXPECT_EQ(RaisedMessage([&] { db.ExecuteUpdate("INSERT INTO Nowhere VALUES (1);"); }),
            "SQLITE_ERROR[1]: no such table: Nowhere");
  EXPECT_FALSE(db.TableExists("Nowhere"));
}

TEST_F(DatabaseTest, ScalarReadsTheFirstFieldAsAClampedInteger) {
  EXPECT_EQ(db.ExecuteScalar("SELECT COUNT(*) FROM T;"), 0);
  EXPECT_EQ(RaisedMessage([&] { db.ExecuteScalar("SELECT N FROM T;"); }),
            "CPPSQLITE_ERROR[1000]: Invalid scalar query");
  db.ExecuteUpdate("INSERT INTO T (Name, N) VALUES ('12abc', NULL);");
  EXPECT_EQ(db.ExecuteScalar("SELECT Name FROM T;"), 12);
  EXPECT_EQ(db.ExecuteScalar("SELECT N FROM T;"), 0);
  EXPECT_EQ(db.ExecuteScalar("SELECT 99999999999;"), 2147483647);
  EXPECT_EQ(db.ExecuteScalar("SELECT -99999999999;"), -2147483647 - 1);
}

TEST_F(DatabaseTest, QueryWalksRowsAndChecksFieldIndexes) {
  db.ExecuteUpdate("INSERT INTO T (Name, N) VALUES ('a', 1); INSERT INTO T (N) VALUES (2);");
  DatabaseQuery query = db.ExecuteQuery("SELECT Name, N FROM T ORDER BY Id;");
  ASSERT_FALSE(query.AtEnd());
  EXPECT_EQ(query.ColumnCount(), 2);
  EXPECT_STREQ(query.ColumnName(1), "N");
  EXPECT_STREQ(query.ColumnText(0), "a");
  const std::string badIndex = "CPPSQLITE_ERROR[1000]: Invalid field index requested";
  EXPECT_EQ(RaisedMessage([&] { query.ColumnText(-1); }), badIndex);
  EXPECT_EQ(RaisedMessage([&] { query.ColumnName(2); }), badIndex);
  query.NextRow();
  EXPECT_EQ(query.ColumnText(0), nullptr);
  EXPECT_STREQ(query.ColumnText(1), "2");
  query.NextRow();
  EXPECT_TRUE(query.AtEnd());

  query.Finalize();
  EXPECT_EQ(RaisedMessage([&] { query.NextRow(); }), kNoStatement);
  EXPECT_EQ(RaisedMessage([&] { query.ColumnText(0); }), kNoStatement);
  query.Finalize();  // finalising twice does nothing
  EXPECT_TRUE(db.ExecuteQuery("SELECT * FROM T WHERE Id=42;").AtEnd());
}

TEST_F(DatabaseTest, BadQueriesRaise) {
  // A statement that does not compile carries the code and no detail.
  EXPECT_EQ(RaisedMessage([&] { db.ExecuteQuery("SELEC nonsense"); }), "SQLITE_ERROR[1]: ");
  EXPECT_EQ(RaisedMessage([&] { db.ExecuteQuery("   "); }), kNoStatement);
  // A failure at the first step finalises and reports SQLite's message.
  db.ExecuteUpdate("CREATE TABLE U (V INTEGER UNIQUE); INSERT INTO U VALUES (1);");
  const std::string message =
      RaisedMessage([&] { db.ExecuteQuery("INSERT INTO U VALUES (1) RETURNING V;"); });
  EXPECT_EQ(message.rfind("SQLITE_CONSTRAINT[19]: ", 0), 0u) << message;
}

TEST_F(DatabaseTest, QueriesMoveAndOutliveTheirConnection) {
  EXPECT_EQ(RaisedMessage([] { DatabaseQuery().AtEnd(); }), kNoStatement);
  db.ExecuteUpdate("INSERT INTO T (Name, N) VALUES ('a', 1);");
  DatabaseQuery first = db.ExecuteQuery("SELECT Name FROM T;");
  DatabaseQuery target = db.ExecuteQuery("SELECT N FROM T;");
  target = std::move(first);
  EXPECT_EQ(RaisedMessage([&] { first.ColumnCount(); }),  // NOLINT(bugprone-use-after-move)
            kNoStatement);
  DatabaseQuery moved(std::move(target));
  db.Close();
  EXPECT_STREQ(moved.ColumnText(0), "a");
}

TEST_F(DatabaseTest, BusyDatabaseFailsAfterTheTimeout) {
  Database other;
  other.Open((dir / "test.db").string());
  other.SetBusyTimeout(50);
  db.ExecuteUpdate("BEGIN EXCLUSIVE;");
  EXPECT_EQ(RaisedMessage([&] { other.ExecuteUpdate("INSERT INTO T (Name) VALUES ('x');"); }),
            "SQLITE_BUSY[5]: database is locked");
  db.ExecuteUpdate("COMMIT;");
  EXPECT_EQ(other.ExecuteUpdate("INSERT INTO T (Name) VALUES ('x');"), 1);
}

}  // namespace
}  // namespace trawlix
