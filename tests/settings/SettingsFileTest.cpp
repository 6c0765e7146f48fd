#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/FileIO.h"
#include "settings/Settings.h"
#include "support/HomeOverride.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace trawlix {
namespace {

// Builds the expected file bytes independently of the archive code.
class Golden {
 public:
  Golden& I(std::int32_t v) {
    for (int i = 0; i < 4; ++i)
      bytes.push_back(static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF));
    return *this;
  }
  Golden& L(std::int64_t v) {
    for (int i = 0; i < 8; ++i)
      bytes.push_back(static_cast<char>((static_cast<std::uint64_t>(v) >> (8 * i)) & 0xFF));
    return *this;
  }
  Golden& S(const std::string& s) {  // short strings only
    bytes.push_back(static_cast<char>(s.size()));
    bytes += s;
    return *this;
  }
  std::string bytes;
};

// A new file: the given version, every default, and the trailing pair when asked for.
std::string DefaultFile(const std::string& pictures, std::int32_t version, bool trailing) {
  Golden g;
  g.I(version).S("Settings_v2.0.txdat").I(0xEBEBEB).I(0).I(0).S("Googlebot-Image/1.0");
  g.I(0).I(3).I(1).I(0).I(1).I(0).S("All").S("Miscellaneous").L(0);     // rows 7-15
  g.I(1).I(1).I(1).S(pictures).I(1).I(1).I(1).S("Thumbs").S("Mobile");  // rows 16-24
  g.I(95).I(1).I(1).I(1).I(1);                                          // rows 25-29
  g.I(1).I(0).I(0).I(0).I(0).I(0).I(1).I(350).I(1).I(0).I(1).I(3);      // rows 30-41
  g.I(0).I(1024).I(0).I(0).I(0).I(256).I(0).I(0).I(480).I(2).I(0);      // rows 42-52
  g.I(1).I(1).I(1).I(4).I(0).S("").S("").I(1).I(1);                     // rows 53-61
  g.S("").S("").S("").I(0).I(1).I(1).S("Imported Projects").I(0);       // rows 62-69
  g.S("bnsftr.jpg, mag_thumb.jpg, _mag_cover.jpg").I(0).I(1).I(96);     // rows 70-73
  g.I(0).I(3).I(0).I(0).I(0).I(0).S("").I(1).I(0).I(0).S("").I(1);      // rows 74-85
  g.I(0).I(0).I(0).I(-1).I(-1).I(0).I(0).I(793).I(606);                 // rows 86-94
  if (trailing) g.I(1).I(0);
  return g.bytes;
}

