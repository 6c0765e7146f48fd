#include "ui/ConfirmQuestion.h"

#include "base/MessageBox.h"
#include "settings/Settings.h"

namespace trawlix::ui {

bool AskUnlessSwitchedOff(MessageSink& messages, Settings& settings, const std::string& text,
                          bool& option) {
  if (!option) return true;
  MessageRequest request{text};
  request.icon = MessageIcon::Question;
  request.buttons = MessageButtons::YesNo;
  request.offerDontAskAgain = true;
  const MessageReply reply = messages.Show(request);
  if (reply.dontAskAgain) {
    option = false;
    settings.SaveSettings();
  }
  return reply.answer == MessageAnswer::Yes;
}

}  // namespace trawlix::ui
