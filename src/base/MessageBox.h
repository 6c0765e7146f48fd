#pragma once

#include <string>

namespace trawlix {

enum class MessageIcon { None, Information, Question, Warning, Error };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

inline constexpr const char* kAppCaption = "Trawlix() PRO";

struct MessageRequest {
  std::string text;
  std::string caption = kAppCaption;
  MessageIcon icon = MessageIcon::Information;
  MessageButtons buttons = MessageButtons::Ok;
  // Offer a "don't show / ask again" check box.
  bool offerDontAskAgain = false;
};

struct MessageReply {
  MessageAnswer answer = MessageAnswer::Ok;
  bool dontAskAgain = false;
};

// Every message box the core shows goes through this. The desktop program shows a
// dialog, the command line prints to stderr, tests record and answer.
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual MessageReply Show(const MessageRequest& request) = 0;

  // The common case: an information box with an OK button.
  void Inform(const std::string& text) { Show(MessageRequest{text}); }
};

}  // namespace trawlix
