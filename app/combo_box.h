#pragma once
// The drop-down list whose items carry an integer value. The user can only pick an item;
// the list opens under the control, its rows one pixel taller than the style's own.

#include <QComboBox>

class ComboBox final : public QComboBox {
  Q_OBJECT

 public:
  explicit ComboBox(QWidget* parent = nullptr);

  void AddItem(const QString& text, int value);

  int SelectedIndex() const { return currentIndex(); }
  // Outside 0 .. count - 1 the text is empty and the value -1.
  QString ItemText(int index) const;
  int ItemValue(int index) const;

  // Opened, the control and its list together reach about 160 pixels.
  void showPopup() override;
};
