#pragma once

#include <deque>
#include <string>
#include <vector>

#include "base/MessageBox.h"

namespace trawlix::testing {

// Records every message and answers from a queue (OK / first button when empty).
class RecordingMessageSink : public MessageSink {
public:
  MessageReply Show(const MessageRequest& request) override {
    requests.push_back(request);
    if (answers.empty()) return {};
    MessageReply reply = answers.front();
    answers.pop_front();
    return reply;
  }

  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& r : requests) texts.push_back(r.text);
    return texts;
  }

  std::vector<MessageRequest> requests;
  std::deque<MessageReply> answers;
};

}  // namespace trawlix::testing
