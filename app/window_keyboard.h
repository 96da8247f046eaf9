#pragma once
// The main window's look at every key before the focused control does: Enter clicks the
// default button (the text box keeps its own Enter), Esc closes the window, Tab and
// Shift+Tab follow the window's own order, arrow keys move between the radio buttons and
// F1 does nothing. Keys count only without Ctrl, Shift or Alt, except Shift+Tab.

#include <QObject>
#include <vector>

class QAbstractButton;
class QKeyEvent;
class QWidget;

struct KeyboardControls {
  QWidget* window = nullptr;
  QAbstractButton* defaultButton = nullptr;
  QWidget* textBox = nullptr;                      // takes Enter as a line break
  std::vector<QWidget*> tabOrder;                  // Tab moves forward through these
  std::vector<QAbstractButton*> radioGroup;        // arrow keys move among these
};

class WindowKeyboard final : public QObject {
  Q_OBJECT

 public:
  // Watches every key sent to the window or a control in it.
  explicit WindowKeyboard(KeyboardControls controls, QObject* parent = nullptr);

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // True when the window handled the key and the control must not see it.
  bool HandleKey(QWidget* focus, const QKeyEvent& key);
  bool PressDefaultButton(QWidget* focus);
  void MoveFocus(QWidget* focus, bool forward);
  bool MoveRadioSelection(QWidget* focus, bool forward);

  KeyboardControls controls_;
};
