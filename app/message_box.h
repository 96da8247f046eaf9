#pragma once
// The one way the program tells the user things: a message box with no owner window,
// modal for the whole program, that answers which button was pressed. Handlers show it
// through a MessageBoxService so tests can answer it without a screen.

#include <QString>

#include "canvas/message_kinds.h"


struct MessageRequest {
  QString text;
  QString title;
  MessageButtons buttons = MessageButtons::Ok;
  MessageIcon icon = MessageIcon::None;

  bool operator==(const MessageRequest&) const = default;
};

class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;
  virtual MessageAnswer Show(const MessageRequest& request) = 0;
};

// Shows a message box; an empty title stands for no title and becomes "信息：".
MessageAnswer ShowMessageBox(MessageBoxService& service, const QString& text,
                             const QString& title = {},
                             MessageButtons buttons = MessageButtons::Ok,
                             MessageIcon icon = MessageIcon::None);

// The real box. Closing a Yes/No box any other way than with Yes answers No.
class QtMessageBoxService final : public MessageBoxService {
 public:
  MessageAnswer Show(const MessageRequest& request) override;
};
