#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace trawlix {

// The user's home folder: $HOME, else the password database entry.
std::string HomeFolder();

// XDG user folders from $XDG_CONFIG_HOME/user-dirs.dirs (default ~/.config), falling back to
// ~/Documents and ~/Pictures. Neither is created here. No trailing '/'.
std::string DocumentsFolder();
std::string PicturesFolder();

// One entry (e.g. "XDG_PICTURES_DIR") of a user-dirs.dirs text: "$HOME/..." or an absolute
// path, shell-quoted. Anything else is ignored, as the XDG tools do.
std::optional<std::string> ParseUserDirsEntry(std::string_view fileText, std::string_view key,
                                              std::string_view home);

// The folder holding the running program, with a trailing '/'.
std::string ProgramFolder();

}  // namespace trawlix
