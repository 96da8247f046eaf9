#pragma once
// A push button that shows only its picture, centred, inside its own edge: a picture as
// large as the button keeps the button's frame visible and clickable-looking.

#include <QPushButton>

class PictureButton final : public QPushButton {
  Q_OBJECT

 public:
  PictureButton(const QIcon& picture, QSize pictureSize, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};
