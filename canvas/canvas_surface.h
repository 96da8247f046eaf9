#pragma once

#include <QFont>
#include <QImage>

#include <functional>
#include <optional>
#include <string>

#include "canvas/colour_value.h"
#include "canvas/picture.h"
#include "canvas/read_file_bytes.h"

// The drawing area of the canvas: its 800 × 600 face less a one-pixel edge on every side.
inline constexpr int kDrawingAreaWidth = 798;
inline constexpr int kDrawingAreaHeight = 598;

// The canvas as a surface, without any widget.
//
// It keeps two things apart. The retained content is all the canvas remembers: its white
// background and the bytes of its background picture (decoded once, at the first repaint,
// and kept). The displayed image is what the canvas shows: the retained content plus
// whatever has been drawn on it since. Drawing changes only the displayed image; a repaint
// restores the retained content and so erases every drawing. Setting a picture asks for a
// repaint of the whole canvas, which happens at the next paint (RepaintIfRequested), after
// the handler that set it has returned.
//
// Coordinates are pixels from the top-left corner of the drawing area.
class CanvasSurface {
 public:
  CanvasSurface();

  // Gives the canvas a new background picture (no bytes: none) and asks for a repaint of
  // the whole canvas.
  void SetCanvasPicture(Bytes bytes);

  // Carries out a repaint that SetCanvasPicture asked for, if any: decodes the stored
  // picture the first time (dropping bytes that hold no picture to show) and paints the
  // drawing area from the retained content. Called when the canvas is painted.
  void RepaintIfRequested();
  bool RepaintRequested() const { return repaintRequested_; }

  // The colour the canvas shows at (x, y) as 0x00BBGGRR; kNoColour outside the drawing area.
  ColourValue GetCanvasPixel(int x, int y) const;

  // Editing. The pen width is the diameter of the round mark DrawCanvasPoint leaves.
  void SetPenWidth(int width) { penWidth_ = width; }
  void DrawCanvasPoint(int x, int y, ColourValue colour);
  void SetCanvasWritePosition(int x, int y);
  // Writes `text` (lines broken by CR, LF or CR LF) in black in the application's default
  // font with nothing painted behind the glyphs, each line starting at the write position's
  // x; the write position ends after the last character written.
  void WriteCanvasText(const std::string& text);
  // The font stamped text is written in: the program's user-interface font. Until one is
  // given, the application's default font.
  void SetTextFont(const QFont& font) { textFont_ = font; }
  int WritePositionX() const { return writeX_; }
  int WritePositionY() const { return writeY_; }

  // What the canvas shows, kDrawingAreaWidth × kDrawingAreaHeight, QImage::Format_RGB32.
  const QImage& DisplayedImage() const { return displayed_; }

  // Called whenever the displayed image changed or a repaint was asked for, so that the
  // widget showing the surface can schedule a paint.
  void SetChangeListener(std::function<void()> listener) { changed_ = std::move(listener); }

 private:
  void PaintRetainedContent();
  void NotifyChanged();

  QImage displayed_;
  Bytes pictureBytes_;
  std::optional<Picture> decoded_;
  bool repaintRequested_ = false;
  int penWidth_ = 0;
  int writeX_ = 0;
  int writeY_ = 0;
  std::function<void()> changed_;
  std::optional<QFont> textFont_;
};
