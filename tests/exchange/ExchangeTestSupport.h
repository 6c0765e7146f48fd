#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "exchange/ExchangeRecords.h"
#include "exchange/ProjectExporter.h"
#include "settings/SettingsValues.h"
#include "storage/CategoriesTable.h"
#include "storage/ProjectLinksTable.h"
#include "storage/ProjectsTable.h"
#include "storage/ScanHistoryTable.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

namespace trawlix::exchange::testing {

// Hand-built record images: a zeroed buffer with values poked in at fixed offsets.
class ByteImage {
 public:
  explicit ByteImage(std::size_t size) : bytes_(size, '\0') {}

  ByteImage& Int(std::size_t offset, std::int32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
      bytes_[offset + i] = static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
    }
    return *this;
  }
  ByteImage& Text(std::size_t offset, std::string_view text) {
    bytes_.replace(offset, text.size(), text);
    return *this;
  }
  const std::string& str() const { return bytes_; }

 private:
  std::string bytes_;
};

// The settings an exchange file carries, as a database row and as a file record hold them.
inline auto Transported(const CProjectsRecord& r) {
  return std::tie(r.m_lpszTitle, r.m_lpszURL, r.m_lpszKeywords, r.m_lpszNamePrefix, r.m_nJPEG,
                  r.m_nPNG, r.m_nGIF, r.m_nBMP, r.m_nTIF, r.m_nCreateFolders, r.m_nSearchSubFolders,
                  r.m_nFilterMinimumSize, r.m_nMinimumSize, r.m_nAutoRename, r.m_nOrientation,
                  r.m_nPadNumbers, r.m_nPadding);
}
inline auto Transported(const CImportedProject& p) {
  return std::tie(p.m_lpszTitle, p.m_lpszURL, p.m_lpszKeywords, p.m_lpszNamePrefix, p.m_nJPEG,
                  p.m_nPNG, p.m_nGIF, p.m_nBMP, p.m_nTIF, p.m_nCreateFolders, p.m_nSearchSubFolders,
                  p.m_nFilterMinSize, p.m_nMinimumSize, p.m_nAutoRename, p.m_nOrientation,
                  p.m_nPadNumbers, p.m_nPadding);
}

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
  const std::string& Db(const std::string& db) const { return db.empty() ? dbPath_ : db; }

  int AddCategory(const std::string& name, const std::string& db = {}) {
    CCategoriesTable table(Db(db), messages);
    EXPECT_TRUE(table.OpenTable());
    EXPECT_TRUE(table.InsertCategory(name));
    return table.CategoryIdByName(name);
  }

  // A project whose settings all differ, so that a field copied into another shows.
  int AddProject(const std::string& title, int categoryId, const std::string& db = {}) {
    CProjectsTable table(Db(db), messages);
    EXPECT_TRUE(table.OpenTable());
    CProjectsRecord r;
    r.m_nCatId = categoryId;
    r.m_lpszTitle = title;
    r.m_lpszURL = "http://site.example/" + std::to_string(title.size()) + "?a=1&b=2";
    r.m_lpszSaveTo = "/photos/" + title;
    r.m_lpszKeywords = "sea, sand";
    r.m_lpszNamePrefix = "pre_";
    int value = 2;
    for (int* field :
         {&r.m_nJPEG, &r.m_nPNG, &r.m_nGIF, &r.m_nBMP, &r.m_nTIF, &r.m_nICO, &r.m_nCreateFolders,
          &r.m_nSearchSubFolders, &r.m_nFilterMinimumSize, &r.m_nMinimumSize, &r.m_nAutoRename,
          &r.m_nIncludePhotoSize, &r.m_nReplaceSpaces, &r.m_nPadNumbers, &r.m_nPadding,
          &r.m_nAutoResize, &r.m_nKeywordMustExist, &r.m_nOrientation}) {
      *field = value++;
    }
    EXPECT_TRUE(table.InsertProject(r));
    return table.ExecuteScalar("SELECT MAX(Id) FROM Projects;");
  }

  void AddLink(int projectId, const std::string& url, int searchSubFolders = 1) {
    CProjectLinksRecord l{.m_nProjectId = projectId,
                          .m_lpszdtDate = "01/02/2020",
                          .m_nSearchSubFolders = searchSubFolders,
                          .m_lpszTitle = "title",
                          .m_lpszURL = url,
                          .m_nKeywordMustExist = 1,
                          .m_lpszKeywords = "kw",
                          .m_lpszGUID = {},
                          .m_nPhotos = 5};
    EXPECT_TRUE(AddProjectLink(DbPath(), messages, l));
  }

  void AddScan(int projectId, int savedImages) {
    CScanHistoryRecord h;
    h.m_nProjectId = projectId;
    h.m_nSavedImages = savedImages;
    EXPECT_TRUE(AddScanHistory(DbPath(), messages, h, false));
  }

  // Rows as the program reads them, in the order stored.
  std::vector<CProjectsRecord> Projects(const std::string& db = {}) {
    CProjectsTable table(Db(db), messages);
    EXPECT_TRUE(table.OpenTable() && table.LoadProjects("SELECT * FROM Projects ORDER BY Id;"));
    return Rows<CProjectsRecord>(table);
  }
  std::vector<CProjectLinksRecord> Links(int projectId, const std::string& db = {}) {
    CProjectLinksTable table(Db(db), messages);
    EXPECT_TRUE(table.OpenTable() && table.LoadLinksOfProject(projectId));
    return Rows<CProjectLinksRecord>(table);
  }

  std::vector<std::string> CategoryNames(const std::string& db = {}) {
    CCategoriesTable table(Db(db), messages);
    std::vector<std::string> names;
    EXPECT_TRUE(table.OpenTable() && table.LoadAllCategories());
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

 private:
  template <class Record, class Table>
  static std::vector<Record> Rows(Table& table) {
    std::vector<Record> rows;
    for (std::size_t i = 0; i < table.Records().size(); ++i) {
      table.SetCurrentIndex(static_cast<int>(i));
      table.GetCurrent(rows.emplace_back());
    }
    return rows;
  }

  std::string dbPath_ = DbPath();
};

}  // namespace trawlix::exchange::testing