std::string ReadFile(const std::string& path) {
  std::string bytes;
  EXPECT_EQ(ReadWholeFile(path, 1 << 24, bytes), ReadStatus::Ok) << path;
  return bytes;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class SettingsFileTest : public ::testing::Test {
 protected:
  SettingsFileTest() : home_(dir_.str()), layout_((dir_ / "data").string()) {
    fs::create_directories(layout_.dataFolder);
  }
  std::string Pictures() const { return dir_.str() + "/Pictures"; }

  testing::TempDir dir_;
  testing::HomeOverride home_;
  DataFolderLayout layout_;
  testing::RecordingMessageSink messages_;
};

TEST_F(SettingsFileTest, FirstStartWritesEveryDefaultAsVersion18) {
  Settings settings(layout_);
  EXPECT_EQ(settings.LoadSettings(messages_), Settings::LoadResult::Created);
  EXPECT_EQ(ReadFile(layout_.settingsPath), DefaultFile(Pictures(), 18, true));
  EXPECT_FALSE(settings.IsModified());
  EXPECT_TRUE(messages_.requests.empty());

  settings.SetScreenDpi(120);  // the screen's resolution is the photo default
  settings.ResetToDefaults();
  EXPECT_EQ(settings.Values().photoDpi, 120);
}

TEST_F(SettingsFileTest, ChangedValuesSurviveSaveAndLoad) {
  Settings settings(layout_);
  settings.LoadSettings(messages_);
  SettingsValues& v = settings.Values();
  v.userAgent = std::string(300, 'u');  // two-byte length form inside the file
  v.reserved64 = -1234567890123LL;
  v.filesToIgnore = std::string(70000, 'f');  // four-byte length form
  v.exporterName = "Zoë";
  v.PhotoTransformBehavior = 1;
  EXPECT_TRUE(settings.IsModified());
  ASSERT_TRUE(settings.SaveSettings());
  EXPECT_FALSE(settings.IsModified());

  Settings again(layout_);
  EXPECT_EQ(again.LoadSettings(messages_), Settings::LoadResult::Loaded);
  EXPECT_EQ(again.Values(), settings.Values());
  EXPECT_FALSE(again.IsModified());
  EXPECT_TRUE(messages_.requests.empty());
}

TEST_F(SettingsFileTest, Version17FileLacksTheTrailingPairUntilSavedAs18) {
  WriteFile(layout_.settingsPath, DefaultFile("/srv/old", 17, false));
  Settings settings(layout_);
  settings.Values().newFilterMinimumSize = false;  // values the file lacks keep what they hold
  settings.Values().PhotoTransformBehavior = 1;
  EXPECT_EQ(settings.LoadSettings(messages_), Settings::LoadResult::Loaded);
  EXPECT_EQ(settings.Values().version, 17);
  EXPECT_EQ(settings.Values().defaultSaveTo, "/srv/old");
  ASSERT_TRUE(settings.SaveSettings());
  EXPECT_EQ(ReadFile(layout_.settingsPath),
            DefaultFile("/srv/old", 18, false) + Golden().I(0).I(1).bytes);
  EXPECT_TRUE(messages_.requests.empty());
}

TEST_F(SettingsFileTest, DamagedFilesAreKeptResetAndReportedOnce) {
  std::string good = DefaultFile("/srv/mine", 18, true);
  good[good.size() - 4] = 1;  // PhotoTransformBehavior = 1, so a reset is visible
  std::string wide = good;
  wide.replace(4, 20, "\xFF\xFE\xFF\x01X\x00XXXXXXXXXXXXXX", 20);
  struct Row {
    const char* what;
    std::string bytes;
  };
  const Row rows[] = {
      {"cut inside the version", good.substr(0, 3)},
      {"cut inside a string", good.substr(0, 10)},
      {"cut inside the last value", good.substr(0, good.size() - 1)},
      {"version 18 without the trailing pair", DefaultFile("/srv/mine", 18, false)},
      {"wide-character string", wide},
      {"larger than any settings file", std::string(Settings::kMaxFileSize + 1, '\0')},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    WriteFile(layout_.settingsPath, row.bytes);
    testing::RecordingMessageSink messages;
    Settings settings(layout_);
    EXPECT_EQ(settings.LoadSettings(messages), Settings::LoadResult::Recovered);
    EXPECT_EQ(ReadFile(layout_.settingsPath + ".bad"), row.bytes);
    EXPECT_EQ(ReadFile(layout_.settingsPath), DefaultFile(Pictures(), 18, true));
    EXPECT_EQ(settings.Values().PhotoTransformBehavior, 0);
    EXPECT_FALSE(settings.IsModified());
    ASSERT_EQ(messages.requests.size(), 1u);
    EXPECT_EQ(messages.requests[0].caption, "Trawlix() PRO");
    EXPECT_NE(messages.requests[0].text.find(layout_.settingsPath + ".bad"), std::string::npos);

    Settings next(layout_);  // the next start reads the restored file quietly
    EXPECT_EQ(next.LoadSettings(messages), Settings::LoadResult::Loaded);
    EXPECT_EQ(messages.requests.size(), 1u);
  }
}

TEST_F(SettingsFileTest, TrailingBytesAfterTheLastValueAreIgnored) {
  WriteFile(layout_.settingsPath, DefaultFile("/srv/x", 18, true) + "extra");
  Settings settings(layout_);
  EXPECT_EQ(settings.LoadSettings(messages_), Settings::LoadResult::Loaded);
  EXPECT_EQ(settings.Values().defaultSaveTo, "/srv/x");
}

TEST_F(SettingsFileTest, SaveReplacesTheFileWholeOrNotAtAll) {
  Settings settings(layout_);
  settings.LoadSettings(messages_);
  settings.Values().jpegQuality = 80;
  ASSERT_TRUE(settings.SaveSettings());
  const std::string saved = ReadFile(layout_.settingsPath);
  EXPECT_EQ(std::distance(fs::directory_iterator(layout_.dataFolder), fs::directory_iterator()), 1);

  settings.Values().jpegQuality = 50;
  settings.SetPaths(DataFolderLayout((dir_ / "missing" / "folder").string()));
  EXPECT_FALSE(settings.SaveSettings());
  EXPECT_TRUE(settings.IsModified());
  EXPECT_EQ(ReadFile(layout_.settingsPath), saved);
}

TEST(UserAgentTest, ListOrderAndLookups) {
  Settings settings(DataFolderLayout("/nonexistent"));
  std::string names;
  for (const UserAgent& agent : settings.UserAgents()) {
    names += agent.name + "|";
    EXPECT_EQ(settings.UserAgentByName(agent.name), agent.userAgent);
    EXPECT_EQ(settings.UserAgentName(agent.userAgent), agent.name);
  }
  EXPECT_EQ(names,
            "Trawlix() PRO v2.0|Internet Explorer 8.0|Internet Explorer 7.0|AOL 9.5|"
            "Google Chrome 2.0.177.0|FireFox 3.1|Mozilla 1.9|Opera 9.7|Googlebot 2.1|"
            "Googlebot-Image 1.0|msnbot 2.1|Teoma|Yahoo! Slurp|");
  EXPECT_TRUE(settings.UserAgentByName("Trawlix() PRO v2.0")->starts_with("Trawlix() PRO v2.0 ("));
  EXPECT_EQ(settings.UserAgentName(settings.Values().userAgent), "Googlebot-Image 1.0");
  EXPECT_EQ(settings.UserAgentByName("opera 9.7"), std::nullopt);  // names match exactly
  EXPECT_EQ(settings.UserAgentName("Mozilla/5.0"), std::nullopt);
}

}  // namespace
}  // namespace trawlix
