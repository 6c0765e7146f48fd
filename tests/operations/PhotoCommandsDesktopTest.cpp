#include <deque>

#include "platform/DesktopBackground.h"
#include "platform/DesktopCommand.h"

namespace trawlix {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// Records every command and answers with queued exit statuses (0 when none are left).
class RecordingRunner : public DesktopCommandRunner {
 public:
  int Run(const DesktopCommand& command, std::string* output) override {
    commands.push_back(command);
    if (output != nullptr) *output = listing;
    if (statuses.empty()) return 0;
    const int status = statuses.front();
    statuses.pop_front();
    return status;
  }

  std::vector<DesktopCommand> commands;
  std::deque<int> statuses;
  std::string listing;
};

DesktopCommand Set(const char* schema, const char* key, const std::string& value) {
  return {"gsettings", {"set", schema, key, value}};
}

TEST(DesktopKindTest, FromTheSessionsDesktopNames) {
  const std::pair<const char*, DesktopKind> cases[] = {
      {"ubuntu:GNOME", DesktopKind::Gnome},  {"GNOME-Flashback:GNOME", DesktopKind::Gnome},
      {"X-Cinnamon", DesktopKind::Cinnamon}, {"MATE", DesktopKind::Mate},
      {"XFCE", DesktopKind::Xfce},           {"KDE", DesktopKind::Kde},
      {"LXQt", DesktopKind::Lxqt},           {"sway", DesktopKind::Sway},
      {"Hyprland", DesktopKind::Unknown},    {"", DesktopKind::Unknown},
  };
  for (const auto& [name, kind] : cases) EXPECT_EQ(DetectDesktop(name), kind) << name;
}

TEST(DesktopBackgroundTest, GnomeGetsTheStyleThenThePictureForBothAppearances) {
  const std::pair<WallpaperStyle, const char*> styles[] = {
      {WallpaperStyle::Tiled, "wallpaper"},
      {WallpaperStyle::Centered, "centered"},
      {WallpaperStyle::CenteredResized, "centered"},
      {WallpaperStyle::Stretched, "stretched"},
  };
  for (const auto& [style, option] : styles) {
    RecordingRunner runner;
    const BackgroundResult result = SetDesktopBackground(
        runner, DesktopKind::Gnome, "/home/u/My Trawlix() PRO/Wallpaper.bmp", style);
    EXPECT_TRUE(result.applied);
    const std::string uri = "file:///home/u/My%20Trawlix%28%29%20PRO/Wallpaper.bmp";
    EXPECT_THAT(runner.commands,
                ElementsAre(Set("org.gnome.desktop.background", "picture-options", option),
                            Set("org.gnome.desktop.background", "picture-uri", uri),
                            Set("org.gnome.desktop.background", "picture-uri-dark", uri)));
  }
}

TEST(DesktopBackgroundTest, FailuresAndDesktopsWithoutAWayAreSaidPlainly) {
  RecordingRunner missing;
  missing.statuses = {-1};
  BackgroundResult result =
      SetDesktopBackground(missing, DesktopKind::Kde, "/w.bmp", WallpaperStyle::Tiled);
  EXPECT_FALSE(result.applied);
  EXPECT_THAT(result.message, HasSubstr("'plasma-apply-wallpaperimage'"));
  EXPECT_THAT(result.message, HasSubstr("not found"));

  RecordingRunner refused;
  refused.statuses = {1};
  result = SetDesktopBackground(refused, DesktopKind::Mate, "/w.bmp", WallpaperStyle::Tiled);
  EXPECT_FALSE(result.applied);
  EXPECT_EQ(refused.commands.size(), 1u);  // the picture is not set after the style failed

  RecordingRunner none;
  for (const BackgroundResult& r :
       {SetDesktopBackground(none, DesktopKind::Unknown, "/w.bmp", WallpaperStyle::Centered),
        ClearDesktopBackground(none, DesktopKind::Unknown),
        ClearDesktopBackground(none, DesktopKind::Kde)}) {
    EXPECT_FALSE(r.applied);
    EXPECT_THAT(r.message, HasSubstr("This desktop offers no way for programs to"));
  }
  EXPECT_TRUE(none.commands.empty());
}

TEST(DesktopBackgroundTest, XfceSetsEveryMonitorAndWorkspace) {
  RecordingRunner runner;
  runner.listing =
      "/backdrop/screen0/monitorHDMI-1/workspace0/last-image\n"
      "/backdrop/screen0/monitorHDMI-1/workspace0/image-style\n"
      "/backdrop/screen0/monitoreDP-1/workspace0/last-image\n";
  EXPECT_TRUE(
      SetDesktopBackground(runner, DesktopKind::Xfce, "/w.bmp", WallpaperStyle::Stretched).applied);
  const std::string a = "/backdrop/screen0/monitorHDMI-1/workspace0";
  const std::string b = "/backdrop/screen0/monitoreDP-1/workspace0";
  const auto query = [](std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"-c", "xfce4-desktop"});
    return DesktopCommand{"xfconf-query", arguments};
  };
  EXPECT_THAT(runner.commands,
              ElementsAre(query({"-l"}), query({"-p", a + "/last-image", "-s", "/w.bmp"}),
                          query({"-p", a + "/image-style", "-s", "3"}),
                          query({"-p", b + "/last-image", "-s", "/w.bmp"}),
                          query({"-p", b + "/image-style", "-s", "3"})));
}

TEST(DesktopCommandTest, ProcessRunnerReportsExitStatusOutputAndMissingPrograms) {
  DesktopProcessRunner runner;
  std::string output;
  EXPECT_EQ(runner.Run({"sh", {"-c", "echo one two; exit 3"}}, &output), 3);
  EXPECT_EQ(output, "one two\n");
  EXPECT_EQ(runner.Run({"no-such-program-here", {}}), -1);
  EXPECT_TRUE(ProgramOnPath("sh"));
  EXPECT_FALSE(ProgramOnPath("no-such-program-here"));
  EXPECT_EQ(
      EmailPhotoCommand("/p/a b.jpg"),
      (DesktopCommand{"xdg-email", {"--subject", "Photo Attached!", "--attach", "/p/a b.jpg"}}));
}

}  // namespace
}  // namespace trawlix
