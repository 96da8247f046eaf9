#pragma once
// A main window with scripted dialogs and recording handlers, for the window's tests.

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/picture_button.h"
#include "tests/support/recording_handlers.h"
#include "tests/support/qt_printers.h"
#include "tests/support/scripted_dialogs.h"

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() { window.SetHandlers(&handlers); }

  // Shows the window and makes it the active one, so keys reach the focused control.
  void ShowActive() {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  QWidget* Control(const QString& name) const {
    return window.findChild<QWidget*>(name);
  }

  ScriptedFileDialog fileDialogs;
  ScriptedColourChooser colourChooser;
  RecordingHandlers handlers;
  MainWindow window{fileDialogs, colourChooser};
};
