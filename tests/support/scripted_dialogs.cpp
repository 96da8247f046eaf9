#include "tests/support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace {

template <typename Answer>
std::optional<Answer> TakeNext(std::deque<std::optional<Answer>>& answers, const char* what) {
  if (answers.empty()) {
    ADD_FAILURE() << "a " << what << " was shown with no answer scripted";
    return std::nullopt;
  }
  std::optional<Answer> next;
  next.swap(answers.front());
  answers.pop_front();
  return next;
}

}  // namespace

MessageAnswer ScriptedMessageBox::Show(const MessageRequest& request) {
  asked_.push_back(request);
  if (answers_.empty()) {
    ADD_FAILURE() << "a message box was shown with no answer scripted: "
                  << request.text.toStdString();
    return request.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
  }
  const MessageAnswer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::optional<QString> ScriptedFileDialog::Ask(const FileDialogSettings& settings,
                                               QWidget* owner) {
  asked_.push_back(settings);
  owners_.push_back(owner);
  return TakeNext(answers_, "file dialog");
}

std::optional<ColourValue> ScriptedColourChooser::Choose(ColourValue current, QWidget*) {
  asked_.push_back(current);
  return TakeNext(answers_, "colour chooser");
}
