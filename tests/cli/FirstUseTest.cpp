#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <fstream>
#include <regex>

#include "CliTestSupport.h"
#include "platform/FileIO.h"
#include "settings/Settings.h"

namespace trawlix::cli {
namespace {

namespace fs = std::filesystem;

class FirstUse : public testing::CliTest {};

std::string ReadFile(const fs::path& path) {
  std::string bytes;
  EXPECT_EQ(ReadWholeFile(path.string(), 1 << 20, bytes), ReadStatus::Ok);
  return bytes;
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
  EXPECT_EQ(QueryOne("SELECT COUNT(*) FROM ProjectLinks;"), "3");
  // The listing shows the three samples under their category.
  EXPECT_EQ(OutLines(), 4) << out_;
  EXPECT_TRUE(OutHas("Sample Projects"));
}

TEST_F(FirstUse, WritesTheSettingsFileWithEveryDefault) {
  ASSERT_EQ(Run({"categories"}), 0) << err_;
  const std::string bytes = ReadFile(dataDir() / "Settings_v2.0.txdat");
  Settings expected{DataFolderLayout(dataDir().string())};
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

TEST_F(FirstUse, ADamagedDatabaseIsNamedExplainedAndLeftAlone) {
  fs::create_directories(dataDir());
  const std::string damaged(4096, 'x');
  std::ofstream(database(), std::ios::binary) << damaged;
  EXPECT_EQ(Run({"projects"}), 1);
  for (const std::string& part :
       {"The project database " + database() + " cannot be read: file is not a database.",
        std::string("leaves the file as it is"), std::string("Restore it from a backup")}) {
    EXPECT_NE(err_.find(part), std::string::npos) << err_;
  }
  EXPECT_EQ(err_.find("Code ("), std::string::npos) << err_;
  EXPECT_EQ(ReadFile(database()), damaged);
}

// Every listing's --json is an array of objects keyed by the table's columns, in order.
TEST_F(FirstUse, ListingsInJsonCarryTheTablesColumns) {
  ASSERT_EQ(Run({"projects"}), 0);
  const std::string withLinks = QueryOne("SELECT ProjectId FROM ProjectLinks LIMIT 1;");
  const std::tuple<std::vector<std::string>, int, std::string> rows[] = {
      {{"projects", "--json"}, 48, "CatId"},
      {{"categories", "--json"}, 2, "Name"},
      {{"links", withLinks, "--json"}, 10, "ProjectId"},
      {{"history", "1", "--json"}, 0, ""}};
  for (const auto& [args, columns, second] : rows) {
    ASSERT_EQ(Run(args), 0) << err_;
    QJsonParseError error{};
    const auto document = QJsonDocument::fromJson(QByteArray::fromStdString(out_), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << out_;
    const QJsonArray array = document.array();
    ASSERT_EQ(array.isEmpty(), columns == 0) << args[0];
    if (columns == 0) continue;
    EXPECT_EQ(array[0].toObject().size(), columns) << args[0];
    EXPECT_TRUE(array[0].toObject()["Id"].isDouble());
    // QJsonObject sorts its keys: the order shows only in the text.
    EXPECT_TRUE(std::regex_search(out_, std::regex("\\{\"Id\": \\d+, \"" + second + "\": ")))
        << out_;
  }
  ASSERT_EQ(Run({"projects", "--json"}), 0);
  // Texts come out decoded: the stored form encodes every dot, slash and colon.
  const auto projects = QJsonDocument::fromJson(QByteArray::fromStdString(out_)).array();
  EXPECT_TRUE(projects[0].toObject()["URL"].toString().startsWith("http"));
}

}  // namespace
}  // namespace trawlix::cli
