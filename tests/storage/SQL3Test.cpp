#include <gtest/gtest.h>

#include <string>

#include "storage/SQL3DB.h"
#include "storage/SQL3Exception.h"
#include "storage/SQL3Query.h"
#include "support/TempDir.h"

namespace trawlix {
namespace {

using testing::TempDir;

// Runs `body` and returns the message of the CSQL3Exception it raised ("" when none).
template <class F>
std::string RaisedMessage(F&& body) {
  try {
    body();
  } catch (const CSQL3Exception& error) {
    return error.Message();
  }
  return "";
}

class SQL3Test : public ::testing::Test {
 protected:
  void SetUp() override {
    db.Open((dir / "test.db").string());
    db.ExecuteUpdate("CREATE TABLE T (Id INTEGER PRIMARY KEY, Name TEXT, N INTEGER);");
  }
  TempDir dir;
  CSQL3DB db;
};

TEST(SQL3Exception, CodeNamesAndMessageForm) {
  struct Case {
    int code;
    const char* name;
  };
  const Case cases[] = {
      {0, "SQLITE_OK"},          {1, "SQLITE_ERROR"},       {5, "SQLITE_BUSY"},
      {14, "SQLITE_CANTOPEN"},   {19, "SQLITE_CONSTRAINT"}, {25, "SQLITE_RANGE"},
      {26, "UNKNOWN_ERROR"},     {100, "SQLITE_ROW"},       {101, "SQLITE_DONE"},
      {1000, "CPPSQLITE_ERROR"}, {-1, "UNKNOWN_ERROR"},     {99, "UNKNOWN_ERROR"},
  };
  for (const auto& c : cases) {
    EXPECT_STREQ(CSQL3Exception::ErrorCodeAsString(c.code), c.name) << c.code;
  }
  const CSQL3Exception error(1000, "Database not open");
  EXPECT_EQ(error.Code(), 1000);
  EXPECT_STREQ(error.Message(), "CPPSQLITE_ERROR[1000]: Database not open");
  EXPECT_STREQ(CSQL3Exception(7, "").Message(), "SQLITE_NOMEM[7]: ");
  // Printf directives in a detail are text, not formats.
  EXPECT_STREQ(CSQL3Exception(1, "100%s").Message(), "SQLITE_ERROR[1]: 100%s");
}

TEST(SQL3Exception, EachCopyOwnsItsMessage) {
  auto copy = std::make_unique<CSQL3Exception>(CSQL3Exception(5, "database is locked"));
  CSQL3Exception second(copy->Code(), "other");
  second = *copy;
  const CSQL3Exception third(*copy);
  copy.reset();
  EXPECT_STREQ(second.Message(), "SQLITE_BUSY[5]: database is locked");
  EXPECT_STREQ(third.Message(), "SQLITE_BUSY[5]: database is locked");
  EXPECT_STREQ(third.what(), third.Message());
}

TEST(SQL3DB, ClosedConnectionRefusesEveryStatement) {
  CSQL3DB db;
  const std::string expected = "CPPSQLITE_ERROR[1000]: Database not open";
  EXPECT_EQ(RaisedMessage([&] { db.ExecuteUpdate("SELECT 1;"); }), expected);
  EXPECT_EQ(RaisedMessage([&] { db.ExecuteQuery("SELECT 1;"); }), expected);
  EXPECT_EQ(RaisedMessage([&] { db.ExecuteScalar("SELECT 1;"); }), expected);
  db.Close();
  db.Close();  // a second close does nothing
}

TEST(SQL3DB, OpenFailureNamesCantOpen) {
  TempDir dir;
  CSQL3DB db;
  try {
    db.Open((dir / "missing" / "folder" / "x.db").string());
    FAIL() << "opened a file in a missing folder";
  } catch (const CSQL3Exception& error) {
    EXPECT_EQ(error.Code(), 14);
    EXPECT_STREQ(error.Message(), "SQLITE_CANTOPEN[14]: unable to open database file");
  }
  EXPECT_FALSE(db.IsOpen());
}

TEST_F(SQL3Test, NewFileHasNoTables) {
  CSQL3DB fresh;
  fresh.Open((dir / "fresh.db").string());
  for (const char* name : {"Projects", "ProjectLinks", "ScanHistory", "Categories", "T"}) {
    EXPECT_FALSE(fresh.TableExists(name)) << name;
  }
  EXPECT_TRUE(db.TableExists("T"));
}

TEST_F(SQL3Test, ExecuteUpdateCountsChangedRows) {
  EXPECT_EQ(db.ExecuteUpdate("INSERT INTO T (Name, N) VALUES ('a', 1);"), 1);
  EXPECT_EQ(db.ExecuteUpdate("INSERT INTO T (Name, N) VALUES ('b', 2); INSERT INTO T (Name, N) "
                             "VALUES ('c', 3);"),
            1);
  EXPECT_EQ(db.ExecuteUpdate("UPDATE T SET N=9 WHERE Id=999"), 0);
  EXPECT_EQ(db.ExecuteUpdate("DELETE FROM T WHERE N<3"), 2);
  EXPECT_EQ(RaisedMessage([&] { db.ExecuteUpdate("INSERT INTO Nowhere VALUES (1);"); }),
            "SQLITE_ERROR[1]: no such table: Nowhere");
}

TEST_F(SQL3Test, ScalarEdgeCases) {
  EXPECT_EQ(db.ExecuteScalar("SELECT COUNT(*) FROM T;"), 0);
  EXPECT_EQ(RaisedMessage([&] { db.ExecuteScalar("SELECT N FROM T;"); }),
            "CPPSQLITE_ERROR[1000]: Invalid scalar query");
  db.ExecuteUpdate("INSERT INTO T (Name, N) VALUES ('12abc', 5);");
  db.ExecuteUpdate("INSERT INTO T (Name, N) VALUES ('word', NULL);");
  EXPECT_EQ(db.ExecuteScalar("SELECT Name FROM T WHERE Id=1;"), 12);
  EXPECT_EQ(db.ExecuteScalar("SELECT Name FROM T WHERE Id=2;"), 0);
  EXPECT_EQ(db.ExecuteScalar("SELECT N FROM T WHERE Id=2;"), 0);
  EXPECT_EQ(db.ExecuteScalar("SELECT TOTAL(N) FROM T;"), 5);
  EXPECT_EQ(db.ExecuteScalar("SELECT -7;"), -7);
  EXPECT_EQ(db.ExecuteScalar("SELECT 99999999999;"), 2147483647);
  EXPECT_EQ(db.ExecuteScalar("SELECT -99999999999;"), -2147483647 - 1);
}

TEST_F(SQL3Test, QueryWalksRowsAndChecksFieldIndexes) {
  db.ExecuteUpdate(
      "INSERT INTO T (Name, N) VALUES ('a', 1); INSERT INTO T (Name, N) VALUES "
      "(NULL, 2);");
  CSQL3Query query = db.ExecuteQuery("SELECT Name, N FROM T ORDER BY Id;");
  ASSERT_FALSE(query.AtEnd());
  EXPECT_EQ(query.ColumnCount(), 2);
  EXPECT_STREQ(query.ColumnName(1), "N");
  EXPECT_STREQ(query.ColumnText(0), "a");
  const std::string badIndex = "CPPSQLITE_ERROR[1000]: Invalid field index requested";
  EXPECT_EQ(RaisedMessage([&] { query.ColumnText(-1); }), badIndex);
  EXPECT_EQ(RaisedMessage([&] { query.ColumnText(2); }), badIndex);
  EXPECT_EQ(RaisedMessage([&] { query.ColumnName(2); }), badIndex);
  query.NextRow();
  ASSERT_FALSE(query.AtEnd());
  EXPECT_EQ(query.ColumnText(0), nullptr);
  EXPECT_STREQ(query.ColumnText(1), "2");
  query.NextRow();
  EXPECT_TRUE(query.AtEnd());

  query.Finalize();
  const std::string noStatement = "CPPSQLITE_ERROR[1000]: Null Virtual Machine pointer";
  EXPECT_EQ(RaisedMessage([&] { query.AtEnd(); }), noStatement);
  EXPECT_EQ(RaisedMessage([&] { query.NextRow(); }), noStatement);
  EXPECT_EQ(RaisedMessage([&] { query.ColumnText(0); }), noStatement);
  EXPECT_EQ(RaisedMessage([&] { query.ColumnCount(); }), noStatement);
  query.Finalize();  // finalising twice does nothing
}

TEST_F(SQL3Test, EmptyResultIsAtEndAtOnce) {
  CSQL3Query query = db.ExecuteQuery("SELECT * FROM T WHERE Id=42;");
  EXPECT_TRUE(query.AtEnd());
  EXPECT_EQ(query.ColumnCount(), 3);
}

TEST_F(SQL3Test, BadQueriesRaise) {
  // A statement that does not compile carries the code and no detail.
  EXPECT_EQ(RaisedMessage([&] { db.ExecuteQuery("SELEC nonsense"); }), "SQLITE_ERROR[1]: ");
  EXPECT_EQ(RaisedMessage([&] { db.ExecuteQuery("   "); }),
            "CPPSQLITE_ERROR[1000]: Null Virtual Machine pointer");
  // A failure at the first step finalises and reports SQLite's message.
  db.ExecuteUpdate("CREATE TABLE U (V INTEGER UNIQUE); INSERT INTO U VALUES (1);");
  const std::string message =
      RaisedMessage([&] { db.ExecuteQuery("INSERT INTO U VALUES (1) RETURNING V;"); });
  EXPECT_EQ(message.rfind("SQLITE_CONSTRAINT[19]: ", 0), 0u) << message;
}

TEST_F(SQL3Test, QueriesMoveAndDefaultToEmpty) {
  CSQL3Query empty;
  EXPECT_EQ(RaisedMessage([&] { empty.AtEnd(); }),
            "CPPSQLITE_ERROR[1000]: Null Virtual Machine pointer");
  db.ExecuteUpdate("INSERT INTO T (Name, N) VALUES ('a', 1);");
  CSQL3Query first = db.ExecuteQuery("SELECT Name FROM T;");
  CSQL3Query target = db.ExecuteQuery("SELECT N FROM T;");
  target = std::move(first);
  EXPECT_STREQ(target.ColumnText(0), "a");
  EXPECT_EQ(RaisedMessage([&] { first.ColumnCount(); }),  // NOLINT(bugprone-use-after-move)
            "CPPSQLITE_ERROR[1000]: Null Virtual Machine pointer");
  CSQL3Query moved(std::move(target));
  EXPECT_STREQ(moved.ColumnText(0), "a");
}

TEST_F(SQL3Test, QueryAliveAtCloseStaysUsableUntilFinalised) {
  db.ExecuteUpdate("INSERT INTO T (Name, N) VALUES ('a', 1);");
  CSQL3Query query = db.ExecuteQuery("SELECT Name FROM T;");
  db.Close();
  EXPECT_FALSE(db.IsOpen());
  EXPECT_STREQ(query.ColumnText(0), "a");
  query.Finalize();
}

TEST_F(SQL3Test, BusyDatabaseFailsAfterTheTimeout) {
  CSQL3DB other;
  other.Open((dir / "test.db").string());
  other.SetBusyTimeout(50);
  db.ExecuteUpdate("BEGIN EXCLUSIVE;");
  const std::string message =
      RaisedMessage([&] { other.ExecuteUpdate("INSERT INTO T (Name) VALUES ('x');"); });
  EXPECT_EQ(message, "SQLITE_BUSY[5]: database is locked");
  db.ExecuteUpdate("COMMIT;");
  EXPECT_EQ(other.ExecuteUpdate("INSERT INTO T (Name) VALUES ('x');"), 1);
}

}  // namespace
}  // namespace trawlix
