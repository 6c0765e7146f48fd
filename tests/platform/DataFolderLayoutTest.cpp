#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "platform/DataFolderLayout.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace trawlix {
namespace {

TEST(DataFolderLayoutTest, EveryPathHangsOffTheDataFolder) {
  DataFolderLayout layout("/d/My Trawlix() PRO/");
  EXPECT_EQ(layout.dataFolder, "/d/My Trawlix() PRO");
  EXPECT_EQ(layout.wallpaperPath, "/d/My Trawlix() PRO/Wallpaper.bmp");
  EXPECT_EQ(layout.tempFolder, "/d/My Trawlix() PRO/Temp");
  EXPECT_EQ(layout.databasePath, "/d/My Trawlix() PRO/Projects_v2.4.txdb");
  EXPECT_EQ(layout.settingsPath, "/d/My Trawlix() PRO/Settings_v2.0.txdat");
  EXPECT_EQ(layout.tempExportPath, "/d/My Trawlix() PRO/Temp/__tempExport.txExport");
  EXPECT_EQ(layout.tempExportXml, "/d/My Trawlix() PRO/Temp/__tempExport.xml");
  EXPECT_EQ(layout.tempExportJpg, "/d/My Trawlix() PRO/Temp/__tempExport.jpg");
  EXPECT_EQ(layout.defaultLogoPath, "/d/My Trawlix() PRO/defaultLogo.jpg");
  EXPECT_TRUE(layout.helpFilePath.ends_with("/Trawlix.chm"));
  EXPECT_TRUE(layout.quickStartPath.ends_with("/TXQuickStart.chm"));
}

TEST(DataFolderLayoutTest, UserLayoutLivesInDocuments) {
  const std::string folder = DataFolderLayout::ForUser().dataFolder;
  EXPECT_TRUE(folder.ends_with("/My Trawlix() PRO")) << folder;
}

TEST(SetUpDataFolderTest, FirstStartCreatesFoldersAndFlagsNewDatabase) {
  testing::TempDir dir;
  DataFolderLayout layout((dir / "docs" / "My Trawlix() PRO").string());
  DataFolderStatus first = SetUpDataFolder(layout);
  EXPECT_TRUE(first.ready);
  EXPECT_TRUE(first.newDatabase);
  EXPECT_TRUE(fs::is_directory(layout.tempFolder));

  std::ofstream(layout.databasePath) << "db";
  DataFolderStatus second = SetUpDataFolder(layout);
  EXPECT_TRUE(second.ready);
  EXPECT_FALSE(second.newDatabase);
  EXPECT_TRUE(fs::exists(layout.databasePath));
}

TEST(SetUpDataFolderTest, TempLosesFilesButKeepsFolders) {
  testing::TempDir dir;
  DataFolderLayout layout(dir.str());
  fs::create_directories(fs::path(layout.tempFolder) / "keep" / "deep");
  std::ofstream(fs::path(layout.tempFolder) / "TempPhoto0000.jpg") << "x";
  std::ofstream(fs::path(layout.tempFolder) / "no_extension") << "x";
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

TEST(SetUpDataFolderTest, UncreatableFolderIsNotReady) {
  testing::TempDir dir;
  std::ofstream(dir / "file") << "x";
  DataFolderLayout layout((dir / "file" / "data").string());
  EXPECT_FALSE(SetUpDataFolder(layout).ready);
  EXPECT_EQ(EmptyFolderOfFiles((dir / "missing").string()), 0);
}

}  // namespace
}  // namespace trawlix
