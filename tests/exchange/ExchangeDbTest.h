#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/ProjectExporter.h"
#include "settings/SettingsValues.h"
#include "storage/CategoriesTable.h"
#include "storage/ProjectLinksTable.h"
#include "storage/ProjectsTable.h"
#include "storage/ScanHistoryTable.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

namespace trawlix::exchange::testing {

// A fresh project database in a temporary folder, with helpers to fill and inspect it.
class ExchangeDbTest : public ::testing::Test {
 protected:
  ExchangeDbTest() {
    settings.defaultSaveTo = (dir / "Pictures").string();
    settings.newProjectCategory = "Miscellaneous";
  }

  std::string DbPath(const std::string& name = "Projects_v2.4.txdb") const {
    return (dir / name).string();
  }
  std::string TempFolder() const { return (dir / "Temp").string(); }

  int AddCategory(const std::string& name, const std::string& db = {}) {
    CCategoriesTable table(db.empty() ? DbPath() : db, messages);
    EXPECT_TRUE(table.OpenTable());
    EXPECT_TRUE(table.InsertCategory(name));
    return table.CategoryIdByName(name);
  }

  int AddProject(const std::string& title, int categoryId, const std::string& db = {}) {
    CProjectsTable table(db.empty() ? DbPath() : db, messages);
    EXPECT_TRUE(table.OpenTable());
    CProjectsRecord r;
    r.m_nCatId = categoryId;
    r.m_lpszTitle = title;
    r.m_lpszURL = "http://site.example/" + std::to_string(title.size()) + "?a=1&b=2";
    r.m_lpszSaveTo = "/photos/" + title;
    r.m_nJPEG = 1;
    r.m_nPNG = 1;
    r.m_nGIF = 0;
    r.m_nBMP = 1;
    r.m_nICO = 1;
    r.m_nTIF = 0;
    r.m_nCreateFolders = 1;
    r.m_nSearchSubFolders = 0;
    r.m_lpszKeywords = "sea, sand";
    r.m_nFilterMinimumSize = 1;
    r.m_nMinimumSize = 640;
    r.m_nAutoRename = 1;
    r.m_nIncludePhotoSize = 1;
    r.m_nReplaceSpaces = 1;
    r.m_nPadNumbers = 1;
    r.m_nPadding = 4;
    r.m_lpszNamePrefix = "pre_";
    r.m_nAutoResize = 1;
    r.m_nResizeBoundingBox = 999;
    r.m_nKeywordMustExist = 1;
    r.m_nOrientation = 2;
    EXPECT_TRUE(table.InsertProject(r));
    return table.ExecuteScalar("SELECT MAX(Id) FROM Projects;");
  }

  void AddLink(int projectId, const std::string& url, int searchSubFolders = 1) {
    CProjectLinksRecord l;
    l.m_nProjectId = projectId;
    l.m_lpszdtDate = "01/02/2020";
    l.m_nSearchSubFolders = searchSubFolders;
    l.m_lpszTitle = "title";
    l.m_lpszURL = url;
    l.m_nKeywordMustExist = 1;
    l.m_lpszKeywords = "kw";
    l.m_lpszGUID = "G";
    l.m_nPhotos = 5;
    EXPECT_TRUE(AddProjectLink(DbPath(), messages, l));
  }

  void AddScan(int projectId, int savedImages) {
    CScanHistoryTable table(DbPath(), messages);
    ASSERT_TRUE(table.OpenTable());
    CScanHistoryRecord h;
    h.m_nProjectId = projectId;
    h.m_nSavedImages = savedImages;
    ASSERT_TRUE(table.InsertScanHistory(h));
  }

  std::vector<CProjectsRecord> Projects(const std::string& db = {}) {
    CProjectsTable table(db.empty() ? DbPath() : db, messages);
    std::vector<CProjectsRecord> rows;
    if (!table.OpenTable() || !table.LoadProjects("SELECT * FROM Projects ORDER BY Id;")) {
      return rows;
    }
    for (std::size_t i = 0; i < table.Records().size(); ++i) {
      table.SetCurrentIndex(static_cast<int>(i));
      table.GetCurrent(rows.emplace_back());
    }
    return rows;
  }

  std::vector<CProjectLinksRecord> Links(int projectId, const std::string& db = {}) {
    CProjectLinksTable table(db.empty() ? DbPath() : db, messages);
    std::vector<CProjectLinksRecord> rows;
    if (!table.OpenTable() || !table.LoadLinksOfProject(projectId)) return rows;
    for (std::size_t i = 0; i < table.Records().size(); ++i) {
      table.SetCurrentIndex(static_cast<int>(i));
      table.GetCurrent(rows.emplace_back());
    }
    return rows;
  }

  std::vector<std::string> CategoryNames(const std::string& db = {}) {
    CCategoriesTable table(db.empty() ? DbPath() : db, messages);
    std::vector<std::string> names;
    if (!table.OpenTable() || !table.LoadAllCategories()) return names;
    for (const auto& c : table.Records()) names.push_back(c.m_lpszName);
    return names;
  }

  static ExportRequest Request(std::vector<int> ids, std::string target) {
    ExportRequest request;
    request.projectIds = std::move(ids);
    request.target = std::move(target);
    return request;
  }

  ::trawlix::testing::TempDir dir;
  ::trawlix::testing::RecordingMessageSink messages;
  SettingsValues settings;
};

}  // namespace trawlix::exchange::testing
