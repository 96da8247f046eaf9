#pragma once
// Dialogs and message boxes that answer without keeping any record, for measuring the heap
// over many runs: whatever it holds afterwards is the program's own.

#include <QString>
#include <optional>

#include "app/colour_chooser.h"
#include "app/file_dialog_service.h"
#include "app/message_box.h"
#include "app/main_window.h"
#include "app/program_handlers.h"
#include "render/conversion_run.h"
#include "render/engine/spreadsheet_server.h"

// Confirms every dialog with `answer`.
class AnsweringFileDialog final : public FileDialogService {
 public:
  std::optional<QString> Ask(const FileDialogSettings&, QWidget*) override { return answer; }
  QString answer;
};

// Answers OK, counting the completion messages ("转换完成") and every other message.
class CountingMessageBox final : public MessageBoxService {
 public:
  MessageAnswer Show(const MessageRequest& request) override {
    ++(request.title == QString::fromUtf8(kSavedTitle) ? saved : others);
    return MessageAnswer::Ok;
  }
  int saved = 0;
  int others = 0;
};

// Cancels every colour choice.
class NoColourChooser final : public ColourChooser {
 public:
  std::optional<ColourValue> Choose(ColourValue, QWidget*) override { return std::nullopt; }
};

// The real window with the program's handlers, shown, its dialogs answered by the quiet
// stand-ins above; the embedded spreadsheet engine registered as start-up does.
struct QuietProgramWindow {
  QuietProgramWindow() {
    InitialiseAutomation();
    window.SetHandlers(&handlers);
    window.show();
  }
  ~QuietProgramWindow() { window.SetHandlers(nullptr); }
  QuietProgramWindow(const QuietProgramWindow&) = delete;
  QuietProgramWindow& operator=(const QuietProgramWindow&) = delete;

  AnsweringFileDialog dialogs;
  NoColourChooser colours;
  CountingMessageBox messages;
  MainWindow window{dialogs, colours};
  ProgramHandlers handlers{window, messages};
};
