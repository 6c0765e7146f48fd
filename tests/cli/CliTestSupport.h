#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "storage/Database.h"
#include "storage/DatabaseQuery.h"
#include "support/HomeOverride.h"
#include "support/TempDir.h"

namespace trawlix::cli::testing {

// Runs the tool in-process on a fresh data folder, with a home folder of its own so that
// the pictures folder (the default 'Save To' location) lies inside the test's folder.
class CliTest : public ::testing::Test {
 protected:
  CliTest() { std::filesystem::create_directories(home()); }

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

  // Rows of one statement as stored, each column's text joined by "|".
  std::vector<std::string> Query(const std::string& sql) const {
    Database db;
    db.Open(database());
    std::vector<std::string> rows;
    for (DatabaseQuery query = db.ExecuteQuery(sql); !query.AtEnd(); query.NextRow()) {
      std::string& row = rows.emplace_back();
      for (int i = 0; i < query.ColumnCount(); ++i) {
        const char* text = query.ColumnText(i);
        row += (i > 0 ? "|" : "") + std::string(text != nullptr ? text : "");
      }
    }
    return rows;
  }

  std::string QueryOne(const std::string& sql) const {
    const auto rows = Query(sql);
    return rows.empty() ? std::string("<none>") : rows.front();
  }

  bool OutHas(const std::string& text) const { return out_.find(text) != std::string::npos; }
  bool ErrHas(const std::string& text) const { return err_.find(text) != std::string::npos; }
  long OutLines() const { return std::count(out_.begin(), out_.end(), '\n'); }

  trawlix::testing::TempDir dir_;
  trawlix::testing::HomeOverride homeOverride_{home().string()};
  std::string out_;
  std::string err_;
};

}  // namespace trawlix::cli::testing
