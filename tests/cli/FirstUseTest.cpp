#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <fstream>
#include <iterator>

#include "CliTestSupport.h"
#include "settings/Settings.h"

namespace trawlix::cli {
namespace {

namespace fs = std::filesystem;

class FirstUse : public testing::CliTest {};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(FirstUse, SetsUpTheDataFolderAndSeedsTheDatabase) {
  fs::create_directories(dataDir() / "Temp" / "kept");
  std::ofstream(dataDir() / "Temp" / "stale.tmp") << "x";

  ASSERT_EQ(Run({"projects"}), 0) << err_;

  EXPECT_FALSE(fs::exists(dataDir() / "Temp" / "stale.tmp"));
  EXPECT_TRUE(fs::is_directory(dataDir() / "Temp" / "kept"));
  EXPECT_EQ(Query("SELECT sql FROM sqlite_master WHERE type='table' AND name NOT LIKE "
                  "'sqlite%' ORDER BY name;"),
            (std::vector<std::string>{
                "CREATE TABLE Categories (Id INTEGER PRIMARY KEY AUTOINCREMENT, Name "
                "VARCHAR(100))",
                "CREATE TABLE ProjectLinks (Id INTEGER PRIMARY KEY AUTOINCREMENT, ProjectId "
                "INTEGER, dtDate VARCHAR(50), SearchSubFolders INTEGER, Title VARCHAR(1024), URL "
                "VARCHAR(1024), KeywordMustExist INTEGER, Keywords VARCHAR(1024), GUID "
                "VARCHAR(50), Photos INTEGER)",
                "CREATE TABLE Projects (Id INTEGER PRIMARY KEY AUTOINCREMENT, CatId INTEGER, "
                "Title VARCHAR(200), URL VARCHAR(1024), SaveTo VARCHAR(1024), JPEG INTEGER, PNG "
                "INTEGER, GIF INTEGER, BMP INTEGER, ICO INTEGER, CreateFolders INTEGER, "
                "SearchSubFolders INTEGER, Keywords VARCHAR(1024), FilterMinimumSize INTEGER, "
                "MinimumSize INTEGER, AutoRename INTEGER, IncludePhotoSize INTEGER, ReplaceSpaces "
                "INTEGER, PadNumbers INTEGER, Padding INTEGER, NamePrefix VARCHAR(200), "
                "AutoResize INTEGER, ResizeBoundingBox INTEGER, AutoConvert INTEGER, "
                "ConvertToFormat INTEGER, AutoCreateThumbnails INTEGER, ThumbnailBoundingBox "
                "INTEGER, ThumbnailFormat INTEGER, ThumbnailSaveTo VARCHAR(1024), "
                "ExcludeThumbnailFolder INTEGER, AutoCreateMobile INTEGER, MobileBoundingBox "
                "INTEGER, MobileFormat INTEGER, MobileSaveTo VARCHAR(1024), ExcludeMobileFolder "
                "INTEGER, KeywordMustExist INTEGER, ThumbnailOrientation INTEGER, "
                "MobileOrientation INTEGER, TIF INTEGER, Orientation INTEGER, "
                "ThumbnailsSaveToLocation INTEGER, ThumbnailsLocalSaveTo VARCHAR(1024), "
                "ThumbnailsExternalSaveTo VARCHAR(1024), ThumbnailsExternalIncludeTitle INTEGER, "
                "MobileSaveToLocation INTEGER, MobileLocalSaveTo VARCHAR(1024), "
                "MobileExternalSaveTo VARCHAR(1024), MobileExternalIncludeTitle INTEGER)",
                "CREATE TABLE ScanHistory (Id INTEGER PRIMARY KEY AUTOINCREMENT, ProjectId "
                "INTEGER, ScanDate VARCHAR(50), TotalTime VARCHAR(200), URL VARCHAR(1024), Pages "
                "INTEGER, TotalImages INTEGER, SavedImages INTEGER, SkippedImages INTEGER, Status "
                "INTEGER, Type INTEGER, SearchSubFolders INTEGER, TotalTimeInSeconds INTEGER, "
                "TransferTimeInSeconds INTEGER, TotalBytes INTEGER, GUID VARCHAR(50))",
            }));
  EXPECT_EQ(
      Query("SELECT Name FROM Categories ORDER BY Id;"),
      (std::vector<std::string>{"Actresses", "Models", "Sample Projects", "Imported Projects"}));
  EXPECT_EQ(QueryOne("SELECT COUNT(*) FROM Projects WHERE CatId=(SELECT Id FROM Categories "
                     "WHERE Name='Sample Projects');"),
            "3");
  EXPECT_EQ(QueryOne("SELECT COUNT(*) FROM Projects;"), "3");
  EXPECT_EQ(QueryOne("SELECT COUNT(*) FROM ProjectLinks;"), "3");
  // The listing shows the three samples under their category.
  EXPECT_EQ(std::count(out_.begin(), out_.end(), '\n'), 4) << out_;
  EXPECT_TRUE(OutHas("Sample Projects"));
}

TEST_F(FirstUse, WritesTheSettingsFileWithEveryDefault) {
  ASSERT_EQ(Run({"categories"}), 0) << err_;
  const std::string bytes = ReadFile(dataDir() / "Settings_v2.0.txdat");
  ASSERT_GT(bytes.size(), 24u);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x12\0\0\0", 4));  // version 18
  EXPECT_EQ(bytes.substr(4, 20), "\x13Settings_v2.0.txdat");

  CXSettings expected{DataFolderLayout(dataDir().string())};
  expected.ResetToDefaults();
  expected.Values().version = SettingsValues::kCurrentVersion;
  EXPECT_EQ(expected.Values().defaultSaveTo, pictures().string());
  EXPECT_EQ(bytes, EncodeSettings(expected.Values()));
}

TEST_F(FirstUse, LeavesAnExistingDatabaseAlone) {
  ASSERT_EQ(Run({"project", "delete", "1"}), 0) << err_;
  ASSERT_EQ(Run({"projects"}), 0) << err_;
  EXPECT_EQ(QueryOne("SELECT COUNT(*) FROM Projects;"), "2");
  EXPECT_EQ(QueryOne("SELECT COUNT(*) FROM Categories;"), "4");
}

// Every listing's --json is an array of objects keyed by the table's columns, in order.
TEST_F(FirstUse, ListingsInJsonCarryTheTablesColumns) {
  struct Row {
    std::vector<std::string> args;
    int objects;
    std::vector<QString> firstKeys;
  };
  ASSERT_EQ(Run({"projects", "--json"}), 0);
  const int withLinks = std::stoi(QueryOne("SELECT ProjectId FROM ProjectLinks LIMIT 1;"));
  const Row rows[] = {
      {{"projects", "--json"}, 3, {"Id", "CatId", "Title", "URL", "SaveTo", "JPEG"}},
      {{"categories", "--json"}, 4, {"Id", "Name"}},
      {{"links", std::to_string(withLinks), "--json"},
       3,
       {"Id", "ProjectId", "dtDate", "SearchSubFolders", "Title", "URL", "KeywordMustExist",
        "Keywords", "GUID", "Photos"}},
      {{"history", "1", "--json"}, 0, {}},
  };
  for (const auto& row : rows) {
    ASSERT_EQ(Run(row.args), 0) << err_;
    QJsonParseError error{};
    const auto document = QJsonDocument::fromJson(QByteArray::fromStdString(out_), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << out_;
    ASSERT_TRUE(document.isArray());
    const QJsonArray array = document.array();
    ASSERT_EQ(array.size(), row.objects) << row.args[0];
    if (array.isEmpty()) continue;
    // QJsonObject sorts its keys: check the order in the text itself.
    std::size_t position = 0;
    for (const auto& key : row.firstKeys) {
      const auto found = out_.find('"' + key.toStdString() + "\":", position);
      ASSERT_NE(found, std::string::npos) << key.toStdString();
      position = found;
    }
    EXPECT_TRUE(array[0].toObject()["Id"].isDouble());
  }
  ASSERT_EQ(Run({"projects", "--json"}), 0);
  const auto projects = QJsonDocument::fromJson(QByteArray::fromStdString(out_)).array();
  EXPECT_EQ(projects[0].toObject().size(), 48);
  // Texts come out decoded: the stored form encodes every dot, slash and colon.
  const QString url = projects[0].toObject()["URL"].toString();
  EXPECT_TRUE(url.startsWith("http://") || url.startsWith("https://")) << url.toStdString();
}

}  // namespace
}  // namespace trawlix::cli
