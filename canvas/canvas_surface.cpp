#include "canvas/canvas_surface.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cstring>

#include "canvas/picture_decoder.h"

namespace {

constexpr QRgb kBackground = 0xFFFFFFFFu;  // white

bool InsideDrawingArea(int x, int y) {
  return x >= 0 && x < kDrawingAreaWidth && y >= 0 && y < kDrawingAreaHeight;
}

// Stamped text is drawn without anti-aliasing: every pixel is either the text colour or
// what was there before, so a stamp turns into clean cells in the workbook.
QFont WithoutAntialiasing(QFont font) {
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

}  // namespace

CanvasSurface::CanvasSurface()
    : displayed_(kDrawingAreaWidth, kDrawingAreaHeight, QImage::Format_RGB32) {
  displayed_.fill(kBackground);
}

void CanvasSurface::SetCanvasPicture(Bytes bytes) {
  pictureBytes_ = std::move(bytes);
  decoded_.reset();
  repaintRequested_ = true;
  NotifyChanged();
}

void CanvasSurface::RepaintIfRequested() {
  if (!repaintRequested_) return;
  repaintRequested_ = false;
  if (!pictureBytes_.empty() && !decoded_) {
    decoded_ = DecodePicture(pictureBytes_);
    // Bytes that give nothing to show are dropped: from now on there is no picture.
    if (!decoded_ || !decoded_->HasPixels()) {
      decoded_.reset();
      pictureBytes_.clear();
    }
  }
  PaintRetainedContent();
}

void CanvasSurface::PaintRetainedContent() {
  displayed_.fill(kBackground);
  if (!decoded_) return;
  // The picture sits at the top-left corner at its own size; what lies past the drawing
  // area is cut off.
  const int width = std::min(decoded_->width, kDrawingAreaWidth);
  const int height = std::min(decoded_->height, kDrawingAreaHeight);
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* source = decoded_->pixels.data() + std::size_t(y) * decoded_->width;
    std::memcpy(displayed_.scanLine(y), source, std::size_t(width) * sizeof(std::uint32_t));
  }
}

ColourValue CanvasSurface::GetCanvasPixel(int x, int y) const {
  if (!InsideDrawingArea(x, y)) return kNoColour;
  const QRgb shown = reinterpret_cast<const QRgb*>(displayed_.constScanLine(y))[x];
  return MakeColourValue(qRed(shown), qGreen(shown), qBlue(shown));
}

void CanvasSurface::DrawCanvasPoint(int x, int y, ColourValue colour) {
  const QRgb ink = qRgb(RedOf(colour), GreenOf(colour), BlueOf(colour));
  // A round mark as wide as the pen, centred on the point; a pen of width 0 or 1 marks
  // the one pixel. Pixels are tested against the circle's radius so the shape is exact.
  const int reach = std::max(penWidth_, 1) / 2;
  const double radius = std::max(penWidth_, 1) / 2.0;
  for (int dy = -reach; dy <= reach; ++dy) {
    for (int dx = -reach; dx <= reach; ++dx) {
      if (dx * dx + dy * dy > radius * radius) continue;
      const int px = x + dx;
      const int py = y + dy;
      if (InsideDrawingArea(px, py)) {
        reinterpret_cast<QRgb*>(displayed_.scanLine(py))[px] = ink;
      }
    }
  }
  NotifyChanged();
}

void CanvasSurface::SetCanvasWritePosition(int x, int y) {
  writeX_ = x;
  writeY_ = y;
}

void CanvasSurface::WriteCanvasText(const std::string& text) {
  if (text.empty()) return;
  QPainter painter(&displayed_);
  const QFont font = WithoutAntialiasing(textFont_.value_or(QGuiApplication::font()));
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.setBackgroundMode(Qt::TransparentMode);
  // Measured on the image drawn into, so sizes and glyphs agree whatever the screen.
  const QFontMetrics metrics(font, &displayed_);

  int x = writeX_;
  int y = writeY_;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find_first_of("\r\n", start);
    const std::size_t lineEnd = end == std::string::npos ? text.size() : end;
    const QString line = QString::fromUtf8(text.data() + start, qsizetype(lineEnd - start));
    // Every line is one character cell high, whatever it holds; an empty line takes the
    // height of "W", which is the same cell height.
    const int height = metrics.height();
    int width = 0;
    if (!line.isEmpty()) {
      width = metrics.horizontalAdvance(line);
      painter.drawText(x, y + metrics.ascent(), line);
    }
    if (end == std::string::npos) {
      x += width;
      break;
    }
    y += height + 2;
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    if (start == text.size()) break;
  }
  writeX_ = x;
  writeY_ = y;
  NotifyChanged();
}

void CanvasSurface::NotifyChanged() {
  if (changed_) changed_();
}
