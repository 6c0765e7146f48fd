#include <deque>
#include <fstream>

#include "platform/DesktopBackground.h"
#include "platform/DesktopCommand.h"
#include "platform/DesktopImageEditor.h"
#include "support/TempDir.h"

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
      {WallpaperStyle::Fit, "scaled"},
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

// sway reads the words of swaymsg as one command line, split at ';' and ','.
TEST(DesktopBackgroundTest, SwayGetsThePathAsOneQuotedWordOrNothing) {
  RecordingRunner runner;
  EXPECT_TRUE(SetDesktopBackground(runner, DesktopKind::Sway, "/d/a;exec xterm,b.bmp",
                                   WallpaperStyle::Tiled)
                  .applied);
  EXPECT_THAT(runner.commands,
              ElementsAre(DesktopCommand{
                  "swaymsg", {"output", "*", "bg", "\"/d/a;exec xterm,b.bmp\"", "tile"}}));
  for (const char* path : {"/d/\";exec xterm;\".bmp", "/d/a\\\";exec xterm.bmp", "/d/a\nb.bmp"}) {
    RecordingRunner refused;
    EXPECT_FALSE(
        SetDesktopBackground(refused, DesktopKind::Sway, path, WallpaperStyle::Tiled).applied);
    EXPECT_TRUE(refused.commands.empty()) << path;
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

TEST(DesktopImageEditorTest, ExecLinesBecomeCommandsForThePhoto) {
  struct Case {
    const char* exec;
    std::optional<DesktopCommand> command;
  };
  const std::string photo = "/p/my photo.jpg";
  const Case cases[] = {
      {"gimp-2.10 %U", DesktopCommand{"gimp-2.10", {photo}}},
      {"krita %f --nosplash", DesktopCommand{"krita", {photo, "--nosplash"}}},
      {"\"/opt/My Editor/edit\" --icon %i %F",
       DesktopCommand{"/opt/My Editor/edit", {"--icon", photo}}},
      {"pinta", DesktopCommand{"pinta", {photo}}},
      {"draw --rate=100%% %k", DesktopCommand{"draw", {"--rate=100%", photo}}},
      {"\"unterminated %f", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ExecCommand(c.exec, photo), c.command) << c.exec;
}

TEST(DesktopImageEditorTest, TheFirstRegisteredRasterEditorThatIsInstalled) {
  testing::TempDir temp;
  const auto entry = [&](const std::string& folder, const std::string& file,
                         const std::string& body) {
    std::filesystem::create_directories(temp / folder);
    std::ofstream((temp / folder / file).string()) << body;
  };
  const std::string editor =
      "[Desktop Entry]\nType=Application\nCategories=Graphics;2DGraphics;RasterGraphics;\n"
      "MimeType=image/png;image/jpeg;\n";
  entry("user", "a-viewer.desktop",
        editor + "Exec=sh view %f\n[Desktop Action x]\nCategories=Viewer;\n");
  entry("user", "b-missing.desktop", editor + "Exec=no-such-editor-here %f\n");
  entry("user", "c-viewer.desktop",
        "[Desktop Entry]\nType=Application\nCategories=Graphics;RasterGraphics;Viewer;\n"
        "MimeType=image/jpeg;\nExec=sh viewer-only %f\n");
  entry("system", "a-viewer.desktop", editor + "Exec=sh hidden-by-the-user-entry %f\n");
  entry("system", "d-png-only.desktop",
        "[Desktop Entry]\nType=Application\nCategories=RasterGraphics;\nMimeType=image/png;\n"
        "Exec=sh png %f\n");
  const std::vector<std::string> folders = {(temp / "user").string(), (temp / "system").string()};
  EXPECT_EQ(ImageEditorCommand(folders, "image/jpeg", "/x.jpg"),
            (DesktopCommand{"sh", {"view", "/x.jpg"}}));
  EXPECT_EQ(ImageEditorCommand(folders, "image/gif", "/x.gif"), std::nullopt);
  EXPECT_EQ(ImageEditorCommand({(temp / "system").string()}, "image/png", "/x.png"),
            (DesktopCommand{"sh", {"hidden-by-the-user-entry", "/x.png"}}));
}

}  // namespace
}  // namespace trawlix
