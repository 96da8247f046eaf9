#pragma once
// The real main window with the program's own handlers, its file dialogs and message boxes
// answered by script: the whole program as a person drives it, under the offscreen platform.

#include <QTest>
#include <gtest/gtest.h>

#include <string>

#include "app/main_window.h"
#include "app/picture_button.h"
#include "app/program_handlers.h"
#include "render/engine/spreadsheet_server.h"
#include "tests/support/qt_printers.h"
#include "tests/support/scripted_dialogs.h"

class ProgramWindow {
 public:
  ProgramWindow() {
    InitialiseAutomation();  // as start-up does: the embedded spreadsheet engine
    window.SetHandlers(&handlers);
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  ~ProgramWindow() { window.SetHandlers(nullptr); }
  ProgramWindow(const ProgramWindow&) = delete;
  ProgramWindow& operator=(const ProgramWindow&) = delete;

  // Chooses `path` in the picture dialog through the open button, then lets the canvas
  // paint what it was given, as the event loop does after the click.
  void Open(const std::string& path) {
    fileDialogs.ConfirmWith(QString::fromStdString(path));
    QTest::mouseClick(window.按钮_打开, Qt::LeftButton);
    EXPECT_TRUE(fileDialogs.AllAnswersUsed());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !handlers.Canvas().RepaintRequested(); }))
        << "the canvas never painted";
  }

  // Clicks the make button, saves as `path` and answers the closing message with OK.
  // The message that closed the run.
  MessageRequest Convert(const std::string& path) {
    fileDialogs.ConfirmWith(QString::fromStdString(path));
    messages.Answer(MessageAnswer::Ok);
    const std::size_t asked = messages.Asked().size();
    QTest::mouseClick(window.按钮_制作, Qt::LeftButton);
    EXPECT_TRUE(fileDialogs.AllAnswersUsed());
    EXPECT_TRUE(messages.AllAnswersUsed());
    if (messages.Asked().size() != asked + 1) {
      ADD_FAILURE() << "the run ended without its one closing message";
      return {};
    }
    return messages.Asked().back();
  }

  ScriptedFileDialog fileDialogs;
  ScriptedColourChooser colourChooser;
  ScriptedMessageBox messages;
  MainWindow window{fileDialogs, colourChooser};
  ProgramHandlers handlers{window, messages};
};

// The message a run closes with when the workbook was saved, or was not.
inline MessageRequest SavedMessage(const std::string& path) {
  return {QString::fromStdString("保存转换文件到：\r\n" + path), QStringLiteral("转换完成"),
          MessageButtons::Ok, MessageIcon::Information};
}
inline MessageRequest NotSavedMessage(const std::string& path) {
  return {QString::fromStdString("文件没有保存，无法写入：\r\n" + path), QStringLiteral("转换失败"),
          MessageButtons::Ok, MessageIcon::Error};
}
