#include "platform/DesktopBackground.h"

#include <cctype>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <vector>

namespace trawlix {

namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// GNOME, Cinnamon and MATE name the styles alike.
const char* GSettingsOption(WallpaperStyle style) {
  switch (style) {
    case WallpaperStyle::Tiled:
      return "wallpaper";
    case WallpaperStyle::Stretched:
      return "stretched";
    case WallpaperStyle::Fit:
      return "scaled";
    case WallpaperStyle::Centered:
    case WallpaperStyle::CenteredResized:
      break;
  }
  return "centered";
}

// xfdesktop's image-style numbers.
const char* XfceStyle(WallpaperStyle style) {
  switch (style) {
    case WallpaperStyle::Tiled:
      return "2";
    case WallpaperStyle::Stretched:
      return "3";
    case WallpaperStyle::Fit:
      return "4";
    case WallpaperStyle::Centered:
    case WallpaperStyle::CenteredResized:
      break;
  }
  return "1";
}

// pcmanfm's and swaybg's mode names.
const char* ModeName(WallpaperStyle style) {
  switch (style) {
    case WallpaperStyle::Tiled:
      return "tile";
    case WallpaperStyle::Stretched:
      return "stretch";
    case WallpaperStyle::Fit:
      return "fit";
    case WallpaperStyle::Centered:
    case WallpaperStyle::CenteredResized:
      break;
  }
  return "center";
}

DesktopCommand GSettings(const std::string& schema, const std::string& key,
                         const std::string& value) {
  return {"gsettings", {"set", schema, key, value}};
}

// Runs every command; the first failure ends the run.
BackgroundResult RunAll(DesktopCommandRunner& runner, const std::vector<DesktopCommand>& commands,
                        const std::string& desktopName) {
  for (const DesktopCommand& command : commands) {
    const int status = runner.Run(command);
    if (status != 0) {
      return {false, status < 0
                         ? "The desktop background could not be changed: the program '" +
                               command.program + "' of the " + desktopName +
                               " desktop was not found."
                         : "The " + desktopName + " desktop refused to change its background ('" +
                               command.program + "' failed)."};
    }
  }
  return {true, {}};
}

// xfdesktop keeps one image per monitor and workspace: every one of them is set.
BackgroundResult RunXfce(DesktopCommandRunner& runner, const std::string* picture,
                         WallpaperStyle style) {
  std::string listing;
  if (runner.Run({"xfconf-query", {"-c", "xfce4-desktop", "-l"}}, &listing) != 0) {
    return {false, "The Xfce desktop's settings could not be read ('xfconf-query' failed)."};
  }
  std::vector<DesktopCommand> commands;
  std::istringstream lines(listing);
  for (std::string property; std::getline(lines, property);) {
    const std::string_view suffix = "/last-image";
    if (property.size() <= suffix.size() ||
        property.compare(property.size() - suffix.size(), suffix.size(), suffix) != 0) {
      continue;
    }
    const std::string base = property.substr(0, property.size() - suffix.size());
    if (picture != nullptr) {
      commands.push_back({"xfconf-query", {"-c", "xfce4-desktop", "-p", property, "-s", *picture}});
      commands.push_back(
          {"xfconf-query",
           {"-c", "xfce4-desktop", "-p", base + "/image-style", "-s", XfceStyle(style)}});
    } else {
      commands.push_back(
          {"xfconf-query", {"-c", "xfce4-desktop", "-p", base + "/image-style", "-s", "0"}});
    }
  }
  if (commands.empty()) {
    return {false, "The Xfce desktop lists no background to change."};
  }
  return RunAll(runner, commands, "Xfce");
}

std::string NoWayText(const char* what) {
  return std::string("This desktop offers no way for programs to ") + what +
         ". Please use the desktop's own settings.";
}

// swaymsg joins its words into one command, which sway splits at ';' and ',' outside quotes:
// the path goes in double quotes, and one that quotes cannot hold is not handed over.
std::optional<std::string> SwayQuoted(const std::string& path) {
  for (const char c : path) {
    if (c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20) return std::nullopt;
  }
  return '"' + path + '"';
}

}  // namespace

