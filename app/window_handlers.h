#pragma once
// The program's handlers of the main window's events. The window calls them; start-up
// gives the window the program's set (ProgramHandlers), tests give a recording one.

#include <cstdint>

class WindowHandlers {
 public:
  virtual ~WindowHandlers() = default;

  // A click of 按钮_打开, or Enter.
  virtual void OpenPicture() = 0;
  // A click of 按钮_制作.
  virtual void RunConversion() = 0;

  // Left press, mouse move and left release on 画板1, at a point of its drawing area;
  // keyState adds 1 for Ctrl, 2 for Shift and 4 for Alt.
  virtual void CanvasMouseDown(std::uint16_t x, std::uint16_t y, int keyState) = 0;
  virtual void CanvasMouseMove(std::uint16_t x, std::uint16_t y, int keyState) = 0;
  virtual void CanvasMouseUp(std::uint16_t x, std::uint16_t y, int keyState) = 0;
  // A left release outside 画板1's drawing area after a press on it.
  virtual void CanvasReleasedElsewhere() = 0;
};
