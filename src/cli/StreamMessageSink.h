#pragma once

#include <ostream>

#include "base/MessageBox.h"

namespace trawlix::cli {

// Message boxes on a terminal: the text goes to the stream (stderr in the tool). Nobody is
// there to answer, so a question takes its first button (OK or Yes): a command the user typed
// is the user's consent.
class StreamMessageSink : public MessageSink {
 public:
  explicit StreamMessageSink(std::ostream& stream) : stream_(stream) {}
  MessageReply Show(const MessageRequest& request) override;

 private:
  std::ostream& stream_;
};

}  // namespace trawlix::cli
