#include "canvas/canvas_editing.h"

#include "canvas/canvas_surface.h"

void CanvasEditor::CanvasMouseDown(std::uint16_t x, std::uint16_t y, KeyState) {
  if (!controls_.PictureLoaded()) return;
  if (controls_.EditingEnabled() && controls_.TextMode()) {
    CanvasSurface& canvas = controls_.Canvas();
    canvas.SetCanvasWritePosition(x, y);
    canvas.WriteCanvasText(controls_.TextToStamp());
  }
  MousePressed = 1;
}

void CanvasEditor::CanvasMouseMove(std::uint16_t x, std::uint16_t y, KeyState) {
  if (!controls_.PictureLoaded() || !controls_.EditingEnabled() || MousePressed != 1 ||
      !controls_.PenMode()) {
    return;
  }
  CanvasSurface& canvas = controls_.Canvas();
  canvas.SetPenWidth(kPenPointWidth);
  canvas.DrawCanvasPoint(x, y, controls_.PenColour());
}

void CanvasEditor::CanvasMouseUp(std::uint16_t, std::uint16_t, KeyState) { MousePressed = 0; }
