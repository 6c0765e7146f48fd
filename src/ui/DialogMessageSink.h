#pragma once

#include "base/MessageBox.h"

class QWidget;

namespace trawlix::ui {

// The desktop program's message boxes: every message and question of the program goes
// through a MessageSink, so tests answer them with a recording sink instead.
class DialogMessageSink : public MessageSink {
 public:
  explicit DialogMessageSink(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  MessageReply Show(const MessageRequest& request) override;

 private:
  QWidget* parent_;
};

}  // namespace trawlix::ui
