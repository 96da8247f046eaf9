#pragma once
// The program's handlers of the window's events, given to the window at start-up.

#include "app/window_handlers.h"

class MainWindow;
class MessageBoxService;

class ProgramHandlers final : public WindowHandlers {
 public:
  ProgramHandlers(MainWindow& window, MessageBoxService& messages);

  void OpenPicture() override;
  void RunConversion() override;
  void CanvasMouseDown(std::uint16_t x, std::uint16_t y, int keyState) override;
  void CanvasMouseMove(std::uint16_t x, std::uint16_t y, int keyState) override;
  void CanvasMouseUp(std::uint16_t x, std::uint16_t y, int keyState) override;

 private:
  // What the handlers work on; the handlers to come use them.
  [[maybe_unused]] MainWindow& window_;
  [[maybe_unused]] MessageBoxService& messages_;
};
