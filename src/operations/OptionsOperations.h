#pragma once

#include <optional>
#include <string>

#include "operations/DataSession.h"
#include "settings/SettingsValues.h"

namespace trawlix {

// What confirming the options changed that the main window must follow.
struct OptionsChange {
  bool saved = false;  // the settings file was written
  bool thumbnailViewChanged = false;
  bool tooltipsChanged = false;
  bool autoFollowSwitchedOn = false;
  bool panelColourChanged = false;
  bool logoSaved = false;  // a new logo picture was written
  std::string failure;     // what went wrong, already shown to the user; empty when nothing
};

// Stores the options confirmed with OK and saves them at once, unless a changed value breaks
// the options schema (then nothing changes and the failure says why). The three values the
// options reset on every confirmation become 0. The window placement and the values no page
// edits stay as the session holds them. A chosen logo picture is written as the data folder's
// "defaultLogo.jpg", fitted into 256x256 at JPEG quality 95 and 96 DPI.
OptionsChange ApplyOptions(DataSession& session, const SettingsValues& edited,
                           const std::optional<std::string>& newLogoPath);

}  // namespace trawlix
