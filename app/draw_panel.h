#pragma once
// The canvas widget: an 800 × 600 panel with a one-pixel sunken edge around a 798 × 598
// drawing area. It paints the image its owner gives it and reports the mouse in drawing-
// area coordinates; everything about what is drawn belongs to the owner.

#include <QWidget>
#include <cstdint>
#include <functional>

class QImage;

class DrawPanel final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kDrawingWidth = 798;
  static constexpr int kDrawingHeight = 598;

  explicit DrawPanel(QWidget* parent = nullptr);

  // The image shown in the drawing area from its top-left corner; the owner keeps it and
  // asks for a repaint (RepaintDrawingArea) when it changes. Nothing given: white.
  void SetDisplayedImage(const QImage* image);
  // Repaints a part of the drawing area given in drawing-area coordinates, or all of it.
  void RepaintDrawingArea(const QRect& area = QRect(0, 0, kDrawingWidth, kDrawingHeight));

  // Called at the start of every paint, before the image is drawn, so the owner can bring
  // the image up to date (a repaint it was asked for happens there, after the handler that
  // asked has returned).
  void SetPaintPreparation(std::function<void()> prepare) { prepare_ = std::move(prepare); }

  // The drawing area in the panel's own coordinates.
  static QRect DrawingArea() { return QRect(1, 1, kDrawingWidth, kDrawingHeight); }

 signals:
  // x and y count from the drawing area's top-left pixel; keyState adds 1 for Ctrl,
  // 2 for Shift and 4 for Alt. Only points inside the drawing area are reported.
  void LeftButtonPressed(std::uint16_t x, std::uint16_t y, int keyState);
  void MouseMoved(std::uint16_t x, std::uint16_t y, int keyState);
  void LeftButtonReleased(std::uint16_t x, std::uint16_t y, int keyState);
  // A left release outside the drawing area after a press on the panel: the pointer was
  // dragged off the canvas, or even off the window, before the button came up.
  void LeftButtonReleasedElsewhere();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // Reports the event through signal when it lies inside the drawing area.
  void Report(const QMouseEvent& event,
              void (DrawPanel::*signal)(std::uint16_t, std::uint16_t, int));

  const QImage* displayedImage_ = nullptr;
  std::function<void()> prepare_;
};

// The canvas key state of a set of keyboard modifiers: 1 Ctrl, 2 Shift, 4 Alt.
int CanvasKeyState(Qt::KeyboardModifiers modifiers);
