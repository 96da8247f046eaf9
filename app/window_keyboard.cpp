#include "app/window_keyboard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <utility>

namespace {

constexpr Qt::KeyboardModifiers kCountedModifiers =
    Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier;

// Position of focus (or the control holding it) in controls, or -1.
template <typename Control>
int IndexOf(const std::vector<Control*>& controls, const QWidget* focus) {
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const QWidget* control = controls[i];
    if (control == focus || control->isAncestorOf(focus)) return static_cast<int>(i);
  }
  return -1;
}

// The next control from index that can take the focus, wrapping around; -1 if none.
template <typename Control>
int NextUsable(const std::vector<Control*>& controls, int index, bool forward,
               const QWidget* window) {
  const int count = static_cast<int>(controls.size());
  if (count == 0) return -1;
  if (index < 0) index = forward ? -1 : count;
  for (int step = 1; step <= count; ++step) {
    const int candidate = ((index + (forward ? step : -step)) % count + count) % count;
    const QWidget* control = controls[candidate];
    if (control->isEnabled() && control->isVisibleTo(window)) return candidate;
  }
  return -1;
}

}  // namespace

WindowKeyboard::WindowKeyboard(KeyboardControls controls, QObject* parent)
    : QObject(parent), controls_(std::move(controls)) {}

bool WindowKeyboard::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
  auto* receiver = static_cast<QWidget*>(watched);
  // Dialogs, drop-downs and other windows keep their keys.
  if (receiver->window() != controls_.window) return false;
  return HandleKey(receiver, static_cast<const QKeyEvent&>(*event));
}

bool WindowKeyboard::HandleKey(QWidget* focus, const QKeyEvent& key) {
  const Qt::KeyboardModifiers modifiers = key.modifiers() & kCountedModifiers;
  const bool tab = key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab;
  if (tab && modifiers == Qt::ShiftModifier) {
    MoveFocus(focus, /*forward=*/false);
    return true;
  }
  if (modifiers != Qt::NoModifier) return false;

  switch (key.key()) {
    case Qt::Key_Tab:
      MoveFocus(focus, /*forward=*/true);
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return PressDefaultButton(focus);
    case Qt::Key_Escape:
      controls_.window->close();
      return true;
    case Qt::Key_F1:
      return true;
    case Qt::Key_Right:
    case Qt::Key_Down:
      return MoveRadioSelection(focus, /*forward=*/true);
    case Qt::Key_Left:
    case Qt::Key_Up:
      return MoveRadioSelection(focus, /*forward=*/false);
    default:
      return false;
  }
}

bool WindowKeyboard::PressDefaultButton(QWidget* focus) {
  QWidget* textBox = controls_.textBox;
  if (textBox && (focus == textBox || textBox->isAncestorOf(focus))) return false;
  // A disabled button ignores the click: Enter then does nothing.
  controls_.defaultButton->click();
  return true;
}

void WindowKeyboard::MoveFocus(QWidget* focus, bool forward) {
  const int next = NextUsable(controls_.tabOrder, IndexOf(controls_.tabOrder, focus), forward,
                              controls_.window);
  if (next >= 0)
    controls_.tabOrder[next]->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

bool WindowKeyboard::MoveRadioSelection(QWidget* focus, bool forward) {
  const int current = IndexOf(controls_.radioGroup, focus);
  if (current < 0) return false;
  const int next = NextUsable(controls_.radioGroup, current, forward, controls_.window);
  if (next >= 0) {
    QAbstractButton* radio = controls_.radioGroup[next];
    radio->setChecked(true);
    radio->setFocus(Qt::OtherFocusReason);
  }
  return true;
}
