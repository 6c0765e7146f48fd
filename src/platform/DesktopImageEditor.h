#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/DesktopCommand.h"

namespace trawlix {

// The folders that hold the desktop's application entries, most important first:
// $XDG_DATA_HOME (or ~/.local/share) and $XDG_DATA_DIRS (or /usr/local/share:/usr/share),
// each with "/applications".
std::vector<std::string> ApplicationFolders();

// The command of the first installed image editor that is registered for the MIME type (an
// application entry in the RasterGraphics category that is not a mere viewer), opening the
// photo; nothing when none is registered.
std::optional<DesktopCommand> ImageEditorCommand(const std::vector<std::string>& folders,
                                                 const std::string& mimeType,
                                                 const std::string& photoPath);

// An entry's Exec line as a command for the file: quoting resolved, %f %F %u %U replaced by
// the path, the other field codes dropped. Nothing when the line is empty or malformed.
std::optional<DesktopCommand> ExecCommand(const std::string& exec, const std::string& path);

}  // namespace trawlix
