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
inline auto Transported(const ProjectsRecord& r) {
  return std::tie(r.title, r.url, r.keywords, r.namePrefix, r.jpeg, r.png, r.gif, r.bmp, r.tif,
                  r.createFolders, r.searchSubFolders, r.filterMinimumSize, r.minimumSize,
                  r.autoRename, r.orientation, r.padNumbers, r.padding);
}
inline auto Transported(const ImportedProject& p) {
  return std::tie(p.title, p.url, p.keywords, p.namePrefix, p.jpeg, p.png, p.gif, p.bmp, p.tif,
                  p.createFolders, p.searchSubFolders, p.filterMinSize, p.minimumSize, p.autoRename,
                  p.orientation, p.padNumbers, p.padding);
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
    CategoriesTable table(Db(db), messages);
    EXPECT_TRUE(table.OpenTable());
    EXPECT_TRUE(table.InsertCategory(name));
    return table.CategoryIdByName(name);
  }

  // A project whose settings all differ, so that a field copied into another shows.
  int AddProject(const std::string& title, int categoryId, const std::string& db = {}) {
    ProjectsTable table(Db(db), messages);
    EXPECT_TRUE(table.OpenTable());
    ProjectsRecord r;
    r.catId = categoryId;
    r.title = title;
    r.url = "http://site.example/" + std::to_string(title.size()) + "?a=1&b=2";
    r.saveTo = "/photos/" + title;
    r.keywords = "sea, sand";
    r.namePrefix = "pre_";
    // Flags alternate so that a swapped pair shows; numbers are distinct.
    bool on = true;
    for (bool* flag :
         {&r.jpeg, &r.png, &r.gif, &r.bmp, &r.tif, &r.ico, &r.createFolders, &r.searchSubFolders,
          &r.filterMinimumSize, &r.autoRename, &r.includePhotoSize, &r.replaceSpaces, &r.padNumbers,
          &r.autoResize, &r.keywordMustExist}) {
      *flag = on;
      on = !on;
    }
    r.minimumSize = 11;
    r.padding = 16;
    r.orientation = 2;
    EXPECT_TRUE(table.InsertProject(r));
    return table.ExecuteScalar("SELECT MAX(Id) FROM Projects;");
  }

  void AddLink(int projectId, const std::string& url, bool searchSubFolders = true) {
    ProjectLinksRecord l{.projectId = projectId,
                         .date = "01/02/2020",
                         .searchSubFolders = searchSubFolders,
                         .title = "title",
                         .url = url,
                         .keywordMustExist = true,
                         .keywords = "kw",
                         .guid = {},
                         .photos = 5};
    EXPECT_TRUE(AddProjectLink(DbPath(), messages, l));
  }

  void AddScan(int projectId, int savedImages) {
    ScanHistoryRecord h;
    h.projectId = projectId;
    h.savedImages = savedImages;
    EXPECT_TRUE(AddScanHistory(DbPath(), messages, h, false));
  }

  // Rows as the program reads them, in the order stored.
  std::vector<ProjectsRecord> Projects(const std::string& db = {}) {
    ProjectsTable table(Db(db), messages);
    EXPECT_TRUE(table.OpenTable() && table.LoadProjects("SELECT * FROM Projects ORDER BY Id;"));
    return Rows<ProjectsRecord>(table);
  }
  std::vector<ProjectLinksRecord> Links(int projectId, const std::string& db = {}) {
    ProjectLinksTable table(Db(db), messages);
    EXPECT_TRUE(table.OpenTable() && table.LoadLinksOfProject(projectId));
    return Rows<ProjectLinksRecord>(table);
  }

  std::vector<std::string> CategoryNames(const std::string& db = {}) {
    CategoriesTable table(Db(db), messages);
    std::vector<std::string> names;
    EXPECT_TRUE(table.OpenTable() && table.LoadAllCategories());
    for (const auto& c : table.Records()) names.push_back(c.name);
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
