#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "support/TempDir.h"

namespace trawlix::cli::testing {

// Runs the tool in-process on a fresh data folder, with a home folder of its own so that
// the pictures folder (the default 'Save To' location) lies inside the test's folder.
class CliTest : public ::testing::Test {
 protected:
  CliTest() {
    SaveEnv("HOME");
    SaveEnv("XDG_CONFIG_HOME");
    std::filesystem::create_directories(home());
    ::setenv("HOME", home().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
  }
  ~CliTest() override {
    for (const auto& [name, value] : savedEnv_) {
      if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
      } else {
        ::unsetenv(name.c_str());
      }
    }
  }

  std::filesystem::path dataDir() const { return dir_ / "data"; }
  std::filesystem::path home() const { return dir_ / "home"; }
  std::filesystem::path pictures() const { return home() / "Pictures"; }
  std::string database() const { return (dataDir() / "Projects_v2.4.txdb").string(); }

  // Runs "trawlix-cli --data-dir DATA args..."; keeps what was printed.
  int Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--data-dir", dataDir().string()});
    std::ostringstream out;
    std::ostringstream err;
    const int code = RunCli(args, out, err);
    out_ = out.str();
    err_ = err.str();
    return code;
  }

  // Rows of one query, each column's text joined by "|".
  std::vector<std::string> Query(const std::string& sql) const {
    std::vector<std::string> rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(database().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
      sqlite3_close(db);
      ADD_FAILURE() << "cannot open " << database();
      return rows;
    }
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
      while (sqlite3_step(statement) == SQLITE_ROW) {
        std::string row;
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
          const auto* text = sqlite3_column_text(statement, i);
          if (i > 0) row += '|';
          row += text != nullptr ? reinterpret_cast<const char*>(text) : "";
        }
        rows.push_back(row);
      }
    } else {
      ADD_FAILURE() << sqlite3_errmsg(db) << " in " << sql;
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
  }

  std::string QueryOne(const std::string& sql) const {
    const auto rows = Query(sql);
    return rows.empty() ? std::string("<none>") : rows.front();
  }

  bool OutHas(const std::string& text) const { return out_.find(text) != std::string::npos; }
  bool ErrHas(const std::string& text) const { return err_.find(text) != std::string::npos; }

  trawlix::testing::TempDir dir_;
  std::string out_;
  std::string err_;

 private:
  void SaveEnv(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    savedEnv_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> savedEnv_;
};

}  // namespace trawlix::cli::testing
