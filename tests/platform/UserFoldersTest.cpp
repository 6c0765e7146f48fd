#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>

#include "platform/UserFolders.h"
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

// Points HOME and XDG_CONFIG_HOME into a temporary folder for one test.
class UserFoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto& [name, value] : saved_) {
      if (const char* v = std::getenv(name)) value = v;
    }
    setenv("HOME", home_.str().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home_.str() + "/cfg").c_str(), 1);
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    }
  }

  testing::TempDir home_;
  std::pair<const char*, std::optional<std::string>> saved_[2] = {{"HOME", {}},
                                                                  {"XDG_CONFIG_HOME", {}}};
};

TEST_F(UserFoldersTest, UsesTheUserDirsFileElseHomeSubfolders) {
  EXPECT_EQ(DocumentsFolder(), home_.str() + "/Documents");
  EXPECT_EQ(PicturesFolder(), home_.str() + "/Pictures");
  std::filesystem::create_directories(home_ / "cfg");
  std::ofstream(home_ / "cfg" / "user-dirs.dirs")
      << "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\nXDG_PICTURES_DIR=\"/srv/photos\"\n";
  EXPECT_EQ(DocumentsFolder(), home_.str() + "/Docs");
  EXPECT_EQ(PicturesFolder(), "/srv/photos");
}

TEST(ProgramFolderTest, EndsWithSlashAndHoldsThisProgram) {
  EXPECT_TRUE(std::filesystem::exists(ProgramFolder() + "platform_tests"));
}

}  // namespace
}  // namespace trawlix
