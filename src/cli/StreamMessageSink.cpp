#include "cli/StreamMessageSink.h"

namespace trawlix::cli {

MessageReply StreamMessageSink::Show(const MessageRequest& request) {
  stream_ << request.text << '\n';
  stream_.flush();
  const bool question =
      request.buttons == MessageButtons::YesNo || request.buttons == MessageButtons::YesNoCancel;
  return MessageReply{question ? MessageAnswer::Yes : MessageAnswer::Ok, false};
}

}  // namespace trawlix::cli
