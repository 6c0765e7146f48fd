#pragma once

#include <string>

namespace trawlix {
class MessageSink;
class Settings;
}  // namespace trawlix

namespace trawlix::ui {

// A yes/no question the user may switch off: "don't ask again" clears `option` (a member of
// the settings) and saves them. True for yes, and at once while the question is switched off.
bool AskUnlessSwitchedOff(MessageSink& messages, Settings& settings, const std::string& text,
                          bool& option);

}  // namespace trawlix::ui
