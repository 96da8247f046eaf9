#include "app/draw_panel.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <qdrawutil.h>

int CanvasKeyState(Qt::KeyboardModifiers modifiers) {
  int state = 0;
  if (modifiers & Qt::ControlModifier) state |= 1;
  if (modifiers & Qt::ShiftModifier) state |= 2;
  if (modifiers & Qt::AltModifier) state |= 4;
  return state;
}

DrawPanel::DrawPanel(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::NoFocus);
  // Moves are reported with no button held too.
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void DrawPanel::SetDisplayedImage(const QImage* image) {
  displayedImage_ = image;
  RepaintDrawingArea();
}

void DrawPanel::RepaintDrawingArea(const QRect& area) {
  update(area.translated(DrawingArea().topLeft()).intersected(DrawingArea()));
}

void DrawPanel::paintEvent(QPaintEvent* event) {
  if (prepare_) prepare_();
  QPainter painter(this);
  const QRect drawingArea = DrawingArea();
  const QRect dirty = event->rect().intersected(drawingArea);
  painter.fillRect(dirty, Qt::white);
  if (displayedImage_ && !displayedImage_->isNull()) {
    const QRect source = dirty.translated(-drawingArea.topLeft());
    painter.drawImage(dirty.topLeft(), *displayedImage_, source);
  }
  // The thin sunken edge: shadow at the top and left, light at the bottom and right.
  qDrawShadePanel(&painter, rect(), palette(), /*sunken=*/true, 1, nullptr);
}

namespace {

// The pixel under the pointer: the one whose square holds the position, so a position a
// fraction of a pixel inside the edge counts as the edge.
QPoint PixelAt(const QMouseEvent& event) {
  const QPointF position = event.position();
  return QPoint(static_cast<int>(std::floor(position.x())),
                static_cast<int>(std::floor(position.y())));
}

}  // namespace

void DrawPanel::Report(const QMouseEvent& event,
                       void (DrawPanel::*signal)(std::uint16_t, std::uint16_t, int)) {
  const QPoint point = PixelAt(event);
  if (!DrawingArea().contains(point)) return;
  const QPoint inArea = point - DrawingArea().topLeft();
  emit(this->*signal)(static_cast<std::uint16_t>(inArea.x()),
                      static_cast<std::uint16_t>(inArea.y()), CanvasKeyState(event.modifiers()));
}

void DrawPanel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Report(*event, &DrawPanel::LeftButtonPressed);
}

void DrawPanel::mouseMoveEvent(QMouseEvent* event) { Report(*event, &DrawPanel::MouseMoved); }

// Qt gives the panel every release of a press made on it, wherever the pointer is by then.
void DrawPanel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  // Decided on the same pixel Report uses: rounding here instead would let a release a
  // fraction of a pixel inside the edge count as neither over the canvas nor away from it,
  // and the stroke would go on.
  if (DrawingArea().contains(PixelAt(*event))) {
    Report(*event, &DrawPanel::LeftButtonReleased);
  } else {
    emit LeftButtonReleasedElsewhere();
  }
}
