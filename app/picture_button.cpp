#include "app/picture_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

PictureButton::PictureButton(const QIcon& picture, QSize pictureSize, QWidget* parent)
    : QPushButton(parent) {
  setIcon(picture);
  setIconSize(pictureSize);
  setAutoDefault(false);
}

void PictureButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  painter.drawControl(QStyle::CE_PushButtonBevel, option);

  // The face inside the edge; a pressed button's face moves as the style says.
  const int edge = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this) + 1;
  const QRect face = rect().adjusted(edge, edge, -edge, -edge);
  QPoint shift;
  if (isDown() || isChecked())
    shift = QPoint(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                   style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));

  const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
  const QPixmap picture = icon().pixmap(iconSize(), devicePixelRatio(), mode);
  const QSize shown = picture.deviceIndependentSize().toSize();
  painter.setClipRect(face);
  const QPoint centred((width() - shown.width()) / 2, (height() - shown.height()) / 2);
  painter.drawPixmap(centred + shift, picture);
  painter.setClipping(false);

  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = face.adjusted(1, 1, -1, -1);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
  }
}
