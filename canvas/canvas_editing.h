#pragma once

#include <cstdint>
#include <string>

#include "canvas/colour_value.h"

class CanvasSurface;

// What the canvas's mouse handlers read of the window, afresh at every event.
class EditingControls {
 public:
  virtual ~EditingControls() = default;
  virtual bool PictureLoaded() const = 0;   // the source picture path is not empty
  virtual bool EditingEnabled() const = 0;  // "激活编辑" is ticked
  virtual bool PenMode() const = 0;         // "画笔" is selected
  virtual bool TextMode() const = 0;        // "输入文字" is selected
  virtual ColourValue PenColour() const = 0;
  virtual std::string TextToStamp() const = 0;  // line breaks as CR LF
  virtual CanvasSurface& Canvas() = 0;
};

// Key state passed with every mouse event: 1 Ctrl, 2 Shift, 4 Alt, added. The handlers
// take it and ignore it.
using KeyState = int;

inline constexpr int kPenPointWidth = 15;

// Painting and stamping text on the canvas. The three handlers receive the events of the
// canvas's drawing area; x and y are pixels from its top-left corner.
//
// Pen mode draws a point at every move while the left button is held; text mode stamps
// the text box's text where the left button is pressed.
class CanvasEditor {
 public:
  explicit CanvasEditor(EditingControls& controls) : controls_(controls) {}

  void CanvasMouseDown(std::uint16_t x, std::uint16_t y, KeyState keys);
  void CanvasMouseMove(std::uint16_t x, std::uint16_t y, KeyState keys);
  void CanvasMouseUp(std::uint16_t x, std::uint16_t y, KeyState keys);
  // A left release anywhere outside the canvas also ends a stroke: otherwise the pen
  // would go on drawing with no button held once the pointer came back.
  void LeftReleasedElsewhere() { MousePressed = 0; }

  // 1 from a left press on the canvas with a picture loaded until the next left release.
  std::int32_t MousePressed = 0;

 private:
  EditingControls& controls_;
};
