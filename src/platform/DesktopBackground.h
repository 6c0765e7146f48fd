#pragma once

#include <string>
#include <string_view>

#include "platform/DesktopCommand.h"

namespace trawlix {

// How the wallpaper picture covers the screen.
enum class WallpaperStyle {
  Tiled = 0,
  Centered = 1,
  CenteredResized = 2,  // the picture was fitted to the screen before it was written
  Stretched = 3,
  Fit = 5,  // the whole picture as large as the screen allows, bars beside or above it
};

// Desktops that let another program set their background, each in its own way.
enum class DesktopKind { Gnome, Cinnamon, Mate, Xfce, Kde, Lxqt, Lxde, Sway, Unknown };

// From XDG_CURRENT_DESKTOP ("ubuntu:GNOME", "X-Cinnamon", "KDE", ...), letter case aside.
DesktopKind DetectDesktop(std::string_view currentDesktop);
// The desktop of this session (XDG_CURRENT_DESKTOP, else DESKTOP_SESSION).
DesktopKind CurrentDesktop();

struct BackgroundResult {
  bool applied = false;
  std::string message;  // for the user when not applied
};

// Makes the picture the desktop's background in the given style.
BackgroundResult SetDesktopBackground(DesktopCommandRunner& runner, DesktopKind desktop,
                                      const std::string& picturePath, WallpaperStyle style);
// Leaves the desktop with its plain colour.
BackgroundResult ClearDesktopBackground(DesktopCommandRunner& runner, DesktopKind desktop);

}  // namespace trawlix
