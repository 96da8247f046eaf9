#pragma once
// Scripted stand-ins for the message box, the file dialogs and the colour chooser: each
// answers from a list given in advance and records what it was asked. A dialog shown
// with no answer left fails the running test and is answered as cancelled (or No).

#include <QString>
#include <deque>
#include <optional>
#include <vector>

#include "app/colour_chooser.h"
#include "app/file_dialog_service.h"
#include "app/message_box.h"

class ScriptedMessageBox final : public MessageBoxService {
 public:
  // The answer to the next box not yet answered.
  void Answer(MessageAnswer answer) { answers_.push_back(answer); }

  MessageAnswer Show(const MessageRequest& request) override;

  const std::vector<MessageRequest>& Asked() const { return asked_; }
  bool AllAnswersUsed() const { return answers_.empty(); }

 private:
  std::deque<MessageAnswer> answers_;
  std::vector<MessageRequest> asked_;
};

class ScriptedFileDialog final : public FileDialogService {
 public:
  // The next dialog confirms this path, as the user would have chosen or typed it.
  void ConfirmWith(const QString& path) { answers_.emplace_back(path); }
  void Cancel() { answers_.emplace_back(std::nullopt); }

  std::optional<QString> Ask(const FileDialogSettings& settings, QWidget* owner) override;

  const std::vector<FileDialogSettings>& Asked() const { return asked_; }
  const std::vector<QWidget*>& Owners() const { return owners_; }
  bool AllAnswersUsed() const { return answers_.empty(); }

 private:
  std::deque<std::optional<QString>> answers_;
  std::vector<FileDialogSettings> asked_;
  std::vector<QWidget*> owners_;
};

class ScriptedColourChooser final : public ColourChooser {
 public:
  void ConfirmWith(ColourValue colour) { answers_.emplace_back(colour); }
  void Cancel() { answers_.emplace_back(std::nullopt); }

  std::optional<ColourValue> Choose(ColourValue current, QWidget* owner) override;

  // The colour each chooser started from.
  const std::vector<ColourValue>& Asked() const { return asked_; }
  bool AllAnswersUsed() const { return answers_.empty(); }

 private:
  std::deque<std::optional<ColourValue>> answers_;
  std::vector<ColourValue> asked_;
};
