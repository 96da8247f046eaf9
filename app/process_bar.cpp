#include "app/process_bar.h"

#include <QPainter>
#include <algorithm>

namespace {

int ClampWritten(int value) { return std::clamp(value, 0, ProcessBar::kLargestValue); }

}  // namespace

ProcessBar::ProcessBar(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ProcessBar::SetMaximum(int maximum) {
  maximum_ = ClampWritten(maximum);
  update();
}

void ProcessBar::SetPosition(int position) {
  position_ = ClampWritten(position);
  update();
}

int ProcessBar::RangeLow() const { return std::min(minimum_, maximum_); }
int ProcessBar::RangeHigh() const { return std::max(minimum_, maximum_); }

int ProcessBar::ShownPosition() const {
  return std::clamp(position_, RangeLow(), RangeHigh());
}

void ProcessBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect inner = rect().adjusted(1, 1, -1, -1);
  painter.fillRect(rect(), palette().color(QPalette::Button));
  painter.setPen(palette().color(QPalette::Dark));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  if (inner.isEmpty() || RangeHigh() == RangeLow()) return;

  const qint64 done = ShownPosition() - RangeLow();
  const int filledWidth = static_cast<int>(done * inner.width() / (RangeHigh() - RangeLow()));
  // Segments two thirds as wide as the bar is high, two pixels apart.
  const int segmentWidth = std::max(2, inner.height() * 2 / 3);
  constexpr int kGap = 2;
  const QColor segmentColour = palette().color(QPalette::Highlight);
  painter.setClipRect(inner.adjusted(1, 1, -1, -1));
  for (int x = inner.left() + 1; x < inner.left() + filledWidth; x += segmentWidth + kGap)
    painter.fillRect(QRect(x, inner.top() + 1, segmentWidth, inner.height() - 2), segmentColour);
}
