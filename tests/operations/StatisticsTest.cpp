#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>

#include "imaging/codec/PhotoCodec.h"
#include "operations/DataSession.h"
#include "operations/OptionsOperations.h"
#include "operations/Statistics.h"
#include "settings/Settings.h"
#include "storage/ProjectsTable.h"
#include "storage/ScanHistoryTable.h"
#include "support/HomeOverride.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

namespace trawlix {
namespace {

using testing::RecordingMessageSink;

class StatisticsSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    session_ = DataSession::Open((temp_ / "data").string(), sink_, error);
    ASSERT_TRUE(session_) << error;
  }

  void DeleteAllProjects() {
    ProjectsTable projects(session_->databasePath(), sink_);
    ASSERT_TRUE(projects.OpenTable());
    ASSERT_TRUE(projects.LoadAllProjects());
    const std::vector<ProjectsRecord> all = projects.Records();
    for (const auto& project : all) ASSERT_TRUE(projects.DeleteProject(project.id));
  }

  void AddScan(int pages, int found, int saved, int seconds, int transferSeconds, int bytes) {
    ScanHistoryRecord row;
    row.projectId = 1;
    row.scanDate = "12/09/2026";
    row.totalTime = "0:00:00";
    row.url = "http://example.com/";
    row.pages = pages;
    row.totalImages = found;
    row.savedImages = saved;
    row.skippedImages = 0;
    row.status = 0;
    row.type = 0;
    row.searchSubFolders = false;
    row.totalTimeInSeconds = seconds;
    row.transferTimeInSeconds = transferSeconds;
    row.totalBytes = bytes;
    row.guid = "00000000-0000-0000-0000-000000000000";
    ScanHistoryTable history(session_->databasePath(), sink_);
    ASSERT_TRUE(history.OpenTable());
    ASSERT_TRUE(history.InsertScanHistory(row));
  }

  testing::TempDir temp_;
  testing::HomeOverride home_{temp_.str()};
  RecordingMessageSink sink_;
  std::unique_ptr<DataSession> session_;
};

// --- Statistics ------------------------------------------------------------------------

struct Scan {
  int pages, found, saved, seconds, transferSeconds, bytes;
};

struct StatisticsCase {
  const char* name;
  bool withoutProjects;
  std::vector<Scan> scans;
  const char* expected;  // the value column
};

class StatisticsTest : public StatisticsSessionTest,
                       public ::testing::WithParamInterface<StatisticsCase> {};

TEST_P(StatisticsTest, ValueColumnSumsEveryScan) {
  const StatisticsCase& c = GetParam();
  if (c.withoutProjects) DeleteAllProjects();
  for (const Scan& s : c.scans) {
    AddScan(s.pages, s.found, s.saved, s.seconds, s.transferSeconds, s.bytes);
  }
  const std::optional<DatabaseStatistics> statistics = GatherStatistics(*session_);
  ASSERT_TRUE(statistics);
  EXPECT_EQ(StatisticsValueText(*statistics), c.expected);
  EXPECT_TRUE(sink_.requests.empty());
}

