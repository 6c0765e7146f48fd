#include <gtest/gtest.h>

#include <fstream>
#include <optional>

#include "platform/UserFolders.h"
#include "support/HomeOverride.h"
#include "support/TempDir.h"

namespace trawlix {
namespace {

TEST(ParseUserDirsEntryTest, ReadsHomeRelativeAndAbsoluteEntries) {
  const std::string file =
      "# This file is written by xdg-user-dirs-update\n"
      "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
      "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n"
      "  XDG_PICTURES_DIR = \"/data/My \\\"Pics\\\"/\"\n"
      "XDG_MUSIC_DIR=\"$HOME\"\n"
      "XDG_VIDEOS_DIR=\"relative/videos\"\n"
      "XDG_TEMPLATES_DIR=\"$HOMEWORK/x\"\n";
  struct Row {
    const char* key;
    std::optional<std::string> expected;
  };
  const Row rows[] = {
      {"XDG_DOCUMENTS_DIR", "/home/ann/Dokumente"},
      {"XDG_PICTURES_DIR", "/data/My \"Pics\""},
      {"XDG_MUSIC_DIR", "/home/ann"},
      {"XDG_VIDEOS_DIR", std::nullopt},     // relative paths are not allowed
      {"XDG_TEMPLATES_DIR", std::nullopt},  // only "$HOME/" expands
      {"XDG_DESKTOP", std::nullopt},        // a key prefix is not the key
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ParseUserDirsEntry(file, row.key, "/home/ann/"), row.expected) << row.key;
  }
  EXPECT_EQ(ParseUserDirsEntry("X=\"/a\"\nX=\"/b\"\n", "X", "/h"), "/b");
}

TEST(UserFoldersTest, UsesTheUserDirsFileElseHomeSubfolders) {
  testing::TempDir home;
  testing::HomeOverride homeOverride(home.str());
  EXPECT_EQ(DocumentsFolder(), home.str() + "/Documents");
  EXPECT_EQ(PicturesFolder(), home.str() + "/Pictures");
  std::filesystem::create_directories(home / ".config");
  std::ofstream(home / ".config" / "user-dirs.dirs")
      << "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\nXDG_PICTURES_DIR=\"/srv/photos\"\n";
  EXPECT_EQ(DocumentsFolder(), home.str() + "/Docs");
  EXPECT_EQ(PicturesFolder(), "/srv/photos");
}

TEST(ProgramFolderTest, EndsWithSlashAndHoldsThisProgram) {
  EXPECT_TRUE(std::filesystem::exists(ProgramFolder() + "platform_tests"));
}

}  // namespace
}  // namespace trawlix