DesktopKind DetectDesktop(std::string_view currentDesktop) {
  std::string rest = Lower(currentDesktop);
  std::vector<std::string> names;
  for (std::size_t start = 0; start <= rest.size();) {
    const std::size_t colon = rest.find(':', start);
    names.push_back(
        rest.substr(start, colon == std::string::npos ? std::string::npos : colon - start));
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  // The most specific name comes first ("ubuntu:GNOME", "Budgie:GNOME"); the first known wins.
  for (const std::string& name : names) {
    if (name == "x-cinnamon" || name == "cinnamon") return DesktopKind::Cinnamon;
    if (name == "mate") return DesktopKind::Mate;
    if (name == "xfce") return DesktopKind::Xfce;
    if (name == "kde") return DesktopKind::Kde;
    if (name == "lxqt") return DesktopKind::Lxqt;
    if (name == "lxde") return DesktopKind::Lxde;
    if (name == "sway") return DesktopKind::Sway;
    if (name == "gnome" || name == "gnome-classic" || name == "gnome-flashback" ||
        name == "unity" || name == "budgie" || name == "pantheon") {
      return DesktopKind::Gnome;
    }
  }
  return DesktopKind::Unknown;
}

DesktopKind CurrentDesktop() {
  for (const char* variable : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION"}) {
    if (const char* value = std::getenv(variable); value != nullptr && *value != '\0') {
      const DesktopKind kind = DetectDesktop(value);
      if (kind != DesktopKind::Unknown) return kind;
    }
  }
  return DesktopKind::Unknown;
}

BackgroundResult SetDesktopBackground(DesktopCommandRunner& runner, DesktopKind desktop,
                                      const std::string& picturePath, WallpaperStyle style) {
  const std::string uri = FileUri(picturePath);
  switch (desktop) {
    case DesktopKind::Gnome: {
      const std::string schema = "org.gnome.desktop.background";
      BackgroundResult result =
          RunAll(runner,
                 {GSettings(schema, "picture-options", GSettingsOption(style)),
                  GSettings(schema, "picture-uri", uri)},
                 "GNOME");
      // The dark style has a picture of its own since GNOME 42; older versions lack the key.
      if (result.applied) runner.Run(GSettings(schema, "picture-uri-dark", uri));
      return result;
    }
    case DesktopKind::Cinnamon:
      return RunAll(
          runner,
          {GSettings("org.cinnamon.desktop.background", "picture-options", GSettingsOption(style)),
           GSettings("org.cinnamon.desktop.background", "picture-uri", uri)},
          "Cinnamon");
    case DesktopKind::Mate:
      return RunAll(runner,
                    {GSettings("org.mate.background", "picture-options", GSettingsOption(style)),
                     GSettings("org.mate.background", "picture-filename", picturePath)},
                    "MATE");
    case DesktopKind::Xfce:
      return RunXfce(runner, &picturePath, style);
    case DesktopKind::Kde:
      // Plasma keeps its own choice of how the picture fills the screen.
      return RunAll(runner, {{"plasma-apply-wallpaperimage", {picturePath}}}, "KDE Plasma");
    case DesktopKind::Lxqt:
      return RunAll(
          runner,
          {{"pcmanfm-qt",
            {"--set-wallpaper", picturePath, std::string("--wallpaper-mode=") + ModeName(style)}}},
          "LXQt");
    case DesktopKind::Lxde:
      return RunAll(
          runner,
          {{"pcmanfm",
            {"--set-wallpaper", picturePath, std::string("--wallpaper-mode=") + ModeName(style)}}},
          "LXDE");
    case DesktopKind::Sway: {
      const std::optional<std::string> quoted = SwayQuoted(picturePath);
      if (!quoted) return {false, NoWayText("set its background to this picture")};
      return RunAll(runner, {{"swaymsg", {"output", "*", "bg", *quoted, ModeName(style)}}}, "Sway");
    }
    case DesktopKind::Unknown:
      break;
  }
  return {false, NoWayText("set its background")};
}

BackgroundResult ClearDesktopBackground(DesktopCommandRunner& runner, DesktopKind desktop) {
  switch (desktop) {
    case DesktopKind::Gnome:
      return RunAll(runner, {GSettings("org.gnome.desktop.background", "picture-options", "none")},
                    "GNOME");
    case DesktopKind::Cinnamon:
      return RunAll(runner,
                    {GSettings("org.cinnamon.desktop.background", "picture-options", "none")},
                    "Cinnamon");
    case DesktopKind::Mate:
      return RunAll(runner, {GSettings("org.mate.background", "picture-options", "none")}, "MATE");
    case DesktopKind::Xfce:
      return RunXfce(runner, nullptr, WallpaperStyle::Centered);
    case DesktopKind::Lxqt:
      return RunAll(runner, {{"pcmanfm-qt", {"--wallpaper-mode=color"}}}, "LXQt");
    case DesktopKind::Lxde:
      return RunAll(runner, {{"pcmanfm", {"--wallpaper-mode=color"}}}, "LXDE");
    case DesktopKind::Sway:
      return RunAll(runner, {{"swaymsg", {"output", "*", "bg", "#000000", "solid_color"}}}, "Sway");
    case DesktopKind::Kde:
    case DesktopKind::Unknown:
      break;
  }
  return {false, NoWayText("clear its background")};
}

}  // namespace trawlix
