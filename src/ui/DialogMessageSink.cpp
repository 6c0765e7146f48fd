#include "ui/DialogMessageSink.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>

namespace trawlix::ui {

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::None:
      return QMessageBox::NoIcon;
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::Warning:
      return QMessageBox::Warning;
    case MessageIcon::Error:
      return QMessageBox::Critical;
  }
  return QMessageBox::Information;
}

QMessageBox::StandardButtons BoxButtons(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok:
      return QMessageBox::Ok;
    case MessageButtons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

// Closing the box without a button counts as its way out: Cancel, No, or OK alone.
MessageAnswer EscapeAnswer(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok:
      return MessageAnswer::Ok;
    case MessageButtons::YesNo:
      return MessageAnswer::No;
    case MessageButtons::OkCancel:
    case MessageButtons::YesNoCancel:
      return MessageAnswer::Cancel;
  }
  return MessageAnswer::Cancel;
}

MessageAnswer AnswerOf(int clicked, MessageButtons buttons) {
  switch (clicked) {
    case QMessageBox::Ok:
      return MessageAnswer::Ok;
    case QMessageBox::Cancel:
      return MessageAnswer::Cancel;
    case QMessageBox::Yes:
      return MessageAnswer::Yes;
    case QMessageBox::No:
      return MessageAnswer::No;
    default:
      return EscapeAnswer(buttons);
  }
}

}  // namespace

MessageReply DialogMessageSink::Show(const MessageRequest& request) {
  QMessageBox box(parent_);
  box.setWindowTitle(QString::fromStdString(request.caption));
  // The core's texts are plain, with "\n" line breaks.
  box.setTextFormat(Qt::PlainText);
  box.setText(QString::fromStdString(request.text));
  box.setIcon(BoxIcon(request.icon));
  box.setStandardButtons(BoxButtons(request.buttons));
  const bool yesNo =
      request.buttons == MessageButtons::YesNo || request.buttons == MessageButtons::YesNoCancel;
  box.setDefaultButton(yesNo ? QMessageBox::Yes : QMessageBox::Ok);
  if (request.offerDontAskAgain) {
    const QString caption = QStringLiteral("Don't ask me again");
    auto* check = new QCheckBox(caption, &box);
    check->setAccessibleName(caption);
    box.setCheckBox(check);
  }
  const int clicked = box.exec();
  MessageReply reply;
  reply.answer = AnswerOf(clicked, request.buttons);
  reply.dontAskAgain = box.checkBox() != nullptr && box.checkBox()->isChecked();
  return reply;
}

}  // namespace trawlix::ui
