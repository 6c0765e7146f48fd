#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "platform/DataFolderLayout.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace trawlix {
namespace {

TEST(DataFolderLayoutTest, NamesTheStoredFilesAndCreatesTheFolders) {
  testing::TempDir dir;
  const std::string data = dir.str() + "/My Trawlix() PRO";
  DataFolderLayout layout(data + "/");
  EXPECT_EQ(layout.databasePath, data + "/Projects_v2.4.txdb");
  EXPECT_EQ(layout.settingsPath, data + "/Settings_v2.0.txdat");
  EXPECT_EQ(layout.tempExportPath, data + "/Temp/__tempExport.txExport");

  DataFolderStatus first = SetUpDataFolder(layout);
  EXPECT_TRUE(first.ready && first.newDatabase);
  EXPECT_TRUE(fs::is_directory(layout.tempFolder));
  std::ofstream(layout.databasePath) << "db";
  EXPECT_FALSE(SetUpDataFolder(layout).newDatabase);
  EXPECT_TRUE(fs::exists(layout.databasePath));

  std::ofstream(dir / "file") << "x";
  EXPECT_FALSE(SetUpDataFolder(DataFolderLayout((dir / "file" / "data").string())).ready);
}

TEST(SetUpDataFolderTest, TempLosesFilesButKeepsFolders) {
  testing::TempDir dir;
  DataFolderLayout layout(dir.str());
  fs::create_directories(fs::path(layout.tempFolder) / "keep" / "deep");
  std::ofstream(fs::path(layout.tempFolder) / "TempPhoto0000.jpg") << "x";
  std::ofstream(fs::path(layout.tempFolder) / "keep" / "inner.jpg") << "x";
  fs::create_directories(dir / "outside");
  std::ofstream(dir / "outside" / "target.txt") << "x";
  fs::create_directory_symlink(dir / "outside", fs::path(layout.tempFolder) / "link");
  std::ofstream(layout.settingsPath) << "settings stay";

  SetUpDataFolder(layout);

  std::vector<std::string> left;
  for (const auto& entry : fs::recursive_directory_iterator(layout.tempFolder)) {
    left.push_back(fs::relative(entry.path(), layout.tempFolder).string());
  }
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"keep", "keep/deep", "keep/inner.jpg"}));
  EXPECT_TRUE(fs::exists(dir / "outside" / "target.txt"));  // links are removed, not followed
  EXPECT_TRUE(fs::exists(layout.settingsPath));
}

}  // namespace
}  // namespace trawlix
