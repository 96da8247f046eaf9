#include "app/message_box.h"

#include <QMessageBox>

MessageAnswer ShowMessageBox(MessageBoxService& service, const QString& text,
                             const QString& title, MessageButtons buttons, MessageIcon icon) {
  const QString shownTitle = title.isEmpty() ? QString::fromUtf8(kDefaultMessageTitle) : title;
  return service.Show(MessageRequest{text, shownTitle, buttons, icon});
}

namespace {

QMessageBox::Icon QtIconOf(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Error:
      return QMessageBox::Critical;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

MessageAnswer QtMessageBoxService::Show(const MessageRequest& request) {
  QMessageBox box;  // no owner window
  box.setWindowModality(Qt::ApplicationModal);
  box.setWindowTitle(request.title);
  // Texts carry paths and user input: never read them as markup.
  box.setTextFormat(Qt::PlainText);
  box.setText(request.text);
  box.setIcon(QtIconOf(request.icon));
  if (request.buttons == MessageButtons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  const int pressed = box.exec();
  if (request.buttons == MessageButtons::Ok) return MessageAnswer::Ok;
  return pressed == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}