// The new database holds four categories and three sample projects.
INSTANTIATE_TEST_SUITE_P(
    Databases, StatisticsTest,
    ::testing::Values(
        StatisticsCase{"NoScans",
                       false,
                       {},
                       "4\n3\n\n0\n0:00:00\n\n0\n0\n0\n\n0bytes\n0bytes/Second\n\n0\n0\n0"},
        StatisticsCase{
            "ThreeScansOneUnknown",
            false,
            {{10, 1500, 1200, 3725, 100, 5000000}, {2, 0, 0, 0, 0, 0}, {-1, -1, -1, -1, -1, -1}},
            "4\n3\n\n3\n1:02:05\n\n12\n1,500\n1,200\n\n4.76MB\n48.8KB/Second\n\n"
            "4\n500\n400"},
        StatisticsCase{"TotalsBeyond32Bits",
                       false,
                       {{2000000000, 2000000000, 3, 180000, 2, 2000000000},
                        {2000000000, 2000000000, 0, 180000, 2, 2000000000}},
                       "4\n3\n\n2\n100:00:00\n\n4,000,000,000\n4,000,000,000\n3\n\n3.72GB\n"
                       "953MB/Second\n\n1,333,333,333\n1,333,333,333\n1"},
        StatisticsCase{"ScansWithoutProjects",
                       true,
                       {{7, 9, 5, 59, 1, 1023}},
                       "4\n0\n\n1\n0:00:59\n\n7\n9\n5\n\n1023bytes\n1023bytes/Second\n\n"
                       "0\n0\n0"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(StatisticsSessionTest, StatisticsLabelsLineUpWithValues) {
  const std::string labels = StatisticsLabelText();
  const std::string values = StatisticsValueText(DatabaseStatistics{});
  ASSERT_EQ(std::count(labels.begin(), labels.end(), '\n'),
            std::count(values.begin(), values.end(), '\n'));
  // Blank lines sit at the same places in both columns.
  std::size_t l = 0, v = 0;
  while (l != std::string::npos && v != std::string::npos) {
    const std::size_t lEnd = labels.find('\n', l), vEnd = values.find('\n', v);
    EXPECT_EQ(labels.substr(l, lEnd - l).empty(), values.substr(v, vEnd - v).empty());
    l = lEnd == std::string::npos ? lEnd : lEnd + 1;
    v = vEnd == std::string::npos ? vEnd : vEnd + 1;
  }
}

TEST_F(StatisticsSessionTest, UnreadableDatabaseGivesNoStatisticsAndSaysSo) {
  std::ofstream(session_->databasePath(), std::ios::binary | std::ios::trunc)
      << std::string(4096, 'x');
  EXPECT_FALSE(GatherStatistics(*session_));
  EXPECT_FALSE(sink_.requests.empty());
}

// --- Applying confirmed options ----------------------------------------------------------

Settings ReadBack(const DataSession& session, RecordingMessageSink& sink) {
  Settings stored(session.settings().Paths());
  stored.LoadSettings(sink);
  return stored;
}

TEST_F(StatisticsSessionTest, ConfirmingClearsThreeValuesAndSavesAtOnce) {
  SettingsValues& held = session_->settings().Values();
  held.clearedByOptions12 = 1;
  held.clearedByOptions27 = 1;
  held.clearedByOptions28 = 1;
  ASSERT_TRUE(session_->settings().SaveSettings());

  SettingsValues edited = held;
  edited.clearedByOptions12 = 7;
  edited.jpegQuality = 70;
  edited.userAgent = "MyBot/1.0";
  edited.customUserAgent = true;
  // The window moved while the sheet was open: the sheet's stale copy must not undo it.
  held.windowWidth = 1111;
  held.windowLeft = 42;

  const OptionsChange change = ApplyOptions(*session_, edited, std::nullopt);
  EXPECT_TRUE(change.saved);
  EXPECT_TRUE(change.failure.empty());
  EXPECT_FALSE(change.logoSaved);

  const SettingsValues stored = ReadBack(*session_, sink_).Values();
  EXPECT_EQ(stored.clearedByOptions12, 0);
  EXPECT_EQ(stored.clearedByOptions27, 0);
  EXPECT_EQ(stored.clearedByOptions28, 0);
  EXPECT_EQ(stored.jpegQuality, 70);
  EXPECT_EQ(stored.userAgent, "MyBot/1.0");
  EXPECT_EQ(stored.customUserAgent, 1);
  EXPECT_EQ(stored.windowWidth, 1111);
  EXPECT_EQ(stored.windowLeft, 42);
  EXPECT_EQ(stored, session_->settings().Values());
  EXPECT_TRUE(sink_.requests.empty());
}

TEST_F(StatisticsSessionTest, ApplyOptionsRefusesChangesTheSchemaForbids) {
  SettingsValues& held = session_->settings().Values();
  held.thumbnailView = 40;  // an older file's value, left alone, stays acceptable
  const SettingsValues before = held;
  const std::pair<const char*, void (*)(SettingsValues&)> edits[] = {
      {"jpegQuality takes a number from 1 to 100", [](SettingsValues& v) { v.jpegQuality = 0; }},
      {"scanPriority takes one of", [](SettingsValues& v) { v.scanPriority = 3; }},
      {"thumbnailsFolderName must be one folder name",
       [](SettingsValues& v) { v.thumbnailsFolderName = "a/b"; }},
      {"Please type in a custom USER-AGENT String.",
       [](SettingsValues& v) { v.customUserAgent = true, v.userAgent = " "; }},
  };
  for (const auto& [reason, edit] : edits) {
    SettingsValues edited = before;
    edit(edited);
    const OptionsChange change = ApplyOptions(*session_, edited, std::nullopt);
    EXPECT_FALSE(change.saved) << reason;
    EXPECT_EQ(change.failure.rfind(reason, 0), 0u) << change.failure;
    EXPECT_EQ(session_->settings().Values(), before) << reason;
  }
  SettingsValues edited = before;
  edited.jpegQuality = 100;
  EXPECT_TRUE(ApplyOptions(*session_, edited, std::nullopt).saved);
}

struct ChangeCase {
  const char* name;
  void (*before)(SettingsValues&);
  void (*edit)(SettingsValues&);
  // What the window must follow: thumbnail view, tool tips, auto follow on, panel colour.
  bool view, tooltips, followOn, colour;
};

class OptionsChangeTest : public StatisticsSessionTest,
                          public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(OptionsChangeTest, ReportsWhatTheWindowMustFollow) {
  const ChangeCase& c = GetParam();
  c.before(session_->settings().Values());
  SettingsValues edited = session_->settings().Values();
  c.edit(edited);
  const OptionsChange change = ApplyOptions(*session_, edited, std::nullopt);
  EXPECT_TRUE(change.saved);
  EXPECT_EQ(change.thumbnailViewChanged, c.view);
  EXPECT_EQ(change.tooltipsChanged, c.tooltips);
  EXPECT_EQ(change.autoFollowSwitchedOn, c.followOn);
  EXPECT_EQ(change.panelColourChanged, c.colour);
}

void Nothing(SettingsValues&) {}

INSTANTIATE_TEST_SUITE_P(
    Changes, OptionsChangeTest,
    ::testing::Values(
        ChangeCase{"NothingChanged", Nothing, Nothing, false, false, false, false},
        ChangeCase{"ThumbnailView", Nothing, [](SettingsValues& v) { v.thumbnailView = 7; }, true,
                   false, false, false},
        ChangeCase{"TooltipsOff", Nothing, [](SettingsValues& v) { v.showTooltips = false; }, false,
                   true, false, false},
        ChangeCase{"AutoFollowOn", [](SettingsValues& v) { v.autoFollow = false; },
                   [](SettingsValues& v) { v.autoFollow = true; }, false, false, true, false},
        ChangeCase{"AutoFollowOff", Nothing, [](SettingsValues& v) { v.autoFollow = false; }, false,
                   false, false, false},
        // No page edits the panel colour: a stale value is not taken over.
        ChangeCase{"PanelColourIsNotEdited", Nothing,
                   [](SettingsValues& v) { v.panelColor = 0x123456; }, false, false, false, false}),
    [](const auto& param) { return std::string(param.param.name); });

// A 24-bit bottom-up bitmap of one colour.
void WriteBitmap(const std::string& path, int width, int height) {
  const int stride = (width * 3 + 3) / 4 * 4;
  const std::uint32_t size = 54 + static_cast<std::uint32_t>(stride * height);
  std::string bytes(size, '\0');
  const auto put = [&bytes](std::size_t at, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i)
      bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put(2, size, 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, static_cast<std::uint32_t>(width), 4);
  put(22, static_cast<std::uint32_t>(height), 4);
  put(26, 1, 2);
  put(28, 24, 2);
  for (std::size_t i = 54; i < bytes.size(); ++i) bytes[i] = '\x80';
  std::ofstream(path, std::ios::binary) << bytes;
}

TEST_F(StatisticsSessionTest, ChosenLogoIsWrittenAsJpegFittedIntoTheBox) {
  const std::string picture = (temp_ / "logo.bmp").string();
  WriteBitmap(picture, 300, 200);
  const OptionsChange change = ApplyOptions(*session_, session_->settings().Values(), picture);
  EXPECT_TRUE(change.saved);
  EXPECT_TRUE(change.logoSaved);
  const std::string logo = session_->settings().Paths().defaultLogoPath;
  EXPECT_EQ(ReadPhotoSize(logo), (PhotoSize{256, 170}));
  std::ifstream in(logo, std::ios::binary);
  char magic[2] = {};
  in.read(magic, 2);
  EXPECT_EQ(std::string(magic, 2), "\xFF\xD8");
}

TEST_F(StatisticsSessionTest, UnreadableLogoIsReportedAndTheOptionsAreStillSaved) {
  const std::string picture = (temp_ / "notes.jpg").string();
  std::ofstream(picture) << "not a picture";
  SettingsValues edited = session_->settings().Values();
  edited.connectionTimeout = 9;
  const OptionsChange change = ApplyOptions(*session_, edited, picture);
  EXPECT_TRUE(change.saved);
  EXPECT_FALSE(change.logoSaved);
  EXPECT_NE(change.failure.find("notes.jpg"), std::string::npos);
  ASSERT_EQ(sink_.requests.size(), 1u);
  EXPECT_EQ(sink_.requests[0].text, change.failure);
  EXPECT_FALSE(std::filesystem::exists(session_->settings().Paths().defaultLogoPath));
  EXPECT_EQ(ReadBack(*session_, sink_).Values().connectionTimeout, 9);
}

TEST_F(StatisticsSessionTest, SettingsThatCannotBeWrittenAreReported) {
  // A folder where the settings file belongs cannot be replaced by a file.
  const std::string path = session_->settings().Paths().settingsPath;
  std::filesystem::remove(path);
  std::filesystem::create_directories(path + "/blocked");
  const OptionsChange change = ApplyOptions(*session_, session_->settings().Values(), std::nullopt);
  EXPECT_FALSE(change.saved);
  EXPECT_FALSE(change.failure.empty());
  EXPECT_EQ(sink_.requests.size(), 1u);
}

}  // namespace
}  // namespace trawlix
